# check_layers.cmake: refuses an include that points up the layers.
#   cmake -DSOURCE_DIR=<tree> [-DSCAN_DIR=<dir>] -P check_layers.cmake
# Scans the layer folders of cmake/layers.cmake and video/ under SCAN_DIR
# (default SOURCE_DIR); headers resolve next to the including file or from
# SOURCE_DIR. Known exceptions, each one to be removed, are listed in
# layer_exceptions.txt; a listed exception that no longer occurs fails too,
# so the list only shrinks.
include(${CMAKE_CURRENT_LIST_DIR}/layers.cmake)
if(NOT SCAN_DIR)
  set(SCAN_DIR ${SOURCE_DIR})
endif()

# Sets out to the layer number of a path relative to the tree, to "video"
# for the video library, or to "" for code outside the layers.
function(delvorn_layer_of path out)
  string(REGEX REPLACE "/.*$" "" folder "${path}")
  if(folder STREQUAL "video")
    set(${out} video PARENT_SCOPE)
  else()
    list(FIND DELVORN_LAYERS "${folder}" layer)
    if(layer EQUAL -1 OR NOT path MATCHES "/")
      set(layer "")
    endif()
    set(${out} ${layer} PARENT_SCOPE)
  endif()
endfunction()

file(STRINGS ${CMAKE_CURRENT_LIST_DIR}/layer_exceptions.txt exceptions REGEX "^[^#].* -> ")
set(unused ${exceptions})
set(problems "")

set(patterns "")
foreach(folder ${DELVORN_LAYERS} video)
  list(APPEND patterns ${SCAN_DIR}/${folder}/*.h ${SCAN_DIR}/${folder}/*.cpp ${SCAN_DIR}/${folder}/*.c)
endforeach()
file(GLOB_RECURSE files RELATIVE ${SCAN_DIR} ${patterns})

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
        list(GET DELVORN_LAYERS ${from} fromName)
        list(GET DELVORN_LAYERS ${to} toName)
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
