#!/usr/bin/env bash
# subset-face.sh FACE OUT FAMILY [SOURCE...]: FACE cut down to printable ASCII and the
# characters the program can show, read off its sources (every character outside ASCII; the
# comments are in English), and renamed FAMILY: the IPA fonts' licence, and Bitstream Vera's,
# ask a derived face to carry another name, in its names and its file's. HINTING=keep keeps the
# face's hints (Vera's, which Qt's page platform drew with).
set -euo pipefail
face=$1 out=$2 family=$3
shift 3
mkdir -p "$(dirname "$out")"
text=$(mktemp)
trap 'rm -f "$text"' EXIT
{
  printf '%s' ' !"#$%&'"'"'()*+,-./0123456789:;<=>?@ABCDEFGHIJKLMNOPQRSTUVWXYZ[\]^_`abcdefghijklmnopqrstuvwxyz{|}~'
  [ $# -eq 0 ] || LC_ALL=C.UTF-8 grep -ohP '[^\x00-\x7F]' "$@" | sort -u | tr -d '\n'
} >"$text"
hinting=--no-hinting
[ "${HINTING:-}" = keep ] && hinting=--hinting
pyftsubset "$face" --text-file="$text" --output-file="$out" --layout-features='*' "$hinting"
/usr/bin/python3 - "$out" "$family" <<'PY'
import sys
from fontTools.ttLib import TTFont
path, family = sys.argv[1], sys.argv[2]
font = TTFont(path)
names = font["name"]
# Family, unique name, full name, PostScript name, typographic family: every name a system
# may list the face by, in every language the face has them.
for record in list(names.names):
    if record.nameID in (1, 3, 4, 6, 16, 21):
        names.removeNames(nameID=record.nameID)
for nameID, value in ((1, family), (3, family + " subset"), (4, family),
                      (6, family.replace(" ", "-"))):
    names.setName(value, nameID, 3, 1, 0x409)
    names.setName(value, nameID, 1, 0, 0)
font.save(path)
PY
