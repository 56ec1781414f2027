#!/usr/bin/env bash
# Cross-builds Delvorn and the mivolen library for 64-bit Windows and packs
# build-windows/Delvorn-windows.zip. Allegro 4.4 and FreeType come from
# Debian's source archive (fetched through a private deb-src list, checked
# against the checksums of their .dsc, patched) and are built with mingw-w64,
# as is GoogleTest from Debian's googletest package. The data file and the
# levels are made by the host build (scripts/setup.sh), whose tools run here.
# Usage: windows/build.sh   (WINDOWS_BUILD_DIR and BUILD_DIR may override the
# folders; WINDOWS_ARCH=i686 builds for 32-bit Windows into build-windows-i686)
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
arch="${WINDOWS_ARCH:-x86_64}"
case "$arch" in
  x86_64) out="${WINDOWS_BUILD_DIR:-$here/build-windows}" ;;
  i686) out="${WINDOWS_BUILD_DIR:-$here/build-windows-i686}" ;;
  *) echo "WINDOWS_ARCH must be i686 or x86_64" >&2; exit 2 ;;
esac
host_build="${BUILD_DIR:-$here/build}"
triple=$arch-w64-mingw32
toolchain="$here/windows/toolchain-$arch.cmake"
jobs="$(nproc)"
allegro_version=4.4.3.1
freetype_version=2.12.1

packages=(mingw-w64 dpkg-dev googletest zip cmake xz-utils patch)
"$here/scripts/install-missing.sh" "${packages[@]}"

# The host build makes Data.dat, the levels and the rest of the game folder.
"$here/scripts/setup.sh" "$host_build"

mkdir -p "$out"
deps="$out/deps"
src="$out/src"
mkdir -p "$deps" "$src"

# --- sources from Debian's archive -------------------------------------------
apt_dir="$out/apt"
fetch_sources() {
  mkdir -p "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial" "$src/download"
  cat >"$apt_dir/sources.list" <<EOF
deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] http://deb.debian.org/debian bookworm main
EOF
  local opts=(-o "Dir::Etc::SourceList=$apt_dir/sources.list" -o Dir::Etc::SourceParts=/dev/null
              -o "Dir::State::Lists=$apt_dir/lists" -o "Dir::Cache=$apt_dir/cache"
              -o APT::Sandbox::User=root)
  apt-get "${opts[@]}" update -qq
  # allegro4.4's Debian diff is missing from the archive; its original tarball
  # arrives all the same and is checked below, so a failed fetch is not final.
  (cd "$src/download" && apt-get "${opts[@]}" source --download-only -qq allegro4.4 freetype) \
    >"$src/download.log" 2>&1 || echo "(apt-get source reported: $(grep -c '^E:' "$src/download.log") error line(s); checking what arrived)"
}

# Checks every file the .dsc lists that is present against its SHA-256 sum;
# the original tarball must be present.
verify_dsc() {
  local dsc="$1" orig="$2" dir
  dir="$(dirname "$dsc")"
  [ -f "$dir/$orig" ] || { echo "missing $orig" >&2; return 1; }
  local checked=0
  while read -r sum size name; do
    [ -f "$dir/$name" ] || continue
    [ "$(stat -c %s "$dir/$name")" = "$size" ] || { echo "$name: wrong size" >&2; return 1; }
    echo "$sum  $dir/$name" | sha256sum --quiet -c - || { echo "$name: checksum mismatch" >&2; return 1; }
    checked=$((checked + 1))
  done < <(sed -n '/^Checksums-Sha256:/,/^[^ ]/{/^ /p}' "$dsc")
  grep -q " $orig\$" <(sed -n '/^Checksums-Sha256:/,/^[^ ]/{/^ /p}' "$dsc") ||
    { echo "$orig not listed in $dsc" >&2; return 1; }
  echo "verified $checked file(s) of $(basename "$dsc")"
}

allegro_orig="allegro4.4_${allegro_version}.orig.tar.gz"
freetype_orig="freetype_${freetype_version}+dfsg.orig.tar.xz"
if ! ls "$src/download"/allegro4.4_*.dsc "$src/download"/freetype_*.dsc >/dev/null 2>&1 ||
   [ ! -f "$src/download/$allegro_orig" ] || [ ! -f "$src/download/$freetype_orig" ]; then
  fetch_sources
