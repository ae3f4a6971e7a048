# The action-file readers: the binary reader, and the text reader the converter uses. The library
# is instrumented for coverage too, so that the fuzzer sees inside it.
target_compile_options(zem_actions PRIVATE -fsanitize=fuzzer-no-link)
add_fuzz_target(action_file SOURCES ${CMAKE_SOURCE_DIR}/tests/fuzz/ActionFileFuzz.cpp LIBRARIES zem_actions)
add_fuzz_target(action_text SOURCES ${CMAKE_SOURCE_DIR}/tests/fuzz/ActionTextFuzz.cpp LIBRARIES zem_actions)
