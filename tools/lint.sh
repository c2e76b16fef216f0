#!/usr/bin/env bash
# lint.sh format      checks that every source is as clang-format would leave it
# lint.sh tidy DIR    runs clang-tidy on the program's sources with DIR's compile commands
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
sources() {
  local dirs=()
  for d in runtime numstr puzzle controls MyImageU app tests bench fuzz tools; do [ -d "$d" ] && dirs+=("$d"); done
  find "${dirs[@]}" \( -name '*.cpp' -o -name '*.h' \) | sort
}

case "${1:-}" in
format)
  sources | xargs clang-format --dry-run --Werror
  echo "format: $(sources | wc -l) files as clang-format leaves them"
  ;;
tidy)
  build=${2:?build directory with compile_commands.json}
  # Headers are checked through the sources that include them (HeaderFilterRegex); a source
  # the build does not compile (the fuzzer, the page's display) belongs to another build.
  compiled=$(sed -n 's/^ *"file": "\(.*\)",\{0,1\}$/\1/p' "$build/compile_commands.json")
  sources | grep '\.cpp$' | grep -xF -f <(sed "s|^$root/||" <<<"$compiled") |
    xargs -P "$(nproc)" -n 1 clang-tidy -p "$build" --quiet 2>/dev/null
  echo "tidy: no findings"
  ;;
*)
  echo "usage: $0 format | tidy BUILD_DIR" >&2
  exit 2
  ;;
esac
