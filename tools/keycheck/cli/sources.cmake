# keycheck's command line and its verbs: the options parsed with CLI11, the machine each verb sets
# up, and each verb run as its job and its report.
list(APPEND KEYCHECK_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/command_line.cpp
    ${CMAKE_CURRENT_LIST_DIR}/keycheck_cli.cpp
    ${CMAKE_CURRENT_LIST_DIR}/machine_setup.cpp
    ${CMAKE_CURRENT_LIST_DIR}/verbs.cpp)
list(APPEND KEYCHECK_TEST_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/../tests/cli/cli_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/../tests/cli/verbs_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/../tests/temp_folder.cpp)
