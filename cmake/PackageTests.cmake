# The release package's checks, as a user would make them after downloading it, each a test:
# the package is made from the test command's release builds and unpacked first (a fixture), and
# packaged again last. They run one at a time: making the package again rewrites the zip.
set(ZEM_BUILDS ${CMAKE_SOURCE_DIR}/build CACHE PATH "The folder holding the win32, win64 and arm64 builds")
set(check bash ${CMAKE_SOURCE_DIR}/tests/package/check-package.sh --builds ${ZEM_BUILDS} --work ${CMAKE_BINARY_DIR}/work)

add_test(NAME package.make COMMAND ${check} make)
set_tests_properties(package.make PROPERTIES FIXTURES_SETUP package TIMEOUT 900)
set(checks members checksums install-guide x64-module x86-module arm64-module setup-listed setup-is-x64-program
    x64-host-plays x86-host-plays x64-host-refuses-x86 x64-host-refuses-arm64 x86-host-refuses-x64
    plugin-builds-alone)
set(previous package.make)
foreach(name IN LISTS checks)
  add_test(NAME package.${name} COMMAND ${check} ${name})
  set_tests_properties(package.${name} PROPERTIES FIXTURES_REQUIRED package SKIP_RETURN_CODE 77 TIMEOUT 600
    DEPENDS ${previous})
  set(previous package.${name})
endforeach()

# The setup installed and removed under the 64-bit Wine, each check in a prefix of its own.
execute_process(COMMAND bash ${CMAKE_SOURCE_DIR}/tests/installer/check-installer.sh --list
  OUTPUT_VARIABLE installer_checks OUTPUT_STRIP_TRAILING_WHITESPACE)
string(REPLACE "\n" ";" installer_checks "${installer_checks}")
set(setup ${CMAKE_SOURCE_DIR}/build/package/ZEM_Variations-${PROJECT_VERSION}-setup.exe)
foreach(name IN LISTS installer_checks)
  add_test(NAME setup.${name}
    COMMAND bash ${CMAKE_SOURCE_DIR}/tests/installer/check-installer.sh ${setup} ${ZEM_BUILDS}/win64 --check ${name})
  set_tests_properties(setup.${name} PROPERTIES FIXTURES_REQUIRED package SKIP_RETURN_CODE 77 TIMEOUT 600
    DEPENDS ${previous})
  set(previous setup.${name})
endforeach()
add_test(NAME package.same-zip-again COMMAND ${check} same-zip-again)
set_tests_properties(package.same-zip-again PROPERTIES FIXTURES_REQUIRED package TIMEOUT 900 DEPENDS ${previous})
