#!/usr/bin/env bash
# tools/screenshots.sh makes docs/start.png and docs/puzzle.png again, from the real window.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
out=${1:-docs}
mkdir -p "$out"
cmake --preset default >/dev/null
cmake --build --preset default -j 2 --target yamaruka_screenshots
build/default/tests/yamaruka_screenshots "$out"
echo "screenshots: $out/start.png $out/puzzle.png"
