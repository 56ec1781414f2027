#!/usr/bin/env bash
# Builds the Debian packages delvorn, libmivolen1 and libmivolen-dev with
# CPack and checks them: lintian without errors, the desktop entry and the
# AppStream metadata valid. Usage: scripts/package.sh [build dir] [out dir]
# The packages land in the out dir (default: <build dir>/packages).
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$here/build}"
out="$(realpath -m "${2:-$build/packages}")"

[ -f "$build/CMakeCache.txt" ] || cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j "$(nproc)" --target Delvorn datafile levels linux_files mivolen
mkdir -p "$out" && rm -f "$out"/*.deb
(cd "$build" && cpack -G DEB -B "$out" >/dev/null)
rm -rf "$out/_CPack_Packages"
debs=("$out"/*.deb)
[ "${#debs[@]}" -eq 3 ] || { echo "expected 3 packages in $out, found: ${debs[*]}"; exit 1; }

status=0
desktop-file-validate "$here/content/linux/delvorn.desktop" || status=1
appstreamcli validate --no-net "$here/content/linux/"*.metainfo.xml >/dev/null || {
  appstreamcli validate --no-net "$here/content/linux/"*.metainfo.xml; status=1; }
# Errors fail the build; warnings are shown for whoever reads the log.
lint="$(lintian --tag-display-limit 0 "${debs[@]}" 2>&1 | grep -v 'running with root privileges' || true)"
[ -z "$lint" ] || printf '%s\n' "$lint"
if printf '%s\n' "$lint" | grep -q '^E: '; then
  echo "lintian reports errors"
  status=1
fi
for deb in "${debs[@]}"; do
  echo "$deb: $(dpkg-deb -f "$deb" Depends)"
done
exit $status
