# Runs velmora-cli as a user would and checks its exit status and its two outputs.
#   cmake -DCLI=path -DARGS="a|b" -DEXIT=n [-DSTDOUT=regex] [-DSTDERR=regex]
#         [-DSTDOUT_EMPTY=ON] [-DINPUT=file for the standard input] -P run_cli.cmake
string(REPLACE "|" ";" ARGS "${ARGS}")
if(NOT DEFINED INPUT)
  set(INPUT /dev/null)
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E env LC_ALL=C ${CLI} ${ARGS} INPUT_FILE ${INPUT}
  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT status STREQUAL EXIT)
  message(FATAL_ERROR "exit status ${status}, expected ${EXIT}\nstdout:\n${out}\nstderr:\n${err}")
endif()
if(DEFINED STDOUT AND NOT out MATCHES "${STDOUT}")
  message(FATAL_ERROR "stdout does not match ${STDOUT}:\n${out}")
endif()
if(DEFINED STDERR AND NOT err MATCHES "${STDERR}")
  message(FATAL_ERROR "stderr does not match ${STDERR}:\n${err}")
endif()
if(STDOUT_EMPTY AND NOT out STREQUAL "")
  message(FATAL_ERROR "stdout should be empty:\n${out}")
endif()
