# The module read without running it, as on a machine that cannot run it (tests/static): its
# format, exports and imports, and its resources byte for byte those of a module of another
# architecture whose resources the Windows tests check by running it, but for the architecture;
# then three checks that show these can fail. Each a test of this build.
set(ZEM_STATIC_REFERENCE "" CACHE FILEPATH
    "A module whose resources this build's module must match but for the architecture (empty: no static checks)")
set(ZEM_STATIC_REFERENCE_ARCH x64 CACHE STRING "The architecture of ZEM_STATIC_REFERENCE")
if(ZEM_STATIC_REFERENCE STREQUAL "")
  return()
endif()
find_program(ZEM_STATIC_OBJDUMP NAMES ${CMAKE_OBJDUMP} llvm-objdump llvm-objdump-14 NO_CMAKE_FIND_ROOT_PATH)
foreach(name binary resources refuses-reference-architecture sees-one-changed-byte sees-a-wrong-length)
  add_test(NAME module.read.${name}
    COMMAND bash ${CMAKE_SOURCE_DIR}/tests/static/check-module.sh ${name} $<TARGET_FILE:ZEM_Variations> ${ZEM_ARCH}
            ${ZEM_STATIC_OBJDUMP} ${ZEM_STATIC_REFERENCE} ${ZEM_STATIC_REFERENCE_ARCH})
endforeach()
