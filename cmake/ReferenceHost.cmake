# The reference host's library: the contact sheet and the PNG files it writes (with the stb
# headers), and on Windows the reference host itself, which writes its outputs all together and
# runs the built plug-in on an image without Photoshop. The unit tests, the benchmark and the
# Windows tests use it for the pictures they write.
# (Debian: libstb-dev; elsewhere, point STB_INCLUDE_DIR at a folder holding stb_image_write.h.)
find_path(STB_INCLUDE_DIR stb_image_write.h PATH_SUFFIXES stb PATHS /usr/include /usr/local/include
          NO_CMAKE_FIND_ROOT_PATH REQUIRED)
add_library(reference_host STATIC hostsim/ContactSheet.cpp hostsim/PngWriter.cpp)
target_include_directories(reference_host PRIVATE ${CMAKE_SOURCE_DIR}/hostsim)
target_include_directories(reference_host SYSTEM PRIVATE ${STB_INCLUDE_DIR})
target_link_libraries(reference_host PUBLIC hostsim)
# The contact sheet's pixels the same on every architecture, as the host model's (HostModel.cmake).
if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
  target_compile_options(reference_host PRIVATE -ffp-contract=off)
endif()
if(NOT WIN32)
  return()
endif()

target_sources(reference_host PRIVATE hostsim/ReferenceHost.cpp hostsim/ReplaceTogether.cpp hostsim/ThreadedRowsWin32.cpp)
# Of the plug-in's code it needs only the architecture check of the module it loads; psapi gives
# the peak memory that --timings prints.
target_link_libraries(reference_host PUBLIC zem_architecture psapi)

# hostsim.exe, with a wide-character entry point: its arguments are the paths as the user has them.
add_executable(hostsim_program hostsim/ReferenceHostMain.cpp)
target_link_libraries(hostsim_program PRIVATE reference_host)
if(ZEM_ZIG_LIB)
  # Zig's runtime starts programs at main only.
  target_sources(hostsim_program PRIVATE hostsim/WideMain.cpp)
  target_link_libraries(hostsim_program PRIVATE shell32)
  target_link_options(hostsim_program PRIVATE -static)
elseif(MINGW)
  target_compile_options(hostsim_program PRIVATE -municode)
  target_link_options(hostsim_program PRIVATE -static -municode)
endif()
set_target_properties(hostsim_program PROPERTIES
  OUTPUT_NAME hostsim
  RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
add_dependencies(hostsim_program ZEM_Variations)
