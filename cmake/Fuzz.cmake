# Fuzz targets for the parsers of untrusted input, built with clang's libFuzzer, AddressSanitizer
# and UBSan (preset "fuzz"). Each target has a seed corpus in tests/fuzz/corpus/NAME and, built
# beside it in fuzz-seeds/NAME, seeds from real inputs: the action files Photoshop saved (from
# ../shared/testdata when it is on this machine) and their text forms, and every image kind the
# image tests make. The test suite runs each target over its seeds and a fixed number of new
# inputs, tools/fuzz.sh for a set time.
if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  message(FATAL_ERROR "the fuzz targets need clang (preset \"fuzz\")")
endif()

set(ZEM_FUZZ_RUNS 2000 CACHE STRING "New inputs each fuzz target runs in the test suite")
set(ZEM_TESTDATA_DIR ${CMAKE_SOURCE_DIR}/../shared/testdata)
set(ZEM_FUZZ_SEEDS ${CMAKE_BINARY_DIR}/fuzz-seeds)

# The generated seeds, written again whenever the converter, the image kinds or the shared files
# change.
add_executable(fuzz_image_seeds ${CMAKE_SOURCE_DIR}/tests/fuzz/ImageSeeds.cpp)
file(GLOB fuzz_shared_inputs CONFIGURE_DEPENDS ${ZEM_TESTDATA_DIR}/photoshop-written/*.atn
     ${ZEM_TESTDATA_DIR}/fuzz-findings/*.atn ${ZEM_TESTDATA_DIR}/fuzz-findings/*.txt)
add_custom_command(OUTPUT ${ZEM_FUZZ_SEEDS}/written
  COMMAND ${CMAKE_COMMAND} -DTESTDATA=${ZEM_TESTDATA_DIR} -DSEEDS=${ZEM_FUZZ_SEEDS} -DATN=$<TARGET_FILE:atn>
          -DIMAGE_SEEDS=$<TARGET_FILE:fuzz_image_seeds> -DOWN_SET=${ZEM_ACTION_SET_FILE}
          -P ${CMAKE_SOURCE_DIR}/cmake/FuzzSeeds.cmake
  DEPENDS atn fuzz_image_seeds ${ZEM_ACTION_SET_FILE} ${CMAKE_SOURCE_DIR}/cmake/FuzzSeeds.cmake
          ${fuzz_shared_inputs}
  COMMENT "Writing the fuzz targets' seeds from real inputs"
  VERBATIM)
add_custom_target(fuzz_seeds ALL DEPENDS ${ZEM_FUZZ_SEEDS}/written)

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
  file(MAKE_DIRECTORY ${ZEM_FUZZ_SEEDS}/${name})
  add_dependencies(${target} fuzz_seeds)
  # New inputs go to a scratch corpus in the build folder, emptied before each run; the seeds stay
  # as they are. A fixed seed makes the short run the same every time.
  add_test(NAME fuzz.${name}
    COMMAND ${CMAKE_COMMAND} -DPROGRAM=$<TARGET_FILE:${target}> -DSCRATCH=${CMAKE_BINARY_DIR}/fuzz-scratch/${name}
            -DARTIFACTS=${CMAKE_BINARY_DIR}/findings/short-${name}- -DRUNS=${FUZZ_RUNS}
            -DSEEDS=${seeds} -DGENERATED_SEEDS=${ZEM_FUZZ_SEEDS}/${name} -P ${CMAKE_SOURCE_DIR}/cmake/FuzzShortRun.cmake)
  set_tests_properties(fuzz.${name} PROPERTIES TIMEOUT 120)
endfunction()

file(GLOB fuzz_target_lists CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/fuzz/*.cmake)
foreach(list IN LISTS fuzz_target_lists)
  include(${list})
endforeach()
