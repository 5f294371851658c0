# QF_SOURCE_DATE_EPOCH: the time the release files carry, in seconds since
# 1970: SOURCE_DATE_EPOCH when set, else the time of the last commit, else
# the time of CMakeLists.txt. One commit so packs to the same bytes however
# often and wherever it is built.
if(DEFINED ENV{SOURCE_DATE_EPOCH})
    set(QF_SOURCE_DATE_EPOCH $ENV{SOURCE_DATE_EPOCH})
else()
    execute_process(
        COMMAND git log -1 --format=%ct
        WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
        OUTPUT_VARIABLE QF_SOURCE_DATE_EPOCH
        OUTPUT_STRIP_TRAILING_WHITESPACE
        RESULT_VARIABLE status
        ERROR_QUIET)
    if(NOT status EQUAL 0 OR NOT QF_SOURCE_DATE_EPOCH MATCHES "^[0-9]+$")
        file(TIMESTAMP ${PROJECT_SOURCE_DIR}/CMakeLists.txt QF_SOURCE_DATE_EPOCH "%s" UTC)
    endif()
endif()
