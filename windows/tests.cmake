# The test programs of the Windows build: the mivolen suite and the unit tests
# that need no Linux-only layer (no fork, no X11, no host tools). Included by
# tests/CMakeLists.txt; windows/test.sh runs each program under wine.
set(T ${CMAKE_SOURCE_DIR}/tests)

delvorn_add_test(alfont_tests ${T}/alfont/alfont_test.cpp)
delvorn_add_test(blend_tests ${T}/blend/blend_test.cpp)
delvorn_add_test(fonts_tests ${T}/fonts/fonts_test.cpp)
delvorn_add_test(shell_tests ${T}/shell/log_test.cpp ${T}/shell/config_test.cpp
                 ${T}/shell/input_test.cpp ${T}/shell/pacing_test.cpp)
delvorn_add_test(screens_tests ${T}/screens/text_test.cpp)
delvorn_add_test(level_tests ${T}/level/level_support.cpp ${T}/level/gameobject_test.cpp
                 ${T}/level/mapfile_test.cpp ${T}/level/mapdraw_test.cpp ${T}/level/levelsetup_test.cpp
                 ${T}/level/statusbar_test.cpp ${T}/level/demofile_test.cpp)
delvorn_add_test(editor_tests ${T}/editor/editor_test.cpp ${T}/level/level_support.cpp)
if(TARGET editor_tests)
  target_include_directories(editor_tests PRIVATE ${T}/level)
endif()
foreach(t level_tests editor_tests shell_tests)
  if(TARGET ${t})
    target_compile_options(${t} PRIVATE -include ${CMAKE_SOURCE_DIR}/windows/shim/posix_compat.h)
  endif()
endforeach()
delvorn_add_test(paths_tests ${T}/paths/paths_test.cpp)

# mivolen against the system's Video for Windows.
delvorn_add_test(video_tests ${T}/video/avi_writer.cpp ${T}/video/avi_reader_test.cpp
                 ${T}/video/avi_player_test.cpp ${T}/video/avi_damage_test.cpp
                 ${T}/video/allegro_env.cpp)
if(TARGET video_tests)
  target_link_libraries(video_tests PRIVATE mivolen_static)
  target_include_directories(video_tests PRIVATE ${CMAKE_SOURCE_DIR}/windows/shim)
  target_compile_definitions(video_tests PRIVATE MIVOLEN_TEST_NO_ENCODER)
endif()
