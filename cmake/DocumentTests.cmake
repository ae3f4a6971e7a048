# Unit tests of the layered document: blend modes, adjustments, steps, and whole action sets saved
# by Photoshop played on a small image (read from ../shared/testdata/photoshop-written, skipped
# when that folder is absent).
add_executable(document_tests
  tests/document/AdjustmentsTest.cpp
  tests/document/BlendModesTest.cpp
  tests/document/DocumentTest.cpp
  tests/document/PhotoshopSetsTest.cpp
  tests/document/StepsTest.cpp
  tests/document/StepBuilder.cpp
)
target_include_directories(document_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests)
target_link_libraries(document_tests PRIVATE reference_host GTest::gtest_main)
target_compile_definitions(document_tests PRIVATE ZEM_TESTDATA_DIR="${CMAKE_SOURCE_DIR}/../shared/testdata"
  ZEM_FUZZ_SEEDS="${CMAKE_SOURCE_DIR}/tests/fuzz/corpus")
gtest_discover_tests(document_tests DISCOVERY_TIMEOUT 60)
