# The Windows release files' names and the recipe of the installer
# (packaging/windows).
include(${CMAKE_CURRENT_LIST_DIR}/SourceDateEpoch.cmake)

set(QF_RELEASE_DIR ${PROJECT_BINARY_DIR}/packaging/windows)
set(QF_RELEASE_MSI ${QF_RELEASE_DIR}/Quillfrost-${QF_PACKAGE_VERSION}-x64.msi)
set(QF_RELEASE_ZIP ${QF_RELEASE_DIR}/Quillfrost-${QF_PACKAGE_VERSION}-win-x64.zip)

# The upgrade code is the same in every release; the product code is the
# same for every build of one version.
set(QF_UPGRADE_CODE FBA0D617-94C2-416D-9E79-1A500E1605D4)

find_program(QF_WIXL wixl REQUIRED)
find_program(QF_MSIBUILD msibuild REQUIRED)
find_program(QF_MSIINFO msiinfo REQUIRED)
find_program(QF_FAKETIME faketime REQUIRED)

# qf_add_windows_installer(OUTPUT file.msi VERSION x.y.z FILES file... [DEPENDS ...])
# Builds packaging/windows/quillfrost.wxs into OUTPUT from FILES, which must
# carry the names the .wxs gives them (Quillfrost.scr, LICENSE.txt and
# snowflake_133.ico), by cmake/BuildWindowsInstaller.cmake.
function(qf_add_windows_installer)
    cmake_parse_arguments(P "" "OUTPUT;VERSION" "FILES;DEPENDS" ${ARGN})
    get_filename_component(stem ${P_OUTPUT} NAME_WLE)
    set(wxs ${PROJECT_SOURCE_DIR}/packaging/windows/quillfrost.wxs)
    set(script ${PROJECT_SOURCE_DIR}/cmake/BuildWindowsInstaller.cmake)
    string(UUID product_code NAMESPACE ${QF_UPGRADE_CODE} NAME "Quillfrost ${P_VERSION}"
           TYPE SHA1 UPPER)
    add_custom_command(
        OUTPUT ${P_OUTPUT}
        COMMAND ${CMAKE_COMMAND} -DWXS=${wxs} -DSTAGE=${CMAKE_CURRENT_BINARY_DIR}/${stem}.stage
                "-DFILES=${P_FILES}" -DVERSION=${P_VERSION} -DUPGRADE_CODE=${QF_UPGRADE_CODE}
                -DPRODUCT_CODE=${product_code} -DEPOCH=${QF_SOURCE_DATE_EPOCH}
                -DWIXL=${QF_WIXL} -DMSIBUILD=${QF_MSIBUILD} -DMSIINFO=${QF_MSIINFO}
                -DFAKETIME=${QF_FAKETIME} -DOUTPUT=${P_OUTPUT} -P ${script}
        DEPENDS ${P_FILES} ${P_DEPENDS} ${wxs} ${script}
        COMMENT "Building ${stem}.msi"
        VERBATIM)
endfunction()
