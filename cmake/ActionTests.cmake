# Unit tests of the action-file library: the files Photoshop saved (read from
# ../shared/testdata/photoshop-written when that folder exists), the generated ZEM_Variations.atn
# against its source, the text form and every kind of malformed input.
add_executable(action_tests
  tests/actions/ActionFileTest.cpp
  tests/actions/ActionSetSourceTest.cpp
  tests/actions/ActionTextTest.cpp
  tests/actions/DecimalDoubleTest.cpp
  tests/actions/TestFiles.cpp
)
target_link_libraries(action_tests PRIVATE zem_actions GTest::gtest_main)
target_compile_definitions(action_tests PRIVATE
  ZEM_TESTDATA_DIR="${CMAKE_SOURCE_DIR}/../shared/testdata"
  ZEM_ACTION_SET_SOURCE="${ZEM_ACTION_SET_SOURCE}"
  ZEM_ACTION_SET_FILE="${ZEM_ACTION_SET_FILE}")
add_dependencies(action_tests zem_action_set)
gtest_discover_tests(action_tests DISCOVERY_TIMEOUT 60
  PROPERTIES SKIP_REGULAR_EXPRESSION "${ZEM_GTEST_SKIPPED}")
