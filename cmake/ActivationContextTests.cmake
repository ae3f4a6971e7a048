# The activation-context wrapper's test program, with the modules its kernel32 lookups are pointed
# at: actctx_standin.dll, which stands in for kernel32's activation-context functions, and
# actctx_bare.dll, which has none of them (and whose copies serve as modules at chosen paths).
enable_language(RC)

# The export list names the functions as the compiler does: stdcall-decorated on x86 only.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(standin_exports tests/windows/actctx_standin/ActCtxStandIn64.def)
else()
  set(standin_exports tests/windows/actctx_standin/ActCtxStandIn.def)
endif()
add_library(actctx_standin SHARED
  tests/windows/actctx_standin/ActCtxStandIn.cpp
  ${standin_exports})
add_library(actctx_bare SHARED
  tests/windows/actctx_standin/Bare.cpp
  tests/windows/actctx_standin/Bare.def)
foreach(standin actctx_standin actctx_bare)
  target_link_options(${standin} PRIVATE -static)
  set_target_properties(${standin} PROPERTIES
    PREFIX ""
    RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
endforeach()

add_windows_test(activation_context_tests
  tests/windows/ActivationContextTest.cpp
  platform/ActivationContext.cpp)
target_sources(activation_context_tests PRIVATE tests/windows/ActivationContextTest.rc)
add_dependencies(activation_context_tests actctx_standin actctx_bare)

# The same wrapper under the system's own functions, with a manifest asking for the common controls
# version 6.
add_windows_test(activation_context_system_tests
  tests/windows/ActivationContextSystemTest.cpp
  tests/windows/ActivationContextSystemTest.rc
  platform/ActivationContext.cpp)
set_source_files_properties(tests/windows/ActivationContextSystemTest.rc PROPERTIES OBJECT_DEPENDS
  ${CMAKE_SOURCE_DIR}/tests/windows/CommonControls6.manifest)
