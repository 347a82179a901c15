# Shared build rules: our warnings, and the standard shape of a program folder
# (core/ library, ui/ library, main.cpp, tests/ suite).

function(corvelle_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
endfunction()

include(GoogleTest)
include(${CMAKE_CURRENT_LIST_DIR}/DesktopFiles.cmake)

# Registers every test case of a GoogleTest executable with ctest, so that a failure names
# the case and `ctest -R` selects single cases. The cases are listed when ctest runs, so a
# build needs no display.
function(corvelle_discover_tests target)
    gtest_discover_tests(${target}
        DISCOVERY_MODE PRE_TEST
        DISCOVERY_TIMEOUT 60
        PROPERTIES TIMEOUT 900 ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()

# corvelle_private_part(<name> <part> <library>)
# <part>_main.cpp -> <name>-<part>, linking <library>: a private executable the front
# <name> starts in its place. Installed in CORVELLE_PRIVATE_FOLDER; in the build tree it
# sits beside the front, which finds it there. Building the front builds its parts.
function(corvelle_private_part name part library)
    set(target ${name}-${part})
    add_executable(${target} ${CMAKE_CURRENT_SOURCE_DIR}/${part}_main.cpp)
    target_link_libraries(${target} PRIVATE ${library})
    target_link_options(${target} PRIVATE LINKER:--as-needed)
    set_target_properties(${target} PROPERTIES AUTOMOC ON)
    corvelle_warnings(${target})
    install(TARGETS ${target} RUNTIME DESTINATION ${CORVELLE_PRIVATE_FOLDER})
    set_property(GLOBAL APPEND PROPERTY CORVELLE_INSTALLED_PROGRAMS
                 ${CORVELLE_PRIVATE_FOLDER}/${target})
    add_dependencies(${name} ${target})
endfunction()

# corvelle_test_suite(<target> SOURCES ... LIBS ... [PROGRAM <program>])
# One GoogleTest executable, its cases registered with ctest. Tests that run a program
# are told its path, and the program is built before them.
function(corvelle_test_suite target)
    cmake_parse_arguments(S "" "PROGRAM" "SOURCES;LIBS" ${ARGN})
    add_executable(${target} ${S_SOURCES})
    target_link_libraries(${target} PRIVATE ${S_LIBS})
    target_compile_definitions(${target} PRIVATE
        CORVELLE_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
        CORVELLE_BINARY_DIR="${CMAKE_BINARY_DIR}")
    if(S_PROGRAM)
        target_compile_definitions(${target} PRIVATE
            CORVELLE_PROGRAM_PATH="$<TARGET_FILE:${S_PROGRAM}>")
        add_dependencies(${target} ${S_PROGRAM})
    endif()
    set_target_properties(${target} PROPERTIES AUTOMOC ON)
    corvelle_warnings(${target})
    corvelle_discover_tests(${target})
endfunction()

# corvelle_program(NAME <name> [CORE_LIBS ...] [UI_LIBS ...])
# Sources are picked up by folder so that new files need no list edits:
#   core/**/*.cpp       -> <name>_core          (no Qt Widgets; folders group it by concern)
#   ui/*.cpp            -> <name>_ui            (Qt Widgets, calls <name>_core)
#   main.cpp            -> <name>
#   tests/support/*.cpp -> <name>_test_support  (helpers both suites share; no Qt Widgets)
#   tests/ui_*.cpp      -> <name>_ui_tests      (window tests, linking <name>_ui)
#   other tests/*.cpp   -> <name>_core_tests    (linking <name>_core only)
function(corvelle_program)
    cmake_parse_arguments(P "" "NAME" "CORE_LIBS;UI_LIBS" ${ARGN})
    set(dir ${CMAKE_CURRENT_SOURCE_DIR})
    # A library needs one source even while its folder is still empty.
    set(placeholder ${CMAKE_CURRENT_BINARY_DIR}/${P_NAME}_placeholder.cpp)
    file(WRITE ${placeholder} "namespace { [[maybe_unused]] int placeholder; }\n")

    file(GLOB_RECURSE core_sources CONFIGURE_DEPENDS ${dir}/core/*.cpp)
    add_library(${P_NAME}_core STATIC ${core_sources} ${placeholder})
    target_include_directories(${P_NAME}_core PUBLIC ${dir})
    target_link_libraries(${P_NAME}_core PUBLIC common ${P_CORE_LIBS})
    set_target_properties(${P_NAME}_core PROPERTIES LINKER_LANGUAGE CXX)
    corvelle_warnings(${P_NAME}_core)

    file(GLOB ui_sources CONFIGURE_DEPENDS ${dir}/ui/*.cpp ${dir}/ui/*.h ${dir}/ui/*.qrc)
    add_library(${P_NAME}_ui STATIC ${ui_sources} ${placeholder})
    target_link_libraries(${P_NAME}_ui PUBLIC ${P_NAME}_core common_ui Qt6::Widgets ${P_UI_LIBS})
    set_target_properties(${P_NAME}_ui PROPERTIES LINKER_LANGUAGE CXX AUTOMOC ON AUTORCC ON)
    corvelle_warnings(${P_NAME}_ui)

    # The program users run is a small front; what needs large libraries runs in private
    # parts it starts in its place (see corvelle_private_part). Every executable links
    # only the libraries its own code calls, so --version and the metadata modes load
    # neither Qt Widgets nor libvips.
    add_executable(${P_NAME} ${dir}/main.cpp)
    corvelle_warnings(${P_NAME})
    install(TARGETS ${P_NAME} RUNTIME DESTINATION bin)
    set_property(GLOBAL APPEND PROPERTY CORVELLE_INSTALLED_PROGRAMS bin/${P_NAME})
    if(NOT EXISTS ${dir}/window_main.cpp)
        # A program still in one piece.
        target_link_libraries(${P_NAME} PRIVATE ${P_NAME}_ui)
        set_target_properties(${P_NAME} PROPERTIES AUTOMOC ON)
    else()
        # The front: no Qt Widgets, no libvips. window_main.cpp and headless_main.cpp
        # become the private parts it starts.
        target_link_libraries(${P_NAME} PRIVATE ${P_NAME}_core)
        target_link_options(${P_NAME} PRIVATE LINKER:--as-needed)
        corvelle_private_part(${P_NAME} window ${P_NAME}_ui)
        if(EXISTS ${dir}/headless_main.cpp)
            corvelle_private_part(${P_NAME} headless ${P_NAME}_core)
        endif()
    endif()

    if(NOT CORVELLE_TESTS)
        return()
    endif()
    # The shared helpers are compiled once and put whole into both suites, so that a
    # helper which only registers itself (a test environment) is not dropped by the linker.
    file(GLOB support_sources CONFIGURE_DEPENDS ${dir}/tests/support/*.cpp)
    set(support)
    if(support_sources)
        add_library(${P_NAME}_test_support OBJECT ${support_sources})
        target_include_directories(${P_NAME}_test_support PUBLIC ${dir}/tests)
        target_link_libraries(${P_NAME}_test_support PUBLIC ${P_NAME}_core common_test_support)
        corvelle_warnings(${P_NAME}_test_support)
        set(support ${P_NAME}_test_support)
    endif()
    file(GLOB test_sources CONFIGURE_DEPENDS ${dir}/tests/*.cpp)
    set(core_tests)
    set(ui_tests)
    foreach(source ${test_sources})
        get_filename_component(name ${source} NAME)
        if(name MATCHES "^ui_")
            list(APPEND ui_tests ${source})
        else()
            list(APPEND core_tests ${source})
        endif()
    endforeach()
    if(core_tests)
        corvelle_test_suite(${P_NAME}_core_tests PROGRAM ${P_NAME} SOURCES ${core_tests}
            LIBS ${P_NAME}_core ${support} common_test_support common_test_main)
    endif()
    if(ui_tests)
        corvelle_test_suite(${P_NAME}_ui_tests PROGRAM ${P_NAME} SOURCES ${ui_tests}
            LIBS ${P_NAME}_ui ${support} common_test_support common_ui_test_main)
    endif()
endfunction()
