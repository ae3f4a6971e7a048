# Unit tests of the platform-neutral core against the host model, with the dialogs replaced by
# test doubles.
find_package(GTest REQUIRED)
include(GoogleTest)

add_executable(unit_tests
  tests/native/ActionSetLoadTest.cpp
  tests/native/AdjustmentEventsTest.cpp
  tests/native/DialogArithmeticTest.cpp
  tests/native/FakeDialogs.cpp
  tests/native/FaultSweepTest.cpp
  tests/native/HostModelLoadingTest.cpp
  tests/native/HostSimTest.cpp
  tests/native/HostSuitesTest.cpp
  tests/native/HostWindowTest.cpp
  tests/native/ModeParameterTest.cpp
  tests/native/OneHistoryStateTest.cpp
  tests/native/PlatformTest.cpp
  tests/native/PluginMainTest.cpp
  tests/native/ToneCurvesTest.cpp
  tests/native/VariationRunTest.cpp
  tests/native/DocumentModelTest.cpp
  tests/native/CallBudgetTest.cpp
  tests/native/ImageLoaderTest.cpp
  tests/common/ImageKindsTest.cpp
  tests/native/PlayableActionsTest.cpp
  tests/native/PixelWorkTest.cpp
)
target_include_directories(unit_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests)
target_link_libraries(unit_tests PRIVATE zem_core call_budget reference_host GTest::gtest_main)
gtest_discover_tests(unit_tests DISCOVERY_TIMEOUT 60)
