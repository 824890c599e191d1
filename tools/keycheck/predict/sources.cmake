# The prediction: the launcher run on the machine a registry export describes.
list(APPEND KEYCHECK_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/install_check.cpp
    ${CMAKE_CURRENT_LIST_DIR}/prediction.cpp
    ${CMAKE_CURRENT_LIST_DIR}/version_names.cpp)
list(APPEND KEYCHECK_TEST_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/../tests/predict/install_check_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/../tests/predict/prediction_test.cpp)
