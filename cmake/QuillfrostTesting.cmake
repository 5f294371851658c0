# GoogleTest for both builds: the machine's libgtest-dev natively, and the same
# sources from /usr/src/googletest cross-built for the Windows test programs.
if(WIN32)
    set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
    set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
    set(QF_GTEST_MAIN gtest_main)
    set(QF_GMOCK gmock)
else()
    find_package(GTest REQUIRED)
    set(QF_GTEST_MAIN GTest::gtest_main)
    set(QF_GMOCK GTest::gmock)
endif()

# qf_add_test(NAME name SOURCES ... [LIBS ...] [LABELS ...] [SERIAL] [TIMEOUT s])
# One GoogleTest program registered as one ctest test. In the Windows build
# ctest runs it through Wine (the toolchain's emulator).
function(qf_add_test)
    cmake_parse_arguments(T "SERIAL" "NAME;TIMEOUT" "SOURCES;LIBS;LABELS" ${ARGN})
    add_executable(${T_NAME} ${T_SOURCES})
    target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} ${QF_GMOCK} ${QF_GTEST_MAIN})
    target_include_directories(${T_NAME} PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/tests)
    if(WIN32)
        # Console programs; the Windows headers' unicode macros stay off.
        target_link_options(${T_NAME} PRIVATE -mconsole)
    endif()
    add_test(NAME ${T_NAME} COMMAND ${T_NAME} --gtest_brief=1
             WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
    if(NOT T_TIMEOUT)
        set(T_TIMEOUT 300)
    endif()
    set_tests_properties(${T_NAME} PROPERTIES TIMEOUT ${T_TIMEOUT})
    if(T_LABELS)
        set_tests_properties(${T_NAME} PROPERTIES LABELS "${T_LABELS}")
    endif()
    if(T_SERIAL OR WIN32)
        # Tests that own the screen (full-screen windows, input) never
        # overlap; nor do the Windows programs, which share Wine's display,
        # cursor and foreground window.
        set_tests_properties(${T_NAME} PROPERTIES RESOURCE_LOCK screen)
    endif()
endfunction()

# qf_add_reproduction_test(NAME name TOOL target EXPECTED committed-file [ARGS ...])
# The generator, run into a scratch file, writes exactly the committed file.
function(qf_add_reproduction_test)
    cmake_parse_arguments(R "" "NAME;TOOL;EXPECTED" "ARGS" ${ARGN})
    get_filename_component(scratch ${R_EXPECTED} NAME)
    add_test(NAME ${R_NAME}
             COMMAND ${CMAKE_COMMAND} -DTOOL=$<TARGET_FILE:${R_TOOL}> "-DARGS=${R_ARGS}"
                     -DOUT=${CMAKE_CURRENT_BINARY_DIR}/${scratch}
                     -DEXPECTED=${R_EXPECTED}
                     -P ${PROJECT_SOURCE_DIR}/cmake/ReproducesCommitted.cmake)
endfunction()
