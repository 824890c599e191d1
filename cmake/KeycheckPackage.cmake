# keycheck as users install it (cpack in the build folder): a Debian package of the program,
# its manual page and manual (release preset), or a zip of keycheck.exe and its manual (win32).
set(CPACK_PACKAGE_NAME keycheck)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The driver-setup launcher's developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "checks a driver package the way the driver-setup launcher reads it")
set(CPACK_PACKAGE_CONTACT "keycheck maintainers <keycheck@invalid>")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The Sleuth Kit is loaded when a disk image is read (dlopen), which shlibdeps cannot see.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libtsk19")
if(CMAKE_SYSTEM_NAME STREQUAL "Windows")
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME keycheck-${PROJECT_VERSION}-windows-${CMAKE_SYSTEM_PROCESSOR})
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
else()
  set(CPACK_GENERATOR DEB)
endif()
include(CPack)
