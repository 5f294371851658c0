# cmake -DOBJDUMP=x86_64-w64-mingw32-objdump -DFILE=Quillfrost.scr -P check_imports.cmake
# Reads the import table of a Windows program and fails on any DLL that a
# stock Windows 10 or 11 might not have. The Direct3D 9 utility library is
# never allowed: it ships with the DirectX redistributable, not with Windows.
cmake_minimum_required(VERSION 3.21)
set(allowed
    kernel32.dll user32.dll gdi32.dll advapi32.dll comctl32.dll msvcrt.dll d3d9.dll
    # The shell, for the user's own data folder.
    shell32.dll
    # COM and the Windows Imaging Component, should image decoding use them.
    ole32.dll windowscodecs.dll)

if(NOT EXISTS "${FILE}")
    message(FATAL_ERROR "${FILE} does not exist")
endif()
execute_process(COMMAND ${OBJDUMP} -p ${FILE}
                OUTPUT_VARIABLE dump ERROR_VARIABLE errors RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "${OBJDUMP} -p ${FILE} failed (${status}): ${errors}")
endif()

string(REGEX MATCHALL "DLL Name: [^\r\n]+" lines "${dump}")
set(imports "")
foreach(line IN LISTS lines)
    string(REGEX REPLACE "^DLL Name: *" "" dll "${line}")
    string(STRIP "${dll}" dll)
    string(TOLOWER "${dll}" dll)
    list(APPEND imports ${dll})
endforeach()
list(REMOVE_DUPLICATES imports)

# A program without kernel32 in its table means the dump was not understood.
if(NOT "kernel32.dll" IN_LIST imports)
    message(FATAL_ERROR "no import of kernel32.dll found in ${FILE}; imports: '${imports}'")
endif()

set(refused "")
foreach(dll IN LISTS imports)
    if(dll MATCHES "^d3dx9")
        list(APPEND refused "${FILE} imports ${dll}, which is the DirectX redistributable's and missing from stock Windows")
    elseif(NOT dll IN_LIST allowed)
        list(APPEND refused "${FILE} imports ${dll}, which is not on the list of DLLs every Windows 10 and 11 has")
    endif()
endforeach()
if(refused)
    foreach(line IN LISTS refused)
        message("${line}")
    endforeach()
    message(FATAL_ERROR "refused imports in ${FILE}")
endif()
message(STATUS "${FILE} imports only: ${imports}")
