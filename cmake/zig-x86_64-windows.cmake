# Cross build for x64 Windows with Zig (cmake/zig/WindowsToolchain.cmake): the same compiler and
# runtime as the ARM64 build, in a module that Wine runs.
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(ZEM_ZIG_TARGET x86_64-windows-gnu)
set(ZEM_RC_TARGET x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/zig/WindowsToolchain.cmake)
