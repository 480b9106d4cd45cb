# Runs one scenario script headless through the simulator and checks its exit
# status (and, for a script that must fail, the line number it reports). In a
# cross build the simulator runs through the emulator.
execute_process(
    COMMAND ${EMULATOR} ${SIM} --headless --script ${SCRIPT}
    RESULT_VARIABLE status
    OUTPUT_VARIABLE output
    ERROR_VARIABLE output)
message("${output}")
if(NOT status EQUAL EXPECT_EXIT)
    message(FATAL_ERROR "exit status ${status}, expected ${EXPECT_EXIT}")
endif()
if(DEFINED EXPECT_LINE AND NOT output MATCHES "line ${EXPECT_LINE}:")
    message(FATAL_ERROR "the failure does not name line ${EXPECT_LINE}")
endif()
