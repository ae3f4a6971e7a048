# The reference host's parsers and the host model, under libFuzzer. The libraries are built with
# coverage instrumentation so that the fuzzer sees inside them.
target_compile_options(hostsim PRIVATE -fsanitize=fuzzer-no-link)
target_compile_options(zem_core PRIVATE -fsanitize=fuzzer-no-link)

add_fuzz_target(image SOURCES tests/fuzz/ImageFuzz.cpp LIBRARIES hostsim RUNS 30000)
add_fuzz_target(do_it SOURCES tests/fuzz/DoItFuzz.cpp tests/native/FakeDialogs.cpp LIBRARIES zem_core hostsim)
# Action files played on the layered document, every unknown step skipped.
add_fuzz_target(action_play SOURCES tests/fuzz/ActionPlayFuzz.cpp LIBRARIES hostsim zem_actions)
