# Writes the fuzz targets' generated seeds into SEEDS/NAME, run at build time with -P:
#   -DTESTDATA=../shared/testdata -DSEEDS=folder -DATN=atn -DIMAGE_SEEDS=fuzz_image_seeds
#   -DOWN_SET=ZEM_Variations.atn
# action_file, adjustment_events and action_play: the action files Photoshop saved and the action
# files earlier fuzz runs found, when the shared test data is on this machine; action_text: their text forms,
# written by atn; adjustment_events also the shipped set, every event of which the reference host
# plays; image: a file of every image kind the image tests make. Nothing here is copied into the
# source tree.
cmake_minimum_required(VERSION 3.25)
foreach(name action_file action_text adjustment_events action_play image)
  file(REMOVE_RECURSE ${SEEDS}/${name})
  file(MAKE_DIRECTORY ${SEEDS}/${name})
endforeach()

file(GLOB saved ${TESTDATA}/photoshop-written/*.atn)
file(GLOB found ${TESTDATA}/fuzz-findings/*.atn)
foreach(file IN LISTS saved found)
  get_filename_component(base ${file} NAME_WE)
  string(MAKE_C_IDENTIFIER ${base} base)
  if(file IN_LIST saved)
    set(base saved-${base})
  else()
    set(base found-${base})
  endif()
  foreach(target action_file adjustment_events action_play)
    file(COPY_FILE ${file} ${SEEDS}/${target}/${base}.atn)
  endforeach()
  execute_process(COMMAND ${ATN} to-text ${file} ${SEEDS}/action_text/${base}.txt
                  RESULT_VARIABLE result ERROR_VARIABLE problem)
  if(NOT result EQUAL 0)
    # A saved file every reader must take; an earlier finding may be one no reader takes.
    if(file IN_LIST saved)
      message(WARNING "fuzz seeds: ${file} has no text form: ${problem}")
    endif()
  endif()
endforeach()
file(COPY_FILE ${OWN_SET} ${SEEDS}/adjustment_events/own-ZEM_Variations.atn)
file(GLOB found_text ${TESTDATA}/fuzz-findings/*.txt)
foreach(file IN LISTS found_text)
  get_filename_component(base ${file} NAME_WE)
  string(MAKE_C_IDENTIFIER ${base} base)
  file(COPY_FILE ${file} ${SEEDS}/action_text/found-${base}.txt)
endforeach()
list(LENGTH saved saved_count)
list(LENGTH found found_count)
if(saved_count EQUAL 0)
  message(STATUS "fuzz seeds: no action files saved by Photoshop in ${TESTDATA}; the targets start from their own seeds only")
else()
  message(STATUS "fuzz seeds: ${saved_count} action files saved by Photoshop and ${found_count} found by fuzzing")
endif()

execute_process(COMMAND ${IMAGE_SEEDS} ${SEEDS}/image RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "fuzz seeds: the image seeds could not be written")
endif()
file(TOUCH ${SEEDS}/written)
