# Runs palisade-cli with arguments it must refuse: exit status 2 and a message.
#   cmake -DCLI=... -DCOMMAND="perft;x" -P expect_refusal.cmake
execute_process(COMMAND "${CLI}" ${COMMAND} OUTPUT_VARIABLE output ERROR_VARIABLE errors RESULT_VARIABLE status)
if(NOT status EQUAL 2 OR errors STREQUAL "" OR NOT output STREQUAL "")
  message(FATAL_ERROR "expected exit status 2 and a message only, got ${status}\n${output}\n${errors}")
endif()
