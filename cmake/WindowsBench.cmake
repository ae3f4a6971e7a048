# The load and unload measurement under Wine: the plug-in against an empty DLL built the same way.
add_library(empty_module SHARED bench/EmptyModule.cpp bench/EmptyModule.def)
add_executable(load_unload bench/LoadUnload.cpp)
foreach(target empty_module load_unload)
  target_link_options(${target} PRIVATE -static -static-libgcc -static-libstdc++ -s)
  set_target_properties(${target} PROPERTIES PREFIX "" RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
endforeach()
add_dependencies(load_unload empty_module ZEM_Variations)
