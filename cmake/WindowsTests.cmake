# Windows test programs, run under Wine in a prefix inside the build folder, on a virtual display
# and with one persistent wineserver for the whole run, both CTest fixtures.
set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
# The win32 thread model has no std::mutex, on which GoogleTest's Notification is built.
target_compile_options(gtest PUBLIC -include ${CMAKE_SOURCE_DIR}/tests/windows/GTestWin32Notification.h)
include(GoogleTest)

# The prefix and the loader of this build's architecture, each loader named by its path: Wine's
# 32-bit loader in a win32 prefix for x86 programs, its 64-bit loader in a win64 prefix for x64 and
# ARM64 ones.
# Debian's `wine` script is never used: it picks the 32-bit loader whenever that is installed. A
# missing loader does not stop the build (the programs are still built and checked); running them
# then fails naming it.
set(WINE_PREFIX ${CMAKE_BINARY_DIR}/wineprefix)
if(ZEM_ARCH STREQUAL "x64" OR ZEM_ARCH STREQUAL "ARM64")
  set(WINE_ARCH win64)
  set(wine_loader_name wine64)
else()
  set(WINE_ARCH win32)
  set(wine_loader_name wine)
endif()
find_program(WINE_LOADER ${wine_loader_name} PATHS /usr/lib/wine /usr/lib64/wine NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
if(NOT WINE_LOADER)
  set(WINE_LOADER /usr/lib/wine/${wine_loader_name})
endif()
# What the runners and the fixture scripts run Wine's tools under: nothing for x86 and x64; for
# ARM64, a PATH on which `wineserver` is the arm64 root's (cmake/Arm64Emulation.cmake, which also
# names the loader).
set(WINE_TOOLS_ENV "")
set(WINE_TOOLS_PATH "")
if(ZEM_ARCH STREQUAL "ARM64")
  include(cmake/Arm64Emulation.cmake)
endif()
# The x64 build whose test programs list the x86 ones' cases on a machine that runs no 32-bit
# programs (they are built from the same sources); there each x86 case is skipped with the reason.
set(ZEM_TWIN_BUILD ${CMAKE_SOURCE_DIR}/build/win64 CACHE PATH
    "The x64 build that lists the x86 test programs' cases where 32-bit programs cannot run")

# A runner of this build's programs in PREFIX, which MAKE_PREFIX makes on first use (building never
# runs Wine), on the display whose number the file DISPLAY_STATE holds while a display fixture runs.
#   wine_runner(RUNNER PREFIX DISPLAY_STATE MAKE_PREFIX...)
set(WINE_BASE_RUNNER ${CMAKE_BINARY_DIR}/wine-run.sh)
function(wine_runner runner prefix display_state)
  set(WINE_PREFIX ${prefix})
  set(WINE_DISPLAY_STATE ${display_state})
  list(JOIN ARGN " " WINE_MAKE_PREFIX)
  configure_file(${CMAKE_SOURCE_DIR}/cmake/wine/run.sh.in ${runner} @ONLY FILE_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
endfunction()
set(WINE_RUN ${WINE_BASE_RUNNER})
set(test_display ${CMAKE_BINARY_DIR}/test.display)
wine_runner(${WINE_RUN} ${WINE_PREFIX} ${test_display}
  ${CMAKE_SOURCE_DIR}/cmake/wine/prepare-prefix.sh ${WINE_PREFIX} ${WINE_PREFIX}.ready ${WINE_RUN})

# Fixtures: a display and a wineserver, each started once for the tests that need them.
#   wine_fixtures(NAME DISPLAY_STATE PREFIX RUNNER XVFB_OPTIONS...)
# gives the fixture wine_NAME, which holds display_NAME.
function(wine_fixtures name display_state prefix runner)
  add_test(NAME display.${name}.start COMMAND ${CMAKE_SOURCE_DIR}/cmake/wine/display.sh start ${display_state} ${ARGN})
  add_test(NAME display.${name}.stop COMMAND ${CMAKE_SOURCE_DIR}/cmake/wine/display.sh stop ${display_state})
  set_tests_properties(display.${name}.start PROPERTIES FIXTURES_SETUP display_${name})
  set_tests_properties(display.${name}.stop PROPERTIES FIXTURES_CLEANUP display_${name})
  add_test(NAME wine.${name}.start COMMAND ${WINE_TOOLS_ENV} ${CMAKE_SOURCE_DIR}/cmake/wine/server.sh start ${prefix} ${runner})
  add_test(NAME wine.${name}.stop COMMAND ${WINE_TOOLS_ENV} ${CMAKE_SOURCE_DIR}/cmake/wine/server.sh stop ${prefix} ${runner})
  set_tests_properties(wine.${name}.start PROPERTIES FIXTURES_SETUP wine_${name}
    FIXTURES_REQUIRED display_${name} SKIP_RETURN_CODE 77 TIMEOUT 300)
  # The display outlives the server: its fixture ends only after the server's has.
  set_tests_properties(wine.${name}.stop PROPERTIES FIXTURES_CLEANUP wine_${name} FIXTURES_REQUIRED display_${name})
endfunction()
# The tests' display: true colour, so that screenshots show the dialogs as they are.
wine_fixtures(tests ${test_display} ${WINE_PREFIX} ${WINE_RUN} -screen 0 1024x768x24)

add_test(NAME module.binary
  COMMAND ${CMAKE_COMMAND} -DOBJDUMP=${CMAKE_OBJDUMP} -DMODULE=$<TARGET_FILE:ZEM_Variations> -DARCH=${ZEM_ARCH}
          -P ${CMAKE_SOURCE_DIR}/cmake/CheckModuleBinary.cmake)

# A Windows test program run with the given runner, its gtest cases run one by one under Wine with
# the given fixtures (wine_fixtures' NAME). They are listed when the tests start, not at build
# time, since listing them runs the program. A case that GTEST_SKIPs, or that the runner skips
# (exit 77), is counted as skipped.
#   add_wine_test(NAME RUNNER FIXTURES [WINDOWLESS | ALONE] SOURCES...)
# Where CTest runs tests side by side, a program's cases run one at a time (they share its files),
# and of the programs that show windows only one per display runs at a time: they click, type and
# take screenshots on a desktop whose focus and pointer are shared. WINDOWLESS programs make no
# window at all, not even one ended before it is shown, and run beside them. ALONE ones run beside
# nothing: the load trace reads a file that every process loading the module writes.
function(add_wine_test name runner fixtures)
  cmake_parse_arguments(PARSE_ARGV 3 program "WINDOWLESS;ALONE" "" "")
  if(program_ALONE)
    set(sharing RUN_SERIAL ON)
  elseif(program_WINDOWLESS)
    set(sharing RESOURCE_LOCK ${name})
  else()
    set(sharing RESOURCE_LOCK desktop_${fixtures})
  endif()
  add_executable(${name} ${program_UNPARSED_ARGUMENTS})
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR})
  target_link_libraries(${name} PRIVATE hostsim gtest_main)
  target_link_options(${name} PRIVATE -static)
  set_target_properties(${name} PROPERTIES
    RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin
    CROSSCOMPILING_EMULATOR ${runner})
  add_dependencies(${name} ZEM_Variations)
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 300
    PROPERTIES FIXTURES_REQUIRED wine_${fixtures} TIMEOUT 120 ${sharing}
               SKIP_RETURN_CODE 77 SKIP_REGULAR_EXPRESSION "${ZEM_GTEST_SKIPPED}")
