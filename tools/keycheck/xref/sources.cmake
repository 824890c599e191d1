# The cross-check of key.ini against the INF files each Windows version reads, and the key.ini
# made from them: the xref and gen verbs.
list(APPEND KEYCHECK_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/key_file_gen.cpp
    ${CMAKE_CURRENT_LIST_DIR}/package_files.cpp
    ${CMAKE_CURRENT_LIST_DIR}/pci_id_form.cpp
    ${CMAKE_CURRENT_LIST_DIR}/xref.cpp)
list(APPEND KEYCHECK_TEST_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/../tests/xref/pci_id_form_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/../tests/xref/xref_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/../tests/xref/key_file_gen_test.cpp)
