# What the module takes from Zig's C++ runtime in its own build instead.
#
# Zig links C++ programs with its own build of LLVM's libunwind, in which every unwinder function
# is marked for export: a DLL linked with it exports some 25 of them (_Unwind_*, unw_*) beside the
# names of its .def file. The module links a build of the same sources with those marks left out
# (_LIBUNWIND_HIDE_SYMBOLS); as these objects define every unwinder function, the linker takes
# nothing from Zig's copy, and the module exports exactly its .def list.
enable_language(C)
set(unwind_source ${ZEM_ZIG_LIB}/libunwind/src)
# The register save and restore routines are preprocessed assembly (.S), assembled by the C
# compiler driver.
set_source_files_properties(${unwind_source}/UnwindRegistersRestore.S ${unwind_source}/UnwindRegistersSave.S
  PROPERTIES LANGUAGE C COMPILE_OPTIONS "-x;assembler-with-cpp")
add_library(zem_unwind OBJECT
  ${unwind_source}/libunwind.cpp
  ${unwind_source}/Unwind-seh.cpp
  ${unwind_source}/UnwindLevel1.c
  ${unwind_source}/UnwindLevel1-gcc-ext.c
  ${unwind_source}/UnwindRegistersRestore.S
  ${unwind_source}/UnwindRegistersSave.S
)
target_include_directories(zem_unwind PRIVATE ${ZEM_ZIG_LIB}/libunwind/include)
target_compile_definitions(zem_unwind PRIVATE _LIBUNWIND_HIDE_SYMBOLS _LIBUNWIND_IS_NATIVE_ONLY)
# As LLVM builds it: no exceptions or RTTI of its own, unwind tables for its frames; its warnings
# are LLVM's to fix, not ours.
target_compile_options(zem_unwind PRIVATE -funwind-tables $<$<COMPILE_LANGUAGE:CXX>:-fno-exceptions -fno-rtti> -w)
target_sources(ZEM_Variations PRIVATE $<TARGET_OBJECTS:zem_unwind>)

# The per-thread exception record without libc++abi's fiber-local slot, whose destructor would
# outlive the module (ExceptionGlobals.c).
target_sources(ZEM_Variations PRIVATE ${CMAKE_CURRENT_LIST_DIR}/ExceptionGlobals.c)

# The link time out of the module when the build gives one of its own (cmake/zig/stamp-module.sh).
add_custom_command(TARGET ZEM_Variations POST_BUILD
  COMMAND ${CMAKE_CURRENT_LIST_DIR}/stamp-module.sh $<TARGET_FILE:ZEM_Variations>
  VERBATIM)
