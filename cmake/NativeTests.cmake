# Unit tests, built natively with the sanitizers, in two programs: the plug-in's core against the
# host model (with the dialogs replaced by test doubles), which links no image library; and the
# previewed document and the image files the reference host reads and writes.
find_package(GTest REQUIRED)
include(GoogleTest)

add_library(test_support STATIC tests/support/FakeDialogs.cpp)
target_include_directories(test_support PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(test_support PUBLIC zem_core hostsim)

add_executable(plugin_tests
  tests/plugin/ActionSetLoadTest.cpp
  tests/plugin/CallBudgetTest.cpp
  tests/plugin/DialogArithmeticTest.cpp
  tests/plugin/FaultSweepTest.cpp
  tests/plugin/HostModelLoadingTest.cpp
  tests/plugin/HostSimTest.cpp
  tests/plugin/HostSuitesTest.cpp
  tests/plugin/HostWindowTest.cpp
  tests/plugin/ModeParameterTest.cpp
  tests/plugin/OneHistoryStateTest.cpp
  tests/plugin/PlatformTest.cpp
  tests/plugin/PluginMainTest.cpp
  tests/plugin/VariationRunTest.cpp
)
target_link_libraries(plugin_tests PRIVATE test_support call_budget GTest::gtest_main)
gtest_discover_tests(plugin_tests DISCOVERY_TIMEOUT 60
  PROPERTIES SKIP_REGULAR_EXPRESSION "${ZEM_GTEST_SKIPPED}")

add_executable(document_tests
  tests/document/AdjustmentEventsTest.cpp
  tests/document/AdjustmentsTest.cpp
  tests/document/BlendModesTest.cpp
  tests/document/DocumentModelTest.cpp
  tests/document/DocumentTest.cpp
  tests/document/PhotoshopSetsTest.cpp
  tests/document/PixelWorkTest.cpp
  tests/document/PlayableActionsTest.cpp
  tests/document/StepBuilder.cpp
  tests/document/StepsTest.cpp
  tests/document/ToneCurvesTest.cpp
  tests/imaging/ImageKindsTest.cpp
  tests/imaging/ImageLoaderTest.cpp
)
target_link_libraries(document_tests PRIVATE test_support reference_host GTest::gtest_main)
# The action sets Photoshop saved, read from ../shared/testdata (their tests skip when it is absent),
# and the fuzz seeds that must play.
target_compile_definitions(document_tests PRIVATE ZEM_TESTDATA_DIR="${CMAKE_SOURCE_DIR}/../shared/testdata"
  ZEM_FUZZ_SEEDS="${CMAKE_SOURCE_DIR}/tests/fuzz/corpus")
gtest_discover_tests(document_tests DISCOVERY_TIMEOUT 60
  PROPERTIES SKIP_REGULAR_EXPRESSION "${ZEM_GTEST_SKIPPED}")

# The folders' includes run one way, with no loop between them.
add_test(NAME includes.run-one-way COMMAND bash ${CMAKE_SOURCE_DIR}/tests/static/check-includes.sh ${CMAKE_SOURCE_DIR})
