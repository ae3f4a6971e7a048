# The reference host, hostsim.exe: runs the built plug-in on an image without Photoshop. Its
# library serves the Windows tests as well.
add_library(reference_host STATIC hostsim/ReferenceHost.cpp)
target_link_libraries(reference_host PUBLIC hostsim zem_core)

add_executable(hostsim_program hostsim/ReferenceHostMain.cpp)
target_link_libraries(hostsim_program PRIVATE reference_host)
if(MINGW)
  target_link_options(hostsim_program PRIVATE -static)
endif()
set_target_properties(hostsim_program PROPERTIES
  OUTPUT_NAME hostsim
  RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
add_dependencies(hostsim_program ZEM_Variations)
