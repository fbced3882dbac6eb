# Runs the command after "--" and passes only when it exits normally with
# EXPECT_STATUS and its standard error, without its final line break,
# matches EXPECT_STDERR (a regular expression). A crash reports a signal name
# rather than a number, so it never passes for an expected failure.
#   cmake -DEXPECT_STATUS=N -DEXPECT_STDERR=REGEX -P ExpectExit.cmake -- PROGRAM ARGS...
if(NOT DEFINED EXPECT_STATUS OR NOT DEFINED EXPECT_STDERR)
  message(FATAL_ERROR "EXPECT_STATUS and EXPECT_STDERR are required")
endif()

set(command)
set(after_separator FALSE)
math(EXPR last "${CMAKE_ARGC} - 1")
foreach(i RANGE ${last})
  if(after_separator)
    # A ";" inside an argument must not split it into two.
    string(REPLACE ";" "\\;" argument "${CMAKE_ARGV${i}}")
    list(APPEND command "${argument}")
  elseif("${CMAKE_ARGV${i}}" STREQUAL "--")
    set(after_separator TRUE)
  endif()
endforeach()
if(NOT command)
  message(FATAL_ERROR "no command after --")
endif()

execute_process(COMMAND ${command}
                RESULT_VARIABLE status
                OUTPUT_VARIABLE out
                ERROR_VARIABLE err)
if(NOT "${status}" STREQUAL "${EXPECT_STATUS}")
  message(FATAL_ERROR "exit status '${status}', expected ${EXPECT_STATUS}\nstderr:\n${err}")
endif()
# The expression sees the text without its final line break.
string(STRIP "${err}" err)
if(NOT "${err}" MATCHES "${EXPECT_STDERR}")
  message(FATAL_ERROR "stderr does not match '${EXPECT_STDERR}':\n${err}")
endif()
