#!/usr/bin/env bash
# Installs the Debian packages listed in tools/debian-packages.txt that are not installed yet.
# Does nothing (and needs no network) when every one is present.
set -euo pipefail
list="$(dirname "$0")/debian-packages.txt"
missing=()
while read -r pkg; do
  pkg=${pkg%%#*}
  pkg=${pkg//[[:space:]]/}
  [ -n "$pkg" ] || continue
  status=$(dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null || true)
  [ "$status" = "install ok installed" ] || missing+=("$pkg")
done < "$list"
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
