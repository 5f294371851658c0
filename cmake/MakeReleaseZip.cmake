# cmake -DOUTPUT=file.zip "-DFILES=a;b" [-DFOLDER=name] -DEPOCH=seconds -DZIP=zip
#       -P MakeReleaseZip.cmake
# A release zip of FILES, by their names, at its top or in the folder FOLDER:
# in the order of their names, mode 0644, the time EPOCH (which zip stores as
# a local time: in UTC here), no extra fields. The same files give the same
# bytes wherever and whenever they are packed.
get_filename_component(output "${OUTPUT}" ABSOLUTE)
set(stage "${output}.stage")
file(REMOVE_RECURSE "${stage}" "${output}")
set(inside "${stage}")
set(prefix "")
if(FOLDER)
    set(inside "${stage}/${FOLDER}")
    set(prefix "${FOLDER}/")
endif()
file(MAKE_DIRECTORY "${inside}")
set(names "")
foreach(file IN LISTS FILES)
    get_filename_component(name "${file}" NAME)
    file(COPY_FILE "${file}" "${inside}/${name}")
    list(APPEND names "${prefix}${name}")
endforeach()
list(SORT names)
foreach(name IN LISTS names)
    file(CHMOD "${stage}/${name}" PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
endforeach()
execute_process(COMMAND touch -d "@${EPOCH}" ${names} WORKING_DIRECTORY "${stage}"
                RESULT_VARIABLE touched)
execute_process(COMMAND ${CMAKE_COMMAND} -E env TZ=UTC ${ZIP} -q -X -D "${output}" ${names}
                WORKING_DIRECTORY "${stage}" RESULT_VARIABLE zipped)
file(REMOVE_RECURSE "${stage}")
if(NOT touched EQUAL 0 OR NOT zipped EQUAL 0)
    message(FATAL_ERROR "cannot pack ${output}")
endif()
