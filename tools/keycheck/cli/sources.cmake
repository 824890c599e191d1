# keycheck's command line: the CLI11 verbs and the dispatcher that runs them.
list(APPEND KEYCHECK_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/command_line.cpp
    ${CMAKE_CURRENT_LIST_DIR}/keycheck_cli.cpp)
list(APPEND KEYCHECK_TEST_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/../tests/cli/cli_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/../tests/temp_folder.cpp)
