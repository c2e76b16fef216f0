#!/usr/bin/env bash
# cut-translation.sh QM OUT CONTEXT...: Qt's translation QM cut down to the named contexts (the
# classes whose texts the program can show), written as OUT.qm and, for the faces' cut, as
# OUT.ts; Qt's lconvert reads and writes both.
set -euo pipefail
qm=$1 out=$2
shift 2
lconvert=${LCONVERT:-/usr/lib/qt6/bin/lconvert}
whole=$(mktemp --suffix=.ts)
trap 'rm -f "$whole"' EXIT
mkdir -p "$(dirname "$out")"
"$lconvert" -i "$qm" -o "$whole"
/usr/bin/python3 - "$whole" "$out.ts" "$@" <<'PY'
import sys
import xml.etree.ElementTree as ET
source, target, keep = sys.argv[1], sys.argv[2], set(sys.argv[3:])
tree = ET.parse(source)
root = tree.getroot()
for context in root.findall("context"):
    if context.findtext("name") not in keep:
        root.remove(context)
tree.write(target, encoding="utf-8", xml_declaration=True)
PY
"$lconvert" -i "$out.ts" -o "$out.qm"
