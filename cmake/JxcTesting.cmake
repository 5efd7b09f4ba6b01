# jxc_add_gtest(NAME SOURCES... LIBS ...): a GoogleTest program run through CTest.
# jxc_add_qtest(NAME SOURCES... LIBS ...): a Qt Test program run under the offscreen platform, with
# the scripted platform that answers its message boxes and dialogs.
include(GoogleTest)

set(JXC_TEST_ENV
    "QT_QPA_PLATFORM=offscreen"
    "LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/lsan.supp:print_suppressions=0"
    "ASAN_OPTIONS=detect_leaks=1"
    "UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1"
    "QT_LOGGING_RULES=qt.qpa.fonts.warning=false")

function(jxc_add_gtest name)
    cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${T_SOURCES})
    target_link_libraries(${name} PRIVATE jxc_options ${T_LIBS} GTest::gtest GTest::gtest_main)
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "${JXC_TEST_ENV}" TIMEOUT 300)
endfunction()

function(jxc_add_qtest name)
    cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${T_SOURCES})
    target_link_libraries(${name} PRIVATE jxc_options ${T_LIBS} jxc_test_platform Qt6::Test
                                          Qt6::Widgets)
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "${JXC_TEST_ENV}" TIMEOUT 300)
endfunction()
