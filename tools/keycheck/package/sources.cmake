# The driver package: its folder, key.ini's entries and the lint checks.
list(APPEND KEYCHECK_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/key_entries.cpp
    ${CMAKE_CURRENT_LIST_DIR}/key_file_findings.cpp
    ${CMAKE_CURRENT_LIST_DIR}/package_folder.cpp
    ${CMAKE_CURRENT_LIST_DIR}/package_lint.cpp)
list(APPEND KEYCHECK_TEST_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/../tests/package/key_entries_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/../tests/package/package_lint_test.cpp)
