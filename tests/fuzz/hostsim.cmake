# The image reader and the host model with the plug-in's "Do It", under libFuzzer. The libraries
# are built with coverage instrumentation so that the fuzzer sees inside them.
foreach(library hostsim imaging document zem_core)
  target_compile_options(${library} PRIVATE -fsanitize=fuzzer-no-link)
endforeach()

add_fuzz_target(image SOURCES tests/fuzz/ImageFuzz.cpp LIBRARIES imaging RUNS 30000)
add_fuzz_target(do_it SOURCES tests/fuzz/DoItFuzz.cpp tests/support/FakeDialogs.cpp LIBRARIES zem_core document)
# Action files played on the layered document, every unknown step skipped.
add_fuzz_target(action_play SOURCES tests/fuzz/ActionPlayFuzz.cpp LIBRARIES document zem_actions)
