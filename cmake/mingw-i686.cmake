# Cross toolchain for the shipped Windows build: MinGW-w64, 32-bit x86.
set(MINGW_ARCH i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
