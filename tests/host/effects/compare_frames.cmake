# Runs effect-frames with the arguments spelled by CASE (DIRECTION-KIND-STEPS-
# WIDTH-HEIGHT) and compares its output with the EXPECTED file.
string(REPLACE "-" ";" arguments "${CASE}")
execute_process(COMMAND ${TOOL} ${arguments} OUTPUT_VARIABLE actual RESULT_VARIABLE status)
file(READ ${EXPECTED} expected)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "effect-frames ${arguments} exited with ${status}")
endif()
if(NOT actual STREQUAL expected)
  message(FATAL_ERROR "effect-frames ${arguments} printed:\n${actual}\nexpected:\n${expected}")
endif()
