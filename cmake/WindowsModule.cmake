# The plug-in module, ZEM_Variations.8li: a DLL exporting exactly AutoPluginMain and the dialog
# procedure through its .def file, with the C++ runtime linked in statically so that it imports
# only Windows system DLLs. The dialog procedure's export name differs by architecture
# (platform/ModuleArchitecture.h): "_GenericProc@16" on x86, "GenericProc" on x64 and ARM64. GNU ld
# for x64 would accept the x86 list and export the x86 name, so each has its own list; ARM64 names
# its exports as x64 does and shares that list.
if(CMAKE_SYSTEM_PROCESSOR MATCHES "^(ARM64|aarch64)$")
  set(ZEM_ARCH ARM64)
  set(ZEM_EXPORTS entry/exports64.def)
elseif(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(ZEM_ARCH x64)
  set(ZEM_EXPORTS entry/exports64.def)
else()
  set(ZEM_ARCH x86)
  set(ZEM_EXPORTS entry/exports.def)
endif()
enable_language(RC)

set(ZEM_WEB_HOST "zem.example.org" CACHE STRING
    "Host name of the project's web site: the About box's link caption and the address it opens")
configure_file(resources/WebHost.h.in ${CMAKE_BINARY_DIR}/generated/WebHost.h @ONLY)
configure_file(resources/Version.h.in ${CMAKE_BINARY_DIR}/generated/Version.h @ONLY)

# The dialogs and the activation context they run in. Also linked into the dialog tests, which
# drive the framework with templates of their own.
add_library(zem_ui STATIC
  platform/ActivationContext.cpp
  ui/AboutBox.cpp
  ui/FittedBitmap.cpp
  ui/GenericProc.cpp
  ui/ModalDialog.cpp
  ui/ModeDialog.cpp
  ui/PositionDialog.cpp
  ui/RadioGroup.cpp
)
target_link_libraries(zem_ui PUBLIC zem_core)

add_library(ZEM_Variations SHARED
  entry/GlobalNewDelete.cpp
  ${ZEM_EXPORTS}
  platform/DllMain.cpp
  resources/ZEM_Variations.rc
)
target_include_directories(ZEM_Variations PRIVATE ${CMAKE_BINARY_DIR}/generated ${CMAKE_SOURCE_DIR}/resources)
# windres reports no dependencies: name what the script includes.
set_source_files_properties(resources/ZEM_Variations.rc PROPERTIES OBJECT_DEPENDS
  "${CMAKE_SOURCE_DIR}/resources/PluginProperties.rc;${CMAKE_SOURCE_DIR}/resources/ModeDialog.rc;\
${CMAKE_SOURCE_DIR}/resources/AboutBox.rc;${CMAKE_SOURCE_DIR}/resources/ResourceIds.h;\
${CMAKE_SOURCE_DIR}/resources/Logo.bmp;${CMAKE_BINARY_DIR}/generated/WebHost.h;\
${CMAKE_SOURCE_DIR}/resources/Version.rc;${CMAKE_BINARY_DIR}/generated/Version.h")
# The core calls the dialogs, and the dialogs the core.
target_link_libraries(ZEM_Variations PRIVATE zem_core zem_ui)
# Built with Zig (cmake/zig/WindowsToolchain.cmake): parts of its C++ runtime built here instead.
if(ZEM_ZIG_LIB)
  include(cmake/zig/Runtime.cmake)
endif()
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
