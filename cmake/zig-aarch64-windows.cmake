# Cross build for ARM64 Windows with Zig (cmake/zig/WindowsToolchain.cmake).
set(CMAKE_SYSTEM_PROCESSOR ARM64)
set(ZEM_ZIG_TARGET aarch64-windows-gnu)
set(ZEM_RC_TARGET aarch64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/zig/WindowsToolchain.cmake)
