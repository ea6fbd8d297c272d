# contour_add_test(NAME SOURCES... LIBS... [LABELS...] [ENV...])
# Builds one test executable from its own sources, links it against the libraries it tests
# (never recompiling their sources) and registers it with CTest.
find_package(GTest REQUIRED)

# Environment every test runs with. Under the sanitizers, leaks that system libraries make
# are not this program's.
set(CONTOUR_TEST_ENV "")
if(CONTOUR_SANITIZE)
    list(APPEND CONTOUR_TEST_ENV "LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/lsan.supp")
endif()

function(contour_add_test name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS;LABELS;ENV" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS})
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES LABELS "${ARG_LABELS}"
                                            ENVIRONMENT "${ARG_ENV};${CONTOUR_TEST_ENV}")
endfunction()
