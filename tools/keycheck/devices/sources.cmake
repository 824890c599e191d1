# The PCI devices of a registry export, the key.ini entry each one matches and the INF line
# that would install it.
list(APPEND KEYCHECK_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/install_lookup.cpp
    ${CMAKE_CURRENT_LIST_DIR}/package_match.cpp
    ${CMAKE_CURRENT_LIST_DIR}/pci_devices.cpp)
list(APPEND KEYCHECK_TEST_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/../tests/devices/devices_test.cpp)