endfunction()

# A Windows test program in the build's test prefix.
function(add_windows_test name)
  add_wine_test(${name} ${WINE_RUN} tests ${ARGN})
endfunction()

add_windows_test(module_tests WINDOWLESS tests/windows/ModuleTest.cpp)
add_windows_test(module_action_set_tests WINDOWLESS tests/windows/ModuleLoadsItsActionSetTest.cpp)
add_windows_test(resource_tests WINDOWLESS tests/windows/ResourceTest.cpp)
target_include_directories(resource_tests PRIVATE ${CMAKE_BINARY_DIR}/generated)
target_link_libraries(resource_tests PRIVATE version)
add_windows_test(load_trace_tests ALONE tests/windows/LoadTraceTest.cpp)

# The registers a caller keeps across a call, checked around every kind of call into the module:
# set and compared in assembly, one file per architecture, assembled by the compiler driver in a
# library of its own (the test programs' compile options are C++'s).
string(TOLOWER ${ZEM_ARCH} preserved_arch)
set(preserved_check ${CMAKE_SOURCE_DIR}/tests/windows/preserved/preserved-${preserved_arch}.S)
set_source_files_properties(${preserved_check} PROPERTIES LANGUAGE CXX COMPILE_OPTIONS "-x;assembler-with-cpp")
add_library(preserved_registers_check OBJECT ${preserved_check})
add_windows_test(preserved_registers_tests WINDOWLESS tests/windows/PreservedRegistersTest.cpp
  tests/windows/preserved/PreservedRegisterNames.cpp $<TARGET_OBJECTS:preserved_registers_check>)

