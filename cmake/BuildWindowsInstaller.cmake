# cmake -DWXS=quillfrost.wxs -DSTAGE=folder -DFILES="Quillfrost.scr;LICENSE.txt;..."
#       -DVERSION=x.y.z -DUPGRADE_CODE=uuid -DPRODUCT_CODE=uuid -DEPOCH=seconds
#       -DWIXL=wixl -DMSIBUILD=msibuild -DMSIINFO=msiinfo -DFAKETIME=faketime
#       -DOUTPUT=file.msi
#       -P BuildWindowsInstaller.cmake
# Builds the installer from the files staged under their own names, so that
# the same files and version give the same bytes:
# - the staged files get the time EPOCH (the cabinet keeps file times);
# - wixl runs at the frozen time EPOCH (it writes the current time as the
#   package's creation and save time and takes no SOURCE_DATE_EPOCH);
# - the package code, which wixl draws at random, is derived from the
#   version and the packed files;
# - the File table gets Quillfrost.scr's version, read from its version
#   resource (wixl leaves the column empty, and Windows Installer then keeps
#   an older versioned copy already in the folder), and its language, 1033,
#   the one language of that resource (resources/program.rc);
# - Quillfrost.scr loses the MsiFileHash row wixl gives every file: Windows
#   Installer compares a versioned file by its version, and a hash beside
#   the version is an error to its validation (ICE60).
cmake_minimum_required(VERSION 3.21)

file(REMOVE_RECURSE ${STAGE})
file(MAKE_DIRECTORY ${STAGE})
set(staged "")
set(contents "${VERSION}")
foreach(file IN LISTS FILES)
    get_filename_component(name ${file} NAME)
    file(COPY_FILE ${file} ${STAGE}/${name})
    list(APPEND staged ${STAGE}/${name})
    file(SHA256 ${file} hash)
    string(APPEND contents ";${name}=${hash}")
endforeach()
file(SHA256 ${WXS} hash)
string(APPEND contents ";wxs=${hash}")
execute_process(COMMAND chmod 0644 ${staged} COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND touch -d @${EPOCH} ${staged} COMMAND_ERROR_IS_FATAL ANY)

# VS_FIXEDFILEINFO: the signature FEEF04BD, the structure version 1.0, then
# the file version as two little-endian DWORDs (major.minor, patch.tweak).
# The bytes are read as hexadecimal digits, two to a byte.
file(READ ${STAGE}/Quillfrost.scr saver HEX)
set(at -1)
string(FIND "${saver}" "bd04effe00000100" found)
while(NOT found EQUAL -1)
    math(EXPR at "${at} + 1 + ${found}")
    math(EXPR odd "${at} % 2")
    if(NOT odd)
        break()
    endif()
    math(EXPR next "${at} + 1")
    string(SUBSTRING "${saver}" ${next} -1 rest)
    string(FIND "${rest}" "bd04effe00000100" found)
endwhile()
if(found EQUAL -1)
    message(FATAL_ERROR "Quillfrost.scr has no version resource")
endif()
math(EXPR at "${at} + 16")
set(parts "")
foreach(offset 4 0 12 8)
    math(EXPR start "${at} + ${offset}")
    string(SUBSTRING "${saver}" ${start} 4 word)
    string(REGEX REPLACE "(..)(..)" "\\2\\1" word "${word}")
    math(EXPR number "0x${word}")
    list(APPEND parts ${number})
endforeach()
string(JOIN . file_version ${parts})

string(UUID package_code NAMESPACE ${UPGRADE_CODE} NAME "${contents}" TYPE SHA1 UPPER)
set(ENV{SOURCE_DATE_EPOCH} ${EPOCH})
string(TIMESTAMP frozen "%Y-%m-%d %H:%M:%S" UTC)
set(ENV{TZ} UTC)

file(REMOVE ${OUTPUT})
execute_process(
    COMMAND ${FAKETIME} -f "${frozen}" ${WIXL} -a x64 -D Version=${VERSION}
            -D UpgradeCode=${UPGRADE_CODE} -D ProductCode=${PRODUCT_CODE} -o ${OUTPUT} ${WXS}
    WORKING_DIRECTORY ${STAGE}
    COMMAND_ERROR_IS_FATAL ANY)

# msibuild -s sets the title, author, template and package code together:
# the first three are written back as wixl made them.
execute_process(COMMAND ${MSIINFO} suminfo ${OUTPUT} OUTPUT_VARIABLE summary COMMAND_ERROR_IS_FATAL ANY)
foreach(field Subject Author Template)
    string(REGEX MATCH "\n${field}: ([^\n]*)" line "\n${summary}")
    set(${field} "${CMAKE_MATCH_1}")
endforeach()
execute_process(
    COMMAND ${MSIBUILD} ${OUTPUT} -s "${Subject}" "${Author}" "${Template}" "{${package_code}}"
    COMMAND_ERROR_IS_FATAL ANY)
execute_process(
    COMMAND ${MSIBUILD} ${OUTPUT}
            -q "UPDATE `File` SET `Version` = '${file_version}', `Language` = '1033' WHERE `File` = 'QuillfrostScr'"
    COMMAND_ERROR_IS_FATAL ANY)
execute_process(
    COMMAND ${MSIBUILD} ${OUTPUT} -q "DELETE FROM `MsiFileHash` WHERE `File_` = 'QuillfrostScr'"
    COMMAND_ERROR_IS_FATAL ANY)
