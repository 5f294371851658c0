# qf_add_child_directories(): adds every folder of the current source folder
# that has a CMakeLists.txt of its own: each holds one area's tests, or one
# tool.
function(qf_add_child_directories)
    file(GLOB children LIST_DIRECTORIES true CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*)
    foreach(child IN LISTS children)
        if(IS_DIRECTORY ${child} AND EXISTS ${child}/CMakeLists.txt)
            add_subdirectory(${child})
        endif()
    endforeach()
endfunction()
