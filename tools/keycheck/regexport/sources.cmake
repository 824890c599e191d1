# The registry-export reader: both encodings, keys and values; and SYSTEM hive files, through
# hivex, read as exports of their current control set.
list(APPEND KEYCHECK_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/hivex_file.cpp
    ${CMAKE_CURRENT_LIST_DIR}/system_hive.cpp
    ${CMAKE_CURRENT_LIST_DIR}/control_set.cpp
    ${CMAKE_CURRENT_LIST_DIR}/reg_cursor.cpp
    ${CMAKE_CURRENT_LIST_DIR}/reg_export.cpp
    ${CMAKE_CURRENT_LIST_DIR}/reg_key_tree.cpp
    ${CMAKE_CURRENT_LIST_DIR}/reg_parser.cpp
    ${CMAKE_CURRENT_LIST_DIR}/reg_text.cpp
    ${CMAKE_CURRENT_LIST_DIR}/reg_value_text.cpp)
list(APPEND KEYCHECK_TEST_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/../tests/regexport/reg_export_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/../tests/regexport/reg_values_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/../tests/hive/system_hive_test.cpp)
