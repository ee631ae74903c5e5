# Runs TOOL (effect-frames, or a Windows program printing the same lines
# through the EMULATOR) with the arguments spelled by CASE (DIRECTION-KIND-
# STEPS-WIDTH-HEIGHT) and compares its output with the EXPECTED file.
string(REPLACE "-" ";" arguments "${CASE}")
string(REPLACE "-" " " spelled "${CASE}")
execute_process(COMMAND ${EMULATOR} ${TOOL} ${arguments} OUTPUT_VARIABLE actual RESULT_VARIABLE status)
file(READ ${EXPECTED} expected)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${TOOL} ${spelled} exited with ${status}")
endif()
if(NOT actual STREQUAL expected)
  message(FATAL_ERROR "${TOOL} ${spelled} printed:\n${actual}\nexpected:\n${expected}")
endif()
