# Runs the compiler on a bad definition and checks its exit status, its message and that it wrote
# nothing.
file(REMOVE "${OUTPUT}")
execute_process(COMMAND "${COMPILER}" --source "${OUTPUT}" "${DEFINITION}"
                RESULT_VARIABLE status ERROR_VARIABLE message)
if(status EQUAL 0)
  message(FATAL_ERROR "the compiler accepted the bad definition")
endif()
if(NOT message MATCHES "bad_definition.txt:7: expected a value \\(true, false, an integer or a string\\) for OnAction, found \"end\"")
  message(FATAL_ERROR "unexpected message: ${message}")
endif()
if(EXISTS "${OUTPUT}")
  message(FATAL_ERROR "the compiler left ${OUTPUT} behind")
endif()
