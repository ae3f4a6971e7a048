# The dialogs on other desktops than the test display's one screen at 96 DPI. Each desktop has a
# prefix of its own, copied from the test prefix the first time its tests run, with its own runner,
# display and wineserver for the run, so that nothing of it reaches the other tests.

# A runner for a derived prefix, whose display state is `display_state`.
#   derived_prefix(NAME RUNNER_VAR DISPLAY_STATE [LOGPIXELS])
function(derived_prefix name runner_var display_state)
  set(prefix ${CMAKE_BINARY_DIR}/wineprefix-${name})
  set(runner ${CMAKE_BINARY_DIR}/wine-run-${name}.sh)
  wine_runner(${runner} ${prefix} ${display_state}
    ${CMAKE_SOURCE_DIR}/cmake/wine/derive-prefix.sh ${WINE_PREFIX} ${prefix} ${prefix}.ready ${runner} ${ARGN})
  set(${runner_var} ${runner} PARENT_SCOPE)
  set(${name}_prefix ${prefix} PARENT_SCOPE)
endfunction()

# 200 %: the screen at 192 DPI, on a display like the tests' one.
set(highdpi_display ${CMAKE_BINARY_DIR}/highdpi.display)
derived_prefix(highdpi dpi_runner ${highdpi_display} 192)
wine_fixtures(highdpi ${highdpi_display} ${highdpi_prefix} ${dpi_runner} -screen 0 1024x768x24)
add_wine_test(high_dpi_tests ${dpi_runner} highdpi tests/windows/HighDpiTest.cpp)
target_link_libraries(high_dpi_tests PRIVATE dialog_driver zem_core)

# Two monitors: two screens joined by Xinerama (RANDR off, so that Wine takes its monitors from
# Xinerama). Wine keeps the monitor list of its session's first display, so the server starts on it.
set(monitors_display ${CMAKE_BINARY_DIR}/two-monitors.display)
derived_prefix(monitors monitors_runner ${monitors_display})
wine_fixtures(monitors ${monitors_display} ${monitors_prefix} ${monitors_runner}
  -screen 0 1024x768x24 -screen 1 1280x1024x24 +xinerama -extension RANDR)
add_wine_test(two_monitor_tests ${monitors_runner} monitors tests/windows/TwoMonitorTest.cpp)
target_link_libraries(two_monitor_tests PRIVATE dialog_driver zem_ui)
