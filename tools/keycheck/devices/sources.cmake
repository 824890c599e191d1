# The PCI devices of a registry export, and the key.ini entry each one matches.
list(APPEND KEYCHECK_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/package_match.cpp
    ${CMAKE_CURRENT_LIST_DIR}/pci_devices.cpp)
list(APPEND KEYCHECK_TEST_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/../tests/devices/devices_test.cpp)
