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

# corvelle_program(NAME <name> [CORE_LIBS ...] [UI_LIBS ...])
# Sources are picked up by folder so that new files need no list edits:
#   core/*.cpp -> <name>_core   (no Qt Widgets)
#   ui/*.cpp   -> <name>_ui     (Qt Widgets, calls <name>_core)
#   main.cpp   -> <name>
#   tests/*.cpp -> <name>_tests (GoogleTest, run by ctest)
function(corvelle_program)
    cmake_parse_arguments(P "" "NAME" "CORE_LIBS;UI_LIBS" ${ARGN})
    set(dir ${CMAKE_CURRENT_SOURCE_DIR})
    # A library needs one source even while its folder is still empty.
    set(placeholder ${CMAKE_CURRENT_BINARY_DIR}/${P_NAME}_placeholder.cpp)
    file(WRITE ${placeholder} "namespace { [[maybe_unused]] int placeholder; }\n")

    file(GLOB core_sources CONFIGURE_DEPENDS ${dir}/core/*.cpp)
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

    add_executable(${P_NAME} ${dir}/main.cpp)
    target_link_libraries(${P_NAME} PRIVATE ${P_NAME}_ui)
    set_target_properties(${P_NAME} PROPERTIES AUTOMOC ON)
    corvelle_warnings(${P_NAME})
    install(TARGETS ${P_NAME} RUNTIME DESTINATION bin)
    set_property(GLOBAL APPEND PROPERTY CORVELLE_INSTALLED_PROGRAMS bin/${P_NAME})

    file(GLOB test_sources CONFIGURE_DEPENDS ${dir}/tests/*.cpp)
    if(test_sources AND CORVELLE_TESTS)
        add_executable(${P_NAME}_tests ${test_sources})
        target_link_libraries(${P_NAME}_tests PRIVATE ${P_NAME}_ui common_test_support)
        target_compile_definitions(${P_NAME}_tests PRIVATE
            CORVELLE_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
            CORVELLE_BINARY_DIR="${CMAKE_BINARY_DIR}"
            CORVELLE_PROGRAM_PATH="$<TARGET_FILE:${P_NAME}>")
        add_dependencies(${P_NAME}_tests ${P_NAME})
        set_target_properties(${P_NAME}_tests PROPERTIES AUTOMOC ON)
        corvelle_warnings(${P_NAME}_tests)
        corvelle_discover_tests(${P_NAME}_tests)
    endif()
endfunction()