fi
allegro_dsc="$(ls "$src/download"/allegro4.4_${allegro_version}-*.dsc | tail -1)"
freetype_dsc="$(ls "$src/download"/freetype_${freetype_version}+dfsg-*.dsc | tail -1)"
verify_dsc "$allegro_dsc" "$allegro_orig"
verify_dsc "$freetype_dsc" "$freetype_orig"

# A dependency is rebuilt when its inputs (sources, patches, this script) change.
stamp_of() { cat "$@" "$0" "$toolchain" "$here/windows/mingw.cmake" | sha256sum | cut -c1-16; }

# --- Allegro 4.4: patched, static for the game, a DLL for mivolen -----------
allegro_patches=("$here"/windows/patches/allegro-0*.patch)
# Pointers kept in 32-bit longs matter only where pointers are 64 bits wide.
[ "$arch" = x86_64 ] && allegro_patches+=("$here"/windows/patches/allegro-x86_64-*.patch)
allegro_stamp="$(stamp_of "$src/download/$allegro_orig" "${allegro_patches[@]}")"
if [ "$(cat "$deps/allegro.stamp" 2>/dev/null)" != "$allegro_stamp" ]; then
  echo "== Allegro $allegro_version for $triple =="
  rm -rf "$src/allegro" "$deps/static/lib/liballeg.a" "$deps/shared"
  mkdir -p "$src/allegro"
  tar xzf "$src/download/$allegro_orig" -C "$src/allegro" --strip-components=1
  for p in "${allegro_patches[@]}"; do
    patch -d "$src/allegro" -p1 --forward --quiet <"$p"
  done
  for kind in static shared; do
    shared=OFF
    [ "$kind" = shared ] && shared=ON
    cmake -S "$src/allegro" -B "$src/allegro-$kind" -Wno-dev -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
          -DCMAKE_BUILD_TYPE=Release -DSHARED=$shared -DWANT_DOCS=OFF -DWANT_EXAMPLES=OFF \
          -DWANT_TOOLS=OFF -DWANT_TESTS=OFF -DWANT_ALLEGROGL=OFF -DWANT_LOADPNG=OFF \
          -DWANT_LOGG=OFF -DWANT_JPGALLEG=OFF -DCMAKE_INSTALL_PREFIX="$deps/$kind" \
          -DCMAKE_SHARED_LINKER_FLAGS="-static-libgcc" >/dev/null
    cmake --build "$src/allegro-$kind" -j "$jobs" >"$src/allegro-$kind.log" 2>&1 ||
      { tail -30 "$src/allegro-$kind.log"; exit 1; }
    cmake --install "$src/allegro-$kind" >/dev/null
  done
  echo "$allegro_stamp" >"$deps/allegro.stamp"
fi

# --- FreeType: with Debian's patches to the library itself ------------------
freetype_debian="$(ls "$src/download"/freetype_${freetype_version}+dfsg-*.debian.tar.xz | tail -1)"
freetype_stamp="$(stamp_of "$src/download/$freetype_orig" "$freetype_debian")"
if [ "$(cat "$deps/freetype.stamp" 2>/dev/null)" != "$freetype_stamp" ]; then
  echo "== FreeType $freetype_version for $triple =="
  rm -rf "$src/freetype" "$src/freetype-debian"
  mkdir -p "$src/freetype" "$src/freetype-debian"
  tar xJf "$src/download/$freetype_orig" -C "$src/freetype" --strip-components=1
  tar xJf "$freetype_debian" -C "$src/freetype-debian"
  patches="$src/freetype-debian/debian/patches"
  while read -r p; do
    p="${p%%#*}"
    [ -n "${p// }" ] || continue
    # Patches to the demos and documentation do not concern the library.
    if grep '^+++ ' "$patches/$p" | grep -qv -e ' b/ft2docs/' -e ' b/ft2demos/'; then
      patch -d "$src/freetype" -p1 --forward --quiet <"$patches/$p"
    fi
  done <"$patches/series"
  cmake -S "$src/freetype" -B "$src/freetype-build" -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
        -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=OFF -DFT_DISABLE_ZLIB=ON -DFT_DISABLE_BZIP2=ON \
        -DFT_DISABLE_PNG=ON -DFT_DISABLE_HARFBUZZ=ON -DFT_DISABLE_BROTLI=ON \
        -DCMAKE_INSTALL_PREFIX="$deps/static" >/dev/null
  cmake --build "$src/freetype-build" -j "$jobs" >"$src/freetype.log" 2>&1 ||
    { tail -30 "$src/freetype.log"; exit 1; }
  cmake --install "$src/freetype-build" >/dev/null
  echo "$freetype_stamp" >"$deps/freetype.stamp"
