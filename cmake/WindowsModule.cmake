# The plug-in module, ZEM_Variations.8li: a DLL exporting exactly AutoPluginMain and
# _GenericProc@16 through its .def file, with the C++ runtime linked in statically so that it
# imports only Windows system DLLs.
enable_language(RC)

add_library(ZEM_Variations SHARED
  entry/GlobalNewDelete.cpp
  entry/exports.def
  platform/ActivationContext.cpp
  platform/DllMain.cpp
  resources/ZEM_Variations.rc
  ui/DialogStandIns.cpp
)
target_link_libraries(ZEM_Variations PRIVATE zem_core)
if(MINGW)
  target_link_options(ZEM_Variations PRIVATE -static -static-libgcc -static-libstdc++ -s)
elseif(MSVC)
  set_property(TARGET ZEM_Variations PROPERTY MSVC_RUNTIME_LIBRARY "MultiThreaded$<$<CONFIG:Debug>:Debug>")
endif()
set_target_properties(ZEM_Variations PROPERTIES
  PREFIX ""
  SUFFIX ".8li"
  RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin
)
