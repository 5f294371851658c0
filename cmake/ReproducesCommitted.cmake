# cmake -DTOOL=generator "-DARGS=a;b" -DOUT=scratch -DEXPECTED=committed -P ReproducesCommitted.cmake
# Runs a generator into a scratch file (its last argument) and fails unless it
# writes exactly the committed bytes.
file(REMOVE ${OUT})
execute_process(COMMAND ${TOOL} ${ARGS} ${OUT} RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "${TOOL} failed (${status})")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${OUT} ${EXPECTED} RESULT_VARIABLE differ)
if(NOT differ EQUAL 0)
    message(FATAL_ERROR "${EXPECTED} differs from the generator's output ${OUT}; "
                        "regenerate the committed file if the change is meant")
endif()
message(STATUS "the generator reproduces ${EXPECTED}")
