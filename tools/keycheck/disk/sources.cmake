# keycheck disk: the package as the floppy or CD it ships on, made and read back with Debian's
# tools of the field (mtools, dosfstools, xorriso, bsdtar).
list(APPEND KEYCHECK_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/disk_image.cpp
    ${CMAKE_CURRENT_LIST_DIR}/disk_tools.cpp)
