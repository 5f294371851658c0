# cmake -DGENERATOR=make_icon -DOUTPUT=scratch.ico -DEXPECTED=committed.ico -P ...
# Fails unless the generator writes exactly the committed bytes.
file(REMOVE ${OUTPUT})
execute_process(COMMAND ${GENERATOR} ${OUTPUT} RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "make_icon failed with ${status}")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${OUTPUT} ${EXPECTED}
                RESULT_VARIABLE different)
if(NOT different EQUAL 0)
    message(FATAL_ERROR "make_icon wrote ${OUTPUT}, which differs from ${EXPECTED}; "
                        "regenerate the committed icon if the drawing changed on purpose")
endif()
message(STATUS "make_icon reproduces ${EXPECTED}")
