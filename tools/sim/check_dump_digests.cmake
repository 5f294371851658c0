# cmake [-DRUNNER=node;--flag] -DSIM=quillfrost-sim -DDIGESTS=dump_digests.txt -DWORK=dir
#       -P check_dump_digests.cmake
# Runs quillfrost-sim --dump (through RUNNER when given) for every line of the
# digest file and fails unless each dump has the recorded SHA-256.
file(STRINGS ${DIGESTS} lines REGEX "^[0-9a-f]")
file(MAKE_DIRECTORY ${WORK})
set(failures 0)
foreach(line IN LISTS lines)
    string(REGEX MATCH "^([0-9a-f]+) (.*)$" matched "${line}")
    set(expected ${CMAKE_MATCH_1})
    separate_arguments(options UNIX_COMMAND "${CMAKE_MATCH_2}")
    set(out ${WORK}/dump.txt)
    execute_process(COMMAND ${RUNNER} ${SIM} ${options} --dump OUTPUT_FILE ${out} ERROR_QUIET
                    RESULT_VARIABLE status)
    file(SHA256 ${out} actual)
    if(NOT status EQUAL 0 OR NOT actual STREQUAL expected)
        message(SEND_ERROR "quillfrost-sim ${CMAKE_MATCH_2} --dump: status ${status}, "
                           "digest ${actual}, recorded ${expected}")
        math(EXPR failures "${failures} + 1")
    endif()
endforeach()
list(LENGTH lines total)
if(failures EQUAL 0)
    message(STATUS "all ${total} dumps match their recorded digests")
endif()
