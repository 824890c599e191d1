# Text between UTF-16, UTF-8 and the ANSI code pages of the launcher's markets, and ANSI bytes
# as the jobs and reports show them.
list(APPEND KEYCHECK_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/code_page.cpp
    ${CMAKE_CURRENT_LIST_DIR}/shown_text.cpp)
list(APPEND KEYCHECK_TEST_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/../tests/text/code_page_test.cpp)