fi

# --- GoogleTest from Debian's googletest package ----------------------------
gtest_stamp="$(stamp_of /usr/src/googletest/CMakeLists.txt /usr/src/googletest/googletest/src/gtest.cc)"
if [ "$(cat "$deps/gtest.stamp" 2>/dev/null)" != "$gtest_stamp" ]; then
  echo "== GoogleTest for $triple =="
  cmake -S /usr/src/googletest -B "$src/googletest-build" -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
        -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=OFF -DBUILD_GMOCK=ON \
        -DCMAKE_INSTALL_PREFIX="$deps/static" >/dev/null
  cmake --build "$src/googletest-build" -j "$jobs" >"$src/googletest.log" 2>&1 ||
    { tail -30 "$src/googletest.log"; exit 1; }
  cmake --install "$src/googletest-build" >/dev/null
  echo "$gtest_stamp" >"$deps/gtest.stamp"
fi

# --- our code ----------------------------------------------------------------
echo "== Delvorn and mivolen for $triple =="
cmake -S "$here" -B "$out/build" -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DWINDOWS_DEPS="$deps" -DDELVORN_TESTS="${WINDOWS_TESTS:-ON}" >/dev/null
# The game folder of the Windows build gets the host's data, levels, fonts and
# settings, for the package and for the tests that read them.
mkdir -p "$out/build/game"
for item in Data.dat Fonts Maps Config; do
  rm -rf "$out/build/game/$item"
  cp -r "$host_build/game/$item" "$out/build/game/"
done
mkdir -p "$out/build/game/HiScore" "$out/build/game/Logs"
cmake --build "$out/build" -j "$jobs"

# --- the package ---------------------------------------------------------------
echo "== Package =="
pkg="$out/package"
rm -rf "$pkg"
mkdir -p "$pkg/Delvorn" "$pkg/mivolen/bin" "$pkg/mivolen/lib" "$pkg/mivolen/include/mivolen"
game="$pkg/Delvorn"
for item in Data.dat Fonts Maps Config Delvorn.exe; do
  cp -r "$out/build/game/$item" "$game/"
done
# The fonts are copies here, not links into a font package: their licence
# goes beside them (Play's, or DejaVu's where the host fell back to it).
if cmp -s "$game/Fonts/DigitalDream.ttf" /usr/share/fonts/truetype/play/Play-Regular.ttf; then
  { echo "Play: Copyright 2011 Jonas Hecksher, Playtypes, e-types AS"; cat "$here/content/linux/licenses/OFL-1.1"; } \
    >"$game/Fonts/LICENSE-Play.txt"
else
  cp "$here/content/linux/licenses/bitstream-vera" "$game/Fonts/LICENSE-DejaVu.txt"
fi
# Empty folders for the high score table and the log: the game writes both.
mkdir -p "$game/HiScore" "$game/Logs"
cp "$out/build/video/mivolen.dll" "$out/build/video/mivolen-play.exe" "$pkg/mivolen/bin/"
cp "$deps/shared/bin/alleg44.dll" "$pkg/mivolen/bin/"
cp "$out/build/video/libmivolen.dll.a" "$pkg/mivolen/lib/"
cp "$here/video/include/mivolen/mivolen.h" "$pkg/mivolen/include/mivolen/"
cp "$here/video/README.md" "$pkg/mivolen/"
rm -f "$out/Delvorn-windows.zip"
(cd "$pkg" && zip -q -r -9 "$out/Delvorn-windows.zip" Delvorn mivolen)
echo "Wrote $out/Delvorn-windows.zip ($(du -k "$out/Delvorn-windows.zip" | cut -f1) KiB)"
