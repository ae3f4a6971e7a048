# The action-file library and the shipped action set: ZEM_Variations.atn, converted from its text
# source actions/ZEM_Variations.txt into the build's bin folder, beside the plug-in.
#
# The converter `atn` has to run on the build machine. A native build uses the one it builds; a
# cross build uses the one ZEM_BUILD_MACHINE_ATN names when it is there (the test command names the
# native build's, so that each cross build does not build its own), and otherwise configures
# actions/ a second time as a separate native project (ExternalProject with the build machine's
# default compiler). Every converter writes the same bytes from the same text.
add_subdirectory(actions)

set(ZEM_ACTION_SET_SOURCE ${CMAKE_SOURCE_DIR}/actions/ZEM_Variations.txt)
set(ZEM_ACTION_SET_FILE ${CMAKE_BINARY_DIR}/bin/ZEM_Variations.atn)
set(ZEM_BUILD_MACHINE_ATN "" CACHE FILEPATH
    "An atn converter built for the build machine, which a cross build uses instead of building one")

if(NOT CMAKE_CROSSCOMPILING)
  set(atn_command $<TARGET_FILE:atn>)
  set(atn_dependency atn)
elseif(ZEM_BUILD_MACHINE_ATN AND EXISTS ${ZEM_BUILD_MACHINE_ATN})
  set(atn_command ${ZEM_BUILD_MACHINE_ATN})
  set(atn_dependency ${ZEM_BUILD_MACHINE_ATN})
else()
  include(ExternalProject)
  set(atn_native_dir ${CMAKE_BINARY_DIR}/atn-native)
  ExternalProject_Add(atn_native
    SOURCE_DIR ${CMAKE_SOURCE_DIR}/actions
    BINARY_DIR ${atn_native_dir}
    CMAKE_ARGS -DCMAKE_BUILD_TYPE=Release
    BUILD_COMMAND ${CMAKE_COMMAND} --build ${atn_native_dir} --target atn
    INSTALL_COMMAND ""
    BUILD_ALWAYS ON
    BUILD_BYPRODUCTS ${atn_native_dir}/atn)
  set(atn_command ${atn_native_dir}/atn)
  set(atn_dependency atn_native)
endif()

add_custom_command(OUTPUT ${ZEM_ACTION_SET_FILE}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/bin
  COMMAND ${atn_command} from-text ${ZEM_ACTION_SET_SOURCE} ${ZEM_ACTION_SET_FILE}
  DEPENDS ${ZEM_ACTION_SET_SOURCE} ${atn_dependency}
  COMMENT "Generating ZEM_Variations.atn from actions/ZEM_Variations.txt"
  VERBATIM)
add_custom_target(zem_action_set ALL DEPENDS ${ZEM_ACTION_SET_FILE})
