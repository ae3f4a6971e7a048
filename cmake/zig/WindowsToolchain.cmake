# Cross build for Windows with Zig's clang, libc++, libunwind and MinGW-w64 runtime, for the target
# ZEM_ZIG_TARGET (a Zig target such as aarch64-windows-gnu) set by the toolchain file that includes
# this. Debian has no C or C++ runtime for ARM64 Windows; Zig carries them for every Windows target.
# Resources are compiled by LLVM's windres with the MinGW-w64 headers, for ZEM_RC_TARGET.
set(CMAKE_SYSTEM_NAME Windows)

execute_process(COMMAND ${CMAKE_CURRENT_LIST_DIR}/../../tools/install-zig.sh --print
  OUTPUT_VARIABLE ZEM_ZIG OUTPUT_STRIP_TRAILING_WHITESPACE)
if(NOT EXISTS "${ZEM_ZIG}")
  message(FATAL_ERROR "Zig is not installed at ${ZEM_ZIG}: run tools/install-deps.sh")
endif()
get_filename_component(ZEM_ZIG_LIB "${ZEM_ZIG}" DIRECTORY)
set(ZEM_ZIG_LIB "${ZEM_ZIG_LIB}/lib")

# The compiler and its target as one command: the target is no flag a build may change.
set(CMAKE_C_COMPILER "${ZEM_ZIG}" cc -target ${ZEM_ZIG_TARGET})
set(CMAKE_CXX_COMPILER "${ZEM_ZIG}" c++ -target ${ZEM_ZIG_TARGET})
find_program(ZEM_LLVM_WINDRES NAMES llvm-windres llvm-windres-14 REQUIRED)
set(CMAKE_RC_COMPILER "${ZEM_LLVM_WINDRES}")
set(CMAKE_RC_FLAGS_INIT "--target=${ZEM_RC_TARGET} -I /usr/share/mingw-w64/include")
find_program(CMAKE_OBJDUMP NAMES llvm-objdump llvm-objdump-14)

# Compiler checks compile without linking a program: only the DLL is ever linked.
set(CMAKE_TRY_COMPILE_TARGET_TYPE STATIC_LIBRARY)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
