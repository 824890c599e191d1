# Cross toolchain for the 64-bit build that the tests run under wine64 where a machine runs no
# 32-bit code: MinGW-w64, x86-64. Nothing of it ships.
set(MINGW_ARCH x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
