# The dialogs on other desktops than the test display's one screen at 96 DPI. Each desktop has a
# prefix of its own, copied once per build folder from the test prefix, with its own runner and a
# wineserver of its own for the run, so that nothing of it reaches the other tests.

# A runner for a derived prefix, and the target that creates the prefix.
#   derived_prefix(NAME PREFIX_TARGET_VAR RUNNER_VAR DISPLAY_LINE [LOGPIXELS])
function(derived_prefix name prefix_target_var runner_var display_line)
  set(WINE_PREFIX ${CMAKE_BINARY_DIR}/wineprefix-${name})
  set(WINE_DISPLAY "${display_line}")
  set(runner ${CMAKE_BINARY_DIR}/wine-run-${name}.sh)
  configure_file(cmake/wine/run.sh.in ${runner} @ONLY FILE_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
  add_custom_command(
    OUTPUT ${WINE_PREFIX}.ready
    COMMAND ${WINE_TOOLS_ENV} ${CMAKE_SOURCE_DIR}/cmake/wine/derive-prefix.sh ${CMAKE_BINARY_DIR}/wineprefix ${WINE_PREFIX}
            ${WINE_PREFIX}.ready ${runner} ${ARGN}
    DEPENDS ${CMAKE_BINARY_DIR}/wineprefix.ready
    COMMENT "Creating the ${name} Wine prefix"
    VERBATIM)
  add_custom_target(wine_prefix_${name} DEPENDS ${WINE_PREFIX}.ready)
  set(${prefix_target_var} wine_prefix_${name} PARENT_SCOPE)
  set(${runner_var} ${runner} PARENT_SCOPE)
  set(${name}_prefix ${WINE_PREFIX} PARENT_SCOPE)
endfunction()

# 200 %: the screen at 192 DPI, on the test display.
derived_prefix(highdpi dpi_prefix_target dpi_runner "" 192)
add_test(NAME wine.highdpi.start COMMAND ${WINE_TOOLS_ENV} ${CMAKE_SOURCE_DIR}/cmake/wine/server.sh start ${highdpi_prefix} ${dpi_runner})
add_test(NAME wine.highdpi.stop COMMAND ${WINE_TOOLS_ENV} ${CMAKE_SOURCE_DIR}/cmake/wine/server.sh stop ${highdpi_prefix} ${dpi_runner})
set_tests_properties(wine.highdpi.start PROPERTIES FIXTURES_SETUP wine_highdpi)
set_tests_properties(wine.highdpi.stop PROPERTIES FIXTURES_CLEANUP wine_highdpi)
add_wine_test(high_dpi_tests ${dpi_runner} ${dpi_prefix_target} wine_highdpi tests/windows/HighDpiTest.cpp)
target_link_libraries(high_dpi_tests PRIVATE dialog_driver zem_core)

# Two monitors: the runner takes the display the fixture started (two-monitors.sh).
set(monitors_display ${CMAKE_BINARY_DIR}/two-monitors.display)
derived_prefix(monitors monitors_prefix_target monitors_runner
  "[ -s \"${monitors_display}\" ] && export DISPLAY=\"$(cat \"${monitors_display}\")\"")
add_test(NAME wine.monitors.start
  COMMAND ${WINE_TOOLS_ENV} ${CMAKE_SOURCE_DIR}/cmake/wine/two-monitors.sh start ${monitors_prefix} ${monitors_runner} ${monitors_display})
add_test(NAME wine.monitors.stop
  COMMAND ${WINE_TOOLS_ENV} ${CMAKE_SOURCE_DIR}/cmake/wine/two-monitors.sh stop ${monitors_prefix} ${monitors_runner} ${monitors_display})
set_tests_properties(wine.monitors.start PROPERTIES FIXTURES_SETUP wine_monitors)
set_tests_properties(wine.monitors.stop PROPERTIES FIXTURES_CLEANUP wine_monitors)
add_wine_test(two_monitor_tests ${monitors_runner} ${monitors_prefix_target} wine_monitors
  tests/windows/TwoMonitorTest.cpp)
target_link_libraries(two_monitor_tests PRIVATE dialog_driver zem_ui)
