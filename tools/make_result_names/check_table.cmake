# Runs the generator and fails when its output differs from the committed table.
execute_process(COMMAND ${TOOL} ${INCLUDE} ${OUT} RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "make_result_names failed (${status})")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${OUT} ${EXPECTED} RESULT_VARIABLE differ)
if(NOT differ EQUAL 0)
    message(FATAL_ERROR "the committed result-name table differs from the generator's output; "
                        "rebuild it with the result_names_table target")
endif()
message(STATUS "the committed result-name table matches the generator")
