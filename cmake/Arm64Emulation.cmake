# The ARM64 Windows test programs run in an arm64 Debian root with Debian's arm64 Wine, under
# qemu-user emulation (tools/arm64-root.sh, tools/arm64-emulation.sh), entered for each Wine
# program with the source and build folders at their own paths (tools/arm64-enter.sh). Wine's
# loader and server are named by stand-ins in the build folder that enter the root: the runners
# start the loader through its stand-in, and the prefix and fixture scripts, which call
# `wineserver`, find the server's first on their PATH (WINE_TOOLS_ENV).
set(arm64_wine ${CMAKE_BINARY_DIR}/arm64-wine)
foreach(tool wine64 wineserver)
  set(ZEM_ARM64_TOOL ${tool})
  configure_file(${CMAKE_SOURCE_DIR}/cmake/arm64/enter-tool.sh.in ${arm64_wine}/${tool} @ONLY FILE_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
endforeach()
set(WINE_LOADER ${arm64_wine}/wine64)
set(WINE_TOOLS_ENV ${CMAKE_COMMAND} -E env "PATH=${arm64_wine}:$ENV{PATH}")
set(WINE_TOOLS_PATH ${arm64_wine})
