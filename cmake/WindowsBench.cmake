# The load and unload measurement under Wine: the plug-in against an empty DLL built the same way;
# and the host calls of a "Do It" made through the built module.
add_library(empty_module SHARED bench/EmptyModule.cpp bench/EmptyModule.def)
add_executable(load_unload bench/LoadUnload.cpp)
add_executable(module_calls bench/ModuleCalls.cpp)
target_link_libraries(module_calls PRIVATE hostsim)
foreach(target empty_module load_unload module_calls)
  target_link_options(${target} PRIVATE -static -static-libgcc -static-libstdc++ -s)
  set_target_properties(${target} PROPERTIES PREFIX "" RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
endforeach()
add_dependencies(load_unload empty_module ZEM_Variations)
add_dependencies(module_calls ZEM_Variations)
