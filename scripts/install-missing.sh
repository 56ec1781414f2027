#!/usr/bin/env bash
# Installs those of the given Debian packages that are not installed yet
# (with apt-get: as root directly, otherwise through sudo).
# Usage: scripts/install-missing.sh PACKAGE...
set -euo pipefail
missing=()
for p in "$@"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -gt 0 ] || exit 0
echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
install() { DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"; }
# A mirror caught mid-sync fails an index download now and then, often one
# these packages do not need: install from the lists that did arrive, and
# only when that fails try again after a pause.
for attempt in 1 2 3; do
  $sudo apt-get update -qq || echo "apt-get update failed; installing from the lists that arrived" >&2
  install && exit 0
  [ $attempt -lt 3 ] || break
  echo "apt-get install failed (attempt $attempt of 3); trying again in 20 s" >&2
  sleep 20
done
exit 1
