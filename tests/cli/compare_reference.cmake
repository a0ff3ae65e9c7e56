# Runs a palisade-cli command with the fast generator and with --reference and
# requires the same output from both.
#   cmake -DCLI=... -DCOMMAND="divide;2;FILE" -P compare_reference.cmake
foreach(engine fast reference)
  set(extra "")
  if(engine STREQUAL "reference")
    set(extra "--reference")
  endif()
  execute_process(COMMAND "${CLI}" ${COMMAND} ${extra}
                  OUTPUT_VARIABLE ${engine} ERROR_VARIABLE errors RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${engine}: exited with ${status}: ${errors}")
  endif()
endforeach()
if(NOT fast STREQUAL reference)
  message(FATAL_ERROR "the generators differ\nfast:\n${fast}\nreference:\n${reference}")
endif()
if(fast STREQUAL "")
  message(FATAL_ERROR "no output")
endif()
