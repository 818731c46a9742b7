find_package(GTest REQUIRED)
include(GoogleTest)

# Runs a command inside its own X server (a free display the server picks itself).
set(CORVANE_RUN_IN_XVFB ${CMAKE_CURRENT_LIST_DIR}/run-in-xvfb.sh)

# corvane_add_gtest(<name> SOURCES ... LIBS ... [XVFB])
# One GoogleTest program; its cases are listed to ctest at test time. Headless by default;
# XVFB runs the program inside its own X server (so parallel tests never share a clipboard).
function(corvane_add_gtest name)
    cmake_parse_arguments(ARG "XVFB" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gmock GTest::gtest_main Qt6::Test)
    if(ARG_XVFB)
        add_test(NAME ${name}
            COMMAND ${CORVANE_RUN_IN_XVFB} $<TARGET_FILE:${name}>)
        set_tests_properties(${name} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=xcb" LABELS xvfb)
    else()
        gtest_discover_tests(${name}
            DISCOVERY_MODE PRE_TEST
            PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
    endif()
endfunction()
