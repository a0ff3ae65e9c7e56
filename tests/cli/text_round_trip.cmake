# A saved game written as text by `export-text` and played back by
# `import-text` gives the very same file.
#   cmake -DCLI=palisade-cli -DGAME=in.brd -DWORKDIR=dir -P text_round_trip.cmake
get_filename_component(name ${GAME} NAME_WE)
set(text ${WORKDIR}/${name}.txt)
set(again ${WORKDIR}/${name}.brd)
file(MAKE_DIRECTORY ${WORKDIR})
execute_process(COMMAND ${CLI} export-text ${GAME} OUTPUT_FILE ${text} RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "export-text ${GAME} failed: ${status}")
endif()
execute_process(COMMAND ${CLI} import-text ${text} --save ${again} RESULT_VARIABLE status ERROR_VARIABLE error)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "import-text ${text} failed: ${error}")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${GAME} ${again} RESULT_VARIABLE differ)
if(differ)
  message(FATAL_ERROR "${again} differs from ${GAME}")
endif()
