# Sourced by tools/windows.sh and tools/web.sh, after they set $platform (their name) and $steps
# (the steps asked for): the cache they share, Debian's qt6-base source and the licences that go
# with a Qt built from it.
#   say TEXT, wants STEP   a line of the script's; whether STEP was asked for
#   cache              $XDG_CACHE_HOME/yamaruka (or ~/.cache/yamaruka), shared by every clone
#   qt_source_version  Debian's version of qt6-base, e.g. 6.4.2+dfsg-10; qt_version 6.4.2
#   host_qt            Debian's Qt CMake folder: its moc, rcc and uic are the host tools
#   fetch_qt_source    unpacks the source into $cache/apt/src and names it in $src
#   gather_qt_licences SRC DEST WHERE SCRIPT  writes the LGPL's texts, Qt's copyright and where
#                      the source is into DEST; WHERE names the built libraries' place, SCRIPT
#                      the script whose options built them
#   build_qt DEST WHERE OPTION...  Qt from that source with the platform's OPTIONs, installed
#                      into DEST with its licences (WHERE: as for gather_qt_licences)
#   build_gtest TOOLCHAIN DEST OPTION...  GoogleTest from Debian's source, for another platform
say() { printf '%s: %s\n' "$platform" "$*"; }
wants() { [[ " $steps " == *" $1 "* ]]; }

cache=${XDG_CACHE_HOME:-$HOME/.cache}/yamaruka
qt_source_version=$(dpkg-query -W -f='${Version}' qt6-base-dev)
qt_version=${qt_source_version%%+*}
host_qt=$(dirname "$(dirname "$(dpkg -L qt6-base-dev | grep -m1 '/cmake/Qt6/Qt6Config.cmake$')")")

# Through a private apt configuration whose deb-src entries are the machine's own deb entries
# with their type changed: the system's apt stays as it is.
fetch_qt_source() {
  local apt=$cache/apt
  rm -rf "$apt/src" # a source left from an interrupted run would stop the unpacking
  mkdir -p "$apt/parts" "$apt/lists/partial" "$apt/src"
  : >"$apt/sources.list"
  [ -f /etc/apt/sources.list ] && sed -n 's/^deb /deb-src /p' /etc/apt/sources.list >"$apt/sources.list"
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -e "$f" ] && { sed 's/^Types:.*$/Types: deb-src/' "$f"; echo; }
  done >"$apt/parts/deb-src.sources"
  local opts=(-o "Dir::Etc::SourceList=$apt/sources.list" -o "Dir::Etc::SourceParts=$apt/parts"
    -o "Dir::State::Lists=$apt/lists" -o APT::Sandbox::User=root -qq)
  apt-get "${opts[@]}" update
  (cd "$apt/src" && apt-get "${opts[@]}" source "qt6-base=$qt_source_version")
  src=$(find "$apt/src" -mindepth 1 -maxdepth 1 -type d -name 'qt6-base-*' | head -n 1)
}

# What the LGPL asks to go with the libraries: its text, Qt's copyright and where the source is.
gather_qt_licences() {
  local src=$1 dest=$2 where=$3 script=$4
  mkdir -p "$dest"
  cp "$src/LICENSES/LGPL-3.0-only.txt" "$src/LICENSES/GPL-3.0-only.txt" "$dest/"
  cp "$src/debian/copyright" "$dest/qt6-base-copyright.txt"
  cat >"$dest/qt-source.txt" <<TXT
The Qt libraries $where are built, unchanged, from Debian's source package
qt6-base, version $qt_source_version. On Debian 12, with a deb-src entry:

    apt-get source qt6-base=$qt_source_version

They were configured with the options that $script in the program's source names.
TXT
}

build_qt() {
  local dest=$1 where=$2 src build=$cache/qt-build-$platform
  shift 2
  fetch_qt_source
  rm -rf "$build"
  say "building Qt $qt_version (once; 20 to 30 minutes on two cores)"
  cmake -G Ninja -S "$src" -B "$build" -Wno-dev -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$dest" -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR="$host_qt" \
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF "$@"
  nice cmake --build "$build" -j "$(nproc)"
  cmake --install "$build"
  gather_qt_licences "$src" "$dest/licenses" "$where" "tools/$platform.sh"
  rm -rf "$build" "$src"
  touch "$dest/.complete"
}

build_gtest() {
  local toolchain=$1 dest=$2 build=$cache/googletest-build
  shift 2
  rm -rf "$build"
  cmake -G Ninja -S /usr/src/googletest -B "$build" -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$dest" "$@"
  cmake --build "$build" -j "$(nproc)"
  cmake --install "$build"
  rm -rf "$build"
  touch "$dest/.complete"
}
