# Fuzz targets for the parsers of untrusted input, built with clang's libFuzzer, AddressSanitizer
# and UBSan (preset "fuzz"). Each target has a seed corpus in tests/fuzz/corpus/NAME; the test
# suite runs each over its seeds and a fixed number of new inputs, tools/fuzz.sh for a set time.
if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  message(FATAL_ERROR "the fuzz targets need clang (preset \"fuzz\")")
endif()

set(ZEM_FUZZ_RUNS 2000 CACHE STRING "New inputs each fuzz target runs in the test suite")

# add_fuzz_target(NAME SOURCES file... [LIBRARIES lib...] [RUNS n])
# RUNS overrides ZEM_FUZZ_RUNS for a target whose inputs are much faster or slower than most.
function(add_fuzz_target name)
  cmake_parse_arguments(FUZZ "" "RUNS" "SOURCES;LIBRARIES" ${ARGN})
  if(NOT FUZZ_RUNS)
    set(FUZZ_RUNS ${ZEM_FUZZ_RUNS})
  endif()
  set(target fuzz_${name})
  add_executable(${target} ${FUZZ_SOURCES})
  target_include_directories(${target} PRIVATE ${CMAKE_SOURCE_DIR})
  target_compile_options(${target} PRIVATE -fsanitize=fuzzer)
  target_link_options(${target} PRIVATE -fsanitize=fuzzer)
  target_link_libraries(${target} PRIVATE ${FUZZ_LIBRARIES})
  set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)

  set(seeds ${CMAKE_SOURCE_DIR}/tests/fuzz/corpus/${name})
  if(NOT IS_DIRECTORY ${seeds})
    message(FATAL_ERROR "fuzz target ${name} has no seed corpus in ${seeds}")
  endif()
  # New inputs go to a scratch corpus in the build folder; the seeds in the repository stay as
  # they are. A fixed seed makes the short run the same every time.
  set(scratch ${CMAKE_BINARY_DIR}/fuzz-corpus/${name})
  file(MAKE_DIRECTORY ${scratch})
  add_test(NAME fuzz.${name}
    COMMAND ${target} -runs=${FUZZ_RUNS} -seed=1 -max_len=65536 -rss_limit_mb=2048 -timeout=20
            -artifact_prefix=${scratch}/
            ${scratch} ${seeds})
  set_tests_properties(fuzz.${name} PROPERTIES TIMEOUT 120)
endfunction()

file(GLOB fuzz_target_lists CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/fuzz/*.cmake)
foreach(list IN LISTS fuzz_target_lists)
  include(${list})
endforeach()
