# keycheck txtsetup: a driver disk's TXTSETUP.OEM, the F6 file of Windows 2000 and XP text-mode
# setup, by the rules it goes by, and its PCI IDs against key.ini and the models.
list(APPEND KEYCHECK_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/txtsetup_check.cpp
    ${CMAKE_CURRENT_LIST_DIR}/txtsetup_file.cpp)
list(APPEND KEYCHECK_TEST_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/../tests/txtsetup/txtsetup_test.cpp)
