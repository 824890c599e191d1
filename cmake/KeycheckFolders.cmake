# keycheck_folder(): one folder of tools/keycheck as one library that links only the folders
# below it (tools/keycheck/folders.cmake declares them all); keycheck_check_layers(): the
# configure step's check that no source includes a folder above its own.
#
# The declarations are kept in global properties, so that both the keycheck build and the fuzz
# build, which compiles the readers with its own flags, read them.
function(keycheck_folder name)
  cmake_parse_arguments(PARSE_ARGV 1 FOLDER "" "" "DEPENDS;SOURCES;TESTS;OPTIONAL")
  set(dir ${CMAKE_SOURCE_DIR}/tools/keycheck/${name})
  list(TRANSFORM FOLDER_SOURCES PREPEND ${dir}/)
  list(TRANSFORM FOLDER_TESTS PREPEND ${CMAKE_SOURCE_DIR}/tools/keycheck/tests/)
  get_property(declared GLOBAL PROPERTY KEYCHECK_FOLDERS)
  set(closure ${FOLDER_DEPENDS})
  foreach(dependency ${FOLDER_DEPENDS})
    if(NOT dependency IN_LIST declared)
      message(FATAL_ERROR "keycheck folder ${name} depends on ${dependency}, which is not "
                          "declared below it in tools/keycheck/folders.cmake")
    endif()
    get_property(below GLOBAL PROPERTY KEYCHECK_${dependency}_CLOSURE)
    list(APPEND closure ${below})
  endforeach()
  list(REMOVE_DUPLICATES closure)
  set_property(GLOBAL APPEND PROPERTY KEYCHECK_FOLDERS ${name})
  set_property(GLOBAL PROPERTY KEYCHECK_${name}_DEPENDS ${FOLDER_DEPENDS})
  set_property(GLOBAL PROPERTY KEYCHECK_${name}_CLOSURE ${closure})
  set_property(GLOBAL PROPERTY KEYCHECK_${name}_SOURCES ${FOLDER_SOURCES})
  set_property(GLOBAL PROPERTY KEYCHECK_${name}_TESTS ${FOLDER_TESTS})
  if(FOLDER_OPTIONAL)
    list(GET FOLDER_OPTIONAL 0 library)
    list(GET FOLDER_OPTIONAL 1 module)
    list(GET FOLDER_OPTIONAL 2 with)
    list(GET FOLDER_OPTIONAL 3 without)
    set_property(GLOBAL PROPERTY KEYCHECK_${name}_OPTIONAL ${library} ${module} ${dir}/${with}
                 ${dir}/${without})
  endif()
endfunction()

# The sources of folders and of every folder below them, for a build that compiles them as one:
# with each optional library's "with" source when use_optional is true, its "without" one else.
function(keycheck_sources out use_optional)
  set(folders ${ARGN})
  foreach(folder ${ARGN})
    get_property(below GLOBAL PROPERTY KEYCHECK_${folder}_CLOSURE)
    list(APPEND folders ${below})
  endforeach()
  list(REMOVE_DUPLICATES folders)
  set(sources)
  foreach(folder ${folders})
    get_property(own GLOBAL PROPERTY KEYCHECK_${folder}_SOURCES)
    get_property(optional GLOBAL PROPERTY KEYCHECK_${folder}_OPTIONAL)
    list(APPEND sources ${own})
    if(optional)
      if(use_optional)
        list(GET optional 2 chosen)
      else()
        list(GET optional 3 chosen)
      endif()
      list(APPEND sources ${chosen})
    endif()
  endforeach()
  set(${out} ${sources} PARENT_SCOPE)
endfunction()

# Fails the configure step when a file of a folder includes a folder that is neither itself nor
# below it.
function(keycheck_check_layers)
  get_property(folders GLOBAL PROPERTY KEYCHECK_FOLDERS)
  foreach(folder ${folders})
    get_property(closure GLOBAL PROPERTY KEYCHECK_${folder}_CLOSURE)
    file(GLOB files ${CMAKE_SOURCE_DIR}/tools/keycheck/${folder}/*.h
         ${CMAKE_SOURCE_DIR}/tools/keycheck/${folder}/*.cpp)
    foreach(file ${files})
      file(STRINGS ${file} includes REGEX "^#include \"tools/keycheck/")
      foreach(line ${includes})
        string(REGEX REPLACE "^#include \"tools/keycheck/([a-z0-9_]+)/.*" "\\1" included
               "${line}")
        if(NOT included STREQUAL folder AND NOT included IN_LIST closure)
          message(FATAL_ERROR "${file}: includes tools/keycheck/${included}/, which is not "
                              "below ${folder} in tools/keycheck/folders.cmake")
        endif()
      endforeach()
    endforeach()
  endforeach()
endfunction()
