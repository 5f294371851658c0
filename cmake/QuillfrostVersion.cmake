# The release number, written once: the project version in CMakeLists.txt.
# Parts it leaves out count as 0.
#   QF_VERSION_MAJOR .. QF_VERSION_TWEAK  the four numbers
#   QF_FILE_VERSION     major.minor.patch.tweak: version block and manifest
#   QF_PACKAGE_VERSION  major.minor.patch: packages and their file names
#   QF_DEB_VERSION      the .deb's: QF_PACKAGE_VERSION-QF_DEB_REVISION
foreach(part MAJOR MINOR PATCH TWEAK)
    if("${PROJECT_VERSION_${part}}" STREQUAL "")
        set(QF_VERSION_${part} 0)
    else()
        set(QF_VERSION_${part} ${PROJECT_VERSION_${part}})
    endif()
endforeach()
set(QF_PACKAGE_VERSION ${QF_VERSION_MAJOR}.${QF_VERSION_MINOR}.${QF_VERSION_PATCH})
set(QF_FILE_VERSION ${QF_PACKAGE_VERSION}.${QF_VERSION_TWEAK})
# The .deb's version: the package version and the Debian revision 1, the
# first packaging of that release.
set(QF_DEB_REVISION 1)
set(QF_DEB_VERSION ${QF_PACKAGE_VERSION}-${QF_DEB_REVISION})
