#!/usr/bin/env bash
# Makes the launcher icons in packaging/icons from the SVG (needs rsvg-convert, Debian's
# librsvg2-bin) and the Windows .ico from them. They are kept in the tree, so that building
# needs no SVG renderer.
set -euo pipefail
cd "$(dirname "$0")/../packaging/icons"
for size in 16 24 32 48 64 128 256; do
  mkdir -p "${size}x${size}"
  rsvg-convert -w "$size" -h "$size" io.github.yamaruka.Yamaruka.svg \
    -o "${size}x${size}/io.github.yamaruka.Yamaruka.png"
done
# The Windows icon (Explorer and the task bar), every size in one .ico (needs ImageMagick).
convert $(for size in 16 24 32 48 64 128 256; do echo "${size}x${size}/io.github.yamaruka.Yamaruka.png"; done) \
  io.github.yamaruka.Yamaruka.ico
