# layers.cmake: the game's layers, lowest first. A file may include headers
# of its own layer and of the layers below it, never above; video/ is apart
# and shares nothing with the game but Allegro. The first rule a path
# matches gives its layer. Read by check_layers.cmake.
set(DELVORN_LAYER_NAMES platform base blend map gameplay level screens shell)
set(DELVORN_LAYER_RULES
  "^platform/=0"
  "^shell/base/=1"
  "^shell/(config|log|sound|input|seam|datapass|datasum)\\.(h|cpp)$=1"
  "^gameplay/(gameobject|masked_sprite)\\.(h|cpp)$=1"
  "^blend/=2"
  "^level/(levelmap|mapcodes)\\.(h|cpp)$=3"
  "^gameplay/=4"
  "^level/=5"
  "^screens/=6"
  "^shell/=7"
)

# Sets out to the layer number of a path relative to the source tree, or
# to "video" for the video library, or to "" for code outside the layers.
function(delvorn_layer_of path out)
  if(path MATCHES "^video/")
    set(${out} video PARENT_SCOPE)
    return()
  endif()
  foreach(rule ${DELVORN_LAYER_RULES})
    string(REGEX REPLACE "=[0-9]+$" "" pattern "${rule}")
    string(REGEX REPLACE "^.*=" "" layer "${rule}")
    if(path MATCHES "${pattern}")
      set(${out} ${layer} PARENT_SCOPE)
      return()
    endif()
  endforeach()
  set(${out} "" PARENT_SCOPE)
endfunction()
