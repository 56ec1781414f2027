# check_layers.cmake: refuses an include that points up the layers.
#   cmake -DSOURCE_DIR=<tree> [-DSCAN_DIR=<dir>] -P check_layers.cmake
# Scans the layered folders under SCAN_DIR (default SOURCE_DIR); headers
# resolve next to the including file or from SOURCE_DIR. Known exceptions,
# each one to be removed, are listed in layer_exceptions.txt; a listed
# exception that no longer occurs fails too, so the list only shrinks.
include(${CMAKE_CURRENT_LIST_DIR}/layers.cmake)
if(NOT SCAN_DIR)
  set(SCAN_DIR ${SOURCE_DIR})
endif()

file(STRINGS ${CMAKE_CURRENT_LIST_DIR}/layer_exceptions.txt exceptions REGEX "^[^#].* -> ")
set(unused ${exceptions})
set(problems "")

file(GLOB_RECURSE files RELATIVE ${SCAN_DIR}
     ${SCAN_DIR}/platform/*.h ${SCAN_DIR}/platform/*.cpp ${SCAN_DIR}/shell/*.h ${SCAN_DIR}/shell/*.cpp
     ${SCAN_DIR}/blend/*.h ${SCAN_DIR}/blend/*.cpp ${SCAN_DIR}/level/*.h ${SCAN_DIR}/level/*.cpp
     ${SCAN_DIR}/gameplay/*.h ${SCAN_DIR}/gameplay/*.cpp ${SCAN_DIR}/screens/*.h
     ${SCAN_DIR}/screens/*.cpp ${SCAN_DIR}/video/*.h ${SCAN_DIR}/video/*.cpp)
foreach(file ${files})
  delvorn_layer_of(${file} from)
  get_filename_component(dir ${file} DIRECTORY)
  file(STRINGS ${SCAN_DIR}/${file} lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
  foreach(line ${lines})
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]+)\".*$" "\\1" header "${line}")
    if(EXISTS ${SCAN_DIR}/${dir}/${header})
      file(RELATIVE_PATH header ${SCAN_DIR} ${SCAN_DIR}/${dir}/${header})
    elseif(NOT EXISTS ${SOURCE_DIR}/${header})
      continue()  # not ours
    endif()
    delvorn_layer_of(${header} to)
    set(wrong FALSE)
    if(from STREQUAL "video" OR to STREQUAL "video")
      if(NOT from STREQUAL to)
        set(wrong TRUE)
      endif()
    elseif(NOT from STREQUAL "" AND NOT to STREQUAL "" AND to GREATER from)
      set(wrong TRUE)
    endif()
    if(wrong)
      set(edge "${file} -> ${header}")
      list(FIND exceptions "${edge}" known)
      if(known EQUAL -1)
        list(GET DELVORN_LAYER_NAMES ${from} fromName)
        list(GET DELVORN_LAYER_NAMES ${to} toName)
        string(APPEND problems "  ${edge} (${fromName} may not include ${toName})\n")
      else()
        list(REMOVE_ITEM unused "${edge}")
      endif()
    endif()
  endforeach()
endforeach()

if(SCAN_DIR STREQUAL SOURCE_DIR)
  foreach(edge ${unused})
    string(APPEND problems "  ${edge} is listed in cmake/layer_exceptions.txt but gone: strike it\n")
  endforeach()
endif()
if(problems)
  message(FATAL_ERROR "Includes against the layers (cmake/layers.cmake):\n${problems}")
endif()
