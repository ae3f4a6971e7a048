cmake_minimum_required(VERSION 3.25)
# Reads the built module with objdump and fails unless it is a module of the given architecture,
# exports exactly the entry point and that architecture's dialog procedure, and imports nothing but
# Windows system DLLs.
#   cmake -DOBJDUMP=... -DMODULE=... -DARCH=x86|x64|ARM64 -P CheckModuleBinary.cmake
# OBJDUMP is GNU objdump of the architecture's MinGW-w64 binutils or LLVM's llvm-objdump, which
# reads every architecture (Debian's binutils have none for ARM64); they name formats differently.
if(ARCH STREQUAL "x86")
  set(expected_formats "pei-i386;coff-i386")
  set(expected_exports "AutoPluginMain;_GenericProc@16")
elseif(ARCH STREQUAL "x64")
  set(expected_formats "pei-x86-64;coff-x86-64")
  set(expected_exports "AutoPluginMain;GenericProc")
elseif(ARCH STREQUAL "ARM64")
  set(expected_formats "pei-aarch64-little;coff-arm64")
  set(expected_exports "AutoPluginMain;GenericProc")
else()
  message(FATAL_ERROR "ARCH must be x86, x64 or ARM64, not '${ARCH}'")
endif()

execute_process(COMMAND ${OBJDUMP} -p ${MODULE} OUTPUT_VARIABLE dump RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "objdump could not read ${MODULE}")
endif()

if(NOT dump MATCHES "file format ([^\r\n]+)")
  message(FATAL_ERROR "objdump did not name the file format of ${MODULE}")
endif()
set(format "${CMAKE_MATCH_1}")
if(NOT format IN_LIST expected_formats)
  message(FATAL_ERROR "${MODULE} is a ${format} file; an ${ARCH} module is ${expected_formats}")
endif()

string(REGEX MATCHALL "DLL Name: [^\r\n]+" dll_lines "${dump}")
set(imports "")
foreach(line IN LISTS dll_lines)
  string(REPLACE "DLL Name: " "" dll "${line}")
  string(TOLOWER "${dll}" dll)
  list(APPEND imports "${dll}")
endforeach()
# gdi32 for the logo, redrawn at its control's size above 96 DPI.
set(allowed kernel32.dll user32.dll gdi32.dll msvcrt.dll)
foreach(dll IN LISTS imports)
  if(NOT dll IN_LIST allowed)
    message(FATAL_ERROR "the module imports ${dll}; only ${allowed} are allowed")
  endif()
endforeach()

# The name table: GNU objdump's lines "[   0] Name" right after its "[Name Pointer/Ordinal] Table"
# heading, or llvm-objdump's lines "1  0x1000  Name" right after its "Ordinal  RVA  Name" heading.
string(REPLACE "\n" ";" lines "${dump}")
set(exports "")
set(in_table FALSE)
foreach(line IN LISTS lines)
  if(line MATCHES "^\\[(Ordinal/Name Pointer|Name Pointer/Ordinal)\\] Table" OR line MATCHES "^ +Ordinal +RVA +Name$")
    set(in_table TRUE)
  elseif(in_table AND line MATCHES "^[ \t]+\\[[ 0-9]+\\][ \t]+([^ \t]+)[ \t]*$")
    list(APPEND exports "${CMAKE_MATCH_1}")
  elseif(in_table AND line MATCHES "^ +[0-9]+ +0x[0-9a-f]+ +([^ \t]+)$")
    list(APPEND exports "${CMAKE_MATCH_1}")
  elseif(in_table)
    set(in_table FALSE)
  endif()
endforeach()
list(SORT exports)
if(NOT exports STREQUAL expected_exports)
  message(FATAL_ERROR "the module exports '${exports}'; an ${ARCH} module exports exactly '${expected_exports}'")
endif()
message(STATUS "${ARCH} module (${format}); exports: ${exports}; imports: ${imports}")
