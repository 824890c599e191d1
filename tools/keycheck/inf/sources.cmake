# The INF reader: Microsoft's syntax rules, the models each Windows version reads, and the
# lookup of the lines that install a device.
list(APPEND KEYCHECK_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/inf_entry.cpp
    ${CMAKE_CURRENT_LIST_DIR}/inf_file.cpp
    ${CMAKE_CURRENT_LIST_DIR}/inf_lines.cpp
    ${CMAKE_CURRENT_LIST_DIR}/inf_models.cpp
    ${CMAKE_CURRENT_LIST_DIR}/inf_text.cpp
    ${CMAKE_CURRENT_LIST_DIR}/model_match.cpp
    ${CMAKE_CURRENT_LIST_DIR}/target_os.cpp
    ${CMAKE_CURRENT_LIST_DIR}/version_inf.cpp)
list(APPEND KEYCHECK_TEST_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/../tests/inf/inf_conformance_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/../tests/inf/inf_file_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/../tests/inf/inf_fixture.cpp
    ${CMAKE_CURRENT_LIST_DIR}/../tests/inf/inf_models_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/../tests/inf/model_match_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/../tests/inf/target_os_test.cpp)