# The dialogs in real windows: the module's own, and the framework linked into a test program.
# The run saves screenshots of both dialogs under the build folder.
add_library(dialog_driver STATIC tests/windows/DialogDriver.cpp tests/windows/Screenshot.cpp)
target_link_libraries(dialog_driver PUBLIC imaging)
add_windows_test(mode_dialog_tests tests/windows/ModeDialogTest.cpp)
add_windows_test(about_box_tests tests/windows/AboutBoxTest.cpp)
add_windows_test(dialog_resource_tests WINDOWLESS tests/windows/DialogResourceTest.cpp)
add_windows_test(dialog_framework_tests tests/windows/DialogFrameworkTest.cpp tests/windows/DialogFrameworkTest.rc)
foreach(dialog_test mode_dialog_tests about_box_tests dialog_framework_tests)
  target_link_libraries(${dialog_test} PRIVATE dialog_driver)
endforeach()
target_link_libraries(dialog_framework_tests PRIVATE zem_ui)
foreach(web_host_test about_box_tests dialog_resource_tests)
  target_compile_definitions(${web_host_test} PRIVATE "ZEM_WEB_HOST=\"${ZEM_WEB_HOST}\"")
endforeach()

# The reference host, with its golden contact sheet beside the test program (ZEM_Variations.atn is
# built there). ZEM_WRITE_GOLDEN=1 in the environment makes the test write its sheet over the
# golden one in the source tree instead of comparing.
add_windows_test(reference_host_tests tests/windows/ReferenceHostTest.cpp)
target_link_libraries(reference_host_tests PRIVATE reference_host dialog_driver)
add_dependencies(reference_host_tests actctx_bare zem_action_set)
target_compile_definitions(reference_host_tests PRIVATE
  "ZEM_GOLDEN_SOURCE=\"Z:${CMAKE_SOURCE_DIR}/tests/golden/contact-sheet-mode4.png\"")
add_custom_command(TARGET reference_host_tests POST_BUILD
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${CMAKE_SOURCE_DIR}/tests/golden/contact-sheet-mode4.png
          ${CMAKE_BINARY_DIR}/bin)
# Every kind of PNG and JPEG through the Windows Imaging Component; the native build runs the same
# tests on libpng and libjpeg.
add_windows_test(image_kinds_tests WINDOWLESS tests/imaging/ImageKindsTest.cpp)
target_link_libraries(image_kinds_tests PRIVATE imaging)

# hostsim.exe itself, copied into a folder of a non-ASCII name and run there; and the output pair
# with one of its old files held open.
add_windows_test(reference_host_files_tests WINDOWLESS tests/windows/ReferenceHostFilesTest.cpp)
target_link_libraries(reference_host_files_tests PRIVATE reference_host)
add_dependencies(reference_host_files_tests hostsim_program zem_action_set)

# The reference host's threads for its pixel work.
add_windows_test(threaded_rows_tests WINDOWLESS tests/windows/ThreadedRowsTest.cpp)
target_link_libraries(threaded_rows_tests PRIVATE reference_host)

include(cmake/WineDesktops.cmake)

include(cmake/WindowsBench.cmake)

# The activation-context wrapper's tests, against stand-ins for the functions it looks up.
include(cmake/ActivationContextTests.cmake OPTIONAL)
