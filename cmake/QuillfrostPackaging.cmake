# The release version and the recipe of the Windows installer, shared by the
# release packages (packaging/windows) and the package test (tests/package).

# Packages carry major.minor.patch of the project version.
set(QF_PACKAGE_VERSION "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH}")
set(QF_RELEASE_DIR ${PROJECT_BINARY_DIR}/packaging/windows)
set(QF_RELEASE_MSI ${QF_RELEASE_DIR}/Quillfrost-${QF_PACKAGE_VERSION}-x64.msi)
set(QF_RELEASE_ZIP ${QF_RELEASE_DIR}/Quillfrost-${QF_PACKAGE_VERSION}-win-x64.zip)

find_program(QF_WIXL wixl REQUIRED)

# qf_add_windows_installer(OUTPUT file.msi VERSION x.y.z SAVER file [DEPENDS ...])
# Builds packaging/windows/quillfrost.wxs with wixl into OUTPUT, installing
# SAVER as Quillfrost.scr. wixl finds the source files by name in its working
# folder, so the saver and the icon are staged in a folder of their own.
function(qf_add_windows_installer)
    cmake_parse_arguments(P "" "OUTPUT;VERSION;SAVER" "DEPENDS" ${ARGN})
    get_filename_component(stem ${P_OUTPUT} NAME_WLE)
    set(stage ${CMAKE_CURRENT_BINARY_DIR}/${stem}.stage)
    file(MAKE_DIRECTORY ${stage})
    set(wxs ${PROJECT_SOURCE_DIR}/packaging/windows/quillfrost.wxs)
    set(icon ${PROJECT_SOURCE_DIR}/resources/snowflake_133.ico)
    add_custom_command(
        OUTPUT ${P_OUTPUT}
        COMMAND ${CMAKE_COMMAND} -E copy ${P_SAVER} ${stage}/Quillfrost.scr
        COMMAND ${CMAKE_COMMAND} -E copy ${icon} ${stage}/snowflake_133.ico
        COMMAND ${QF_WIXL} -a x64 -D Version=${P_VERSION} -o ${P_OUTPUT} ${wxs}
        WORKING_DIRECTORY ${stage}
        DEPENDS ${P_SAVER} ${P_DEPENDS} ${wxs} ${icon}
        COMMENT "Building ${stem}.msi"
        VERBATIM)
endfunction()
