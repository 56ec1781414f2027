# Debian packages by CPack (cpack -G DEB, see scripts/package.sh): delvorn,
# libmivolen1 and libmivolen-dev, with the libraries they need found by
# dpkg-shlibdeps.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME delvorn)
set(DELVORN_VERSION 1.0.0)
set(CPACK_PACKAGE_VERSION ${DELVORN_VERSION})
set(CPACK_PACKAGE_VENDOR "Delvorn developers")
# The project has no e-mail address of its own, and an invented one would be
# taken for ours: the field names the developers alone (see scripts/package.sh).
set(CPACK_PACKAGE_CONTACT "Delvorn developers")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
# What CPack's strip leaves, the compiler's notes, goes as Debian strips it.
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/deb_strip.cmake)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL delvorn libmivolen1 libmivolen-dev)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Only libmivolen1 holds a shared library: it gets the shlibs file.
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY ">=")
# scripts/package.sh builds what the packages hold; cpack need not build the tests.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

set(CPACK_DEBIAN_DELVORN_PACKAGE_NAME delvorn)
set(CPACK_DEBIAN_DELVORN_PACKAGE_SECTION games)
# The fonts are links into these packages.
get_property(font_packages GLOBAL PROPERTY DELVORN_FONT_PACKAGES)
list(JOIN font_packages ", " CPACK_DEBIAN_DELVORN_PACKAGE_DEPENDS)
set(CPACK_DEBIAN_DELVORN_PACKAGE_RECOMMENDS freepats)
set(CPACK_COMPONENT_DELVORN_DESCRIPTION "tile-based arcade maze game: dig, collect, escape
The miner Zub digs tunnels through the earth as he walks, collects every
item on the level and walks into the exit door. Money bags fall into the
tunnels dug beneath them, five enemies chase him, bombs, a potion and
hearts help him through twenty levels. A level editor saves levels that
replace the shipped ones for that player.")

set(CPACK_DEBIAN_LIBMIVOLEN1_PACKAGE_NAME libmivolen1)
set(CPACK_DEBIAN_LIBMIVOLEN1_PACKAGE_SECTION libs)
# ldconfig runs from this trigger; deb_no_ldconfig.cmake takes out the
# postinst and postrm scripts that CPack writes to call it. The symbols file
# lists every symbol of the library's ABI (video/abi/mivolen.map decides what
# is exported), with the version that brought it.
set(CPACK_DEBIAN_LIBMIVOLEN1_PACKAGE_CONTROL_EXTRA ${CMAKE_SOURCE_DIR}/content/linux/triggers
                                                   ${CMAKE_SOURCE_DIR}/video/abi/symbols)
set(CPACK_POST_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/deb_no_ldconfig.cmake)
set(CPACK_DEBIAN_LIBMIVOLEN1_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_COMPONENT_LIBMIVOLEN1_DESCRIPTION "AVI video playback onto Allegro 4 bitmaps
mivolen plays AVI files onto Allegro 4 bitmaps, with their sound through
an Allegro audio stream. This package holds the shared library.")

set(CPACK_DEBIAN_LIBMIVOLEN-DEV_PACKAGE_NAME libmivolen-dev)
set(CPACK_DEBIAN_LIBMIVOLEN-DEV_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_LIBMIVOLEN-DEV_PACKAGE_DEPENDS "libmivolen1 (= ${DELVORN_VERSION}), liballegro4-dev")
set(CPACK_COMPONENT_LIBMIVOLEN-DEV_DESCRIPTION "AVI video playback onto Allegro 4 bitmaps (development files)
mivolen plays AVI files onto Allegro 4 bitmaps, with their sound through
an Allegro audio stream. This package holds the header, the pkg-config
file and the link to the library.")

include(CPack)
