#!/usr/bin/env bash
# ensure-deps.sh LIST...: installs the Debian packages named in the lists that are missing.
# Does nothing (and needs no network) when every one is present. DEPS=0 skips it, and so does
# a system without apt-get: the build then stops at CMake's own message if a library is missing.
set -euo pipefail
if [ "${DEPS:-1}" = 0 ]; then
  echo "deps: DEPS=0, installing nothing"
  exit 0
fi
if ! command -v apt-get >/dev/null || ! command -v dpkg-query >/dev/null; then
  echo "deps: no apt-get here, installing nothing (the lists are in tools/packages-*.txt)"
  exit 0
fi
missing=()
for list in "$@"; do
  while read -r pkg; do
    pkg=${pkg%%#*}
    pkg=${pkg//[[:space:]]/}
    [ -n "$pkg" ] || continue
    status=$(dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null || true)
    [ "$status" = "install ok installed" ] || missing+=("$pkg")
  done < "$list"
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing missing packages: ${missing[*]}"
sudo=()
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || { echo "need root or sudo to install: ${missing[*]}" >&2; exit 1; }
  sudo=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
