# Windows cross-build settings, included by the top-level CMakeLists.txt when
# the target is Windows. windows/build.sh passes WINDOWS_DEPS: a prefix with
# static/ (Allegro, FreeType, GoogleTest) and shared/ (Allegro as a DLL).
if(NOT WINDOWS_DEPS)
  message(FATAL_ERROR "Set WINDOWS_DEPS to the prefix windows/build.sh makes")
endif()
list(APPEND CMAKE_FIND_ROOT_PATH ${WINDOWS_DEPS}/static)

# Every CPU that runs a supported Windows has SSE2; the blend rows use it, and
# floating point then rounds as on 64-bit builds.
add_compile_options(-msse2 -mfpmath=sse)
# No compiler runtime DLLs to ship: libgcc, libstdc++ and winpthread go in statically.
add_link_options(-static)

set(ALLEGRO_WINDOWS_LIBS kernel32 user32 gdi32 comdlg32 ole32 dinput ddraw dxguid winmm dsound)

# The game links Allegro statically: one executable, nothing beside it.
add_library(PkgConfig::ALLEGRO INTERFACE IMPORTED)
target_include_directories(PkgConfig::ALLEGRO INTERFACE ${WINDOWS_DEPS}/static/include)
target_compile_definitions(PkgConfig::ALLEGRO INTERFACE ALLEGRO_STATICLINK)
target_link_libraries(PkgConfig::ALLEGRO INTERFACE ${WINDOWS_DEPS}/static/lib/liballeg.a
                      ${ALLEGRO_WINDOWS_LIBS})

# mivolen.dll and the programs using it must share one Allegro (its timers,
# screen and sound), so they link Allegro's DLL.
add_library(delvorn_allegro_dll INTERFACE IMPORTED)
target_include_directories(delvorn_allegro_dll INTERFACE ${WINDOWS_DEPS}/shared/include)
target_link_libraries(delvorn_allegro_dll INTERFACE ${WINDOWS_DEPS}/shared/lib/liballeg44.dll.a)
