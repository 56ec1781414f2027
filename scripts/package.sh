#!/usr/bin/env bash
# Builds the Debian packages delvorn, libmivolen1 and libmivolen-dev with
# CPack and checks them: lintian -I --pedantic reports no tag but those
# named below, the desktop entry and the AppStream metadata are valid.
# Usage: scripts/package.sh [build dir] [out dir]
# The packages land in the out dir (default: <build dir>/packages).
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$here/build}"
out="$(realpath -m "${2:-$build/packages}")"

[ -f "$build/CMakeCache.txt" ] || cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j "$(nproc)" --target Delvorn delvorn-replay datafile levels linux_files mivolen
mkdir -p "$out" && rm -f "$out"/*.deb
(cd "$build" && cpack -G DEB -B "$out" >/dev/null)
rm -rf "$out/_CPack_Packages"
debs=("$out"/*.deb)
[ "${#debs[@]}" -eq 3 ] || { echo "expected 3 packages in $out, found: ${debs[*]}"; exit 1; }

status=0
desktop-file-validate "$here/content/linux/delvorn.desktop" || status=1
appstreamcli validate --no-net "$here/content/linux/"*.metainfo.xml >/dev/null || {
  appstreamcli validate --no-net "$here/content/linux/"*.metainfo.xml; status=1; }
# Lintian, pedantic and with its informational tags: every tag fails the
# check unless it is named here with the reason it stays.
declare -A kept=(
  [malformed-contact]="the project has no e-mail address of its own, so the Maintainer field names the developers without one"
  [bogus-mail-host-in-debian-changelog]="no address either in the changelog's trailer, whose empty <> keeps the changelog parseable"
)
lint="$(lintian -I --pedantic --fail-on none --tag-display-limit 0 "${debs[@]}" 2>&1)" || {
  printf '%s\n' "$lint"; echo "lintian failed"; exit 1; }
declare -A seen=()
lint_status=0
while IFS= read -r line; do
  if [[ "$line" =~ ^[EWIPX]:\ [^:]+:\ ([^ ]+) ]]; then
    tag="${BASH_REMATCH[1]}"
    seen[$tag]=1
    if [ -n "${kept[$tag]:-}" ]; then
      echo "$line (kept: ${kept[$tag]})"
    else
      echo "$line"
      lint_status=1
    fi
  elif [ -n "$line" ] && [[ "$line" != *"running with root privileges"* ]]; then
    echo "$line"
  fi
done <<<"$lint"
for tag in "${!kept[@]}"; do
  [ -n "${seen[$tag]:-}" ] || echo "lintian no longer reports $tag: take it out of $0"
done
[ $lint_status -eq 0 ] || { echo "lintian reports tags that $0 does not name"; status=1; }
for deb in "${debs[@]}"; do
  echo "$deb: $(dpkg-deb -f "$deb" Depends)"
done
exit $status
