#!/usr/bin/env bash
# make windows: the program for 64-bit Windows, built here with Debian's MinGW-w64 compilers.
#   1. installs what it needs (tools/packages-windows.txt);
#   2. once per machine, builds Qt from Debian's own qt6-base source for Windows and GoogleTest
#      from Debian's googletest, into $XDG_CACHE_HOME/yamaruka (or ~/.cache/yamaruka), keyed
#      by their versions, reused by every clone;
#   3. builds the program and its unit and window tests in build/windows (preset windows);
#   4. runs those tests under Wine on Qt's offscreen platform;
#   5. writes build/windows/yamaruka-<version>-windows-x64.zip and starts the program from the
#      zip alone, unpacked into an empty folder and an empty Wine prefix, on a virtual X server.
# WINDOWS_STEPS="qt" (any of: qt program tests zip) runs only the steps named.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash tools/ensure-deps.sh tools/packages-run.txt tools/packages-windows.txt
platform=windows steps=${WINDOWS_STEPS:-qt program tests zip}
source tools/qt-source.sh
qt=$cache/qt-$qt_version-mingw64
gtest_version=$(dpkg-query -W -f='${Version}' googletest)
gtest=$cache/googletest-${gtest_version%%-*}-mingw64
toolchain=$root/cmake/mingw-w64-x86_64.cmake
jobs=$(nproc)

# Core, Gui, Widgets and Test, with the windows, offscreen and minimal platforms and the
# windowsvista style; nothing the program does not use. Debian's own Qt tools (moc, rcc, uic)
# are the host tools. Known traps of 6.4: the DirectWrite font database is compiled only with
# direct2d, so it stays on; Debian's tarball has no wintab headers, so no tablet events.
if wants qt; then
  [ -f "$qt/.complete" ] && say "Qt $qt_version for Windows: $qt" ||
    build_qt "$qt" "beside yamaruka.exe" -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
      -DQT_QMAKE_TARGET_MKSPEC=win32-g++ -DBUILD_SHARED_LIBS=ON \
      -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_dbus=OFF -DFEATURE_opengl=OFF \
      -DINPUT_opengl=no -DFEATURE_vulkan=OFF -DFEATURE_printsupport=OFF -DFEATURE_xml=OFF \
      -DFEATURE_concurrent=OFF -DFEATURE_zstd=OFF -DFEATURE_direct2d1_1=OFF \
      -DFEATURE_tabletevent=OFF -DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF \
      -DFEATURE_system_freetype=OFF -DFEATURE_system_harfbuzz=OFF -DFEATURE_system_png=OFF \
      -DFEATURE_system_jpeg=OFF -DFEATURE_system_doubleconversion=OFF
  if [ ! -f "$qt/licenses/qt-source.txt" ]; then
    fetch_qt_source
    gather_qt_licences "$src" "$qt/licenses" "beside yamaruka.exe" tools/windows.sh
    rm -rf "$src"
  fi
  [ -f "$gtest/.complete" ] && say "GoogleTest for Windows: $gtest" || build_gtest "$toolchain" "$gtest" -Dgtest_disable_pthreads=OFF
fi

export YAMARUKA_WINDOWS_QT=$qt YAMARUKA_WINDOWS_GTEST=$gtest
export YAMARUKA_HOST_QT_CMAKE=$host_qt
if wants program; then
  cmake --preset windows >/dev/null
  cmake --build --preset windows -j "$jobs"
fi

# Wine on a virtual X server of its own, one wineserver for the whole run, in a prefix kept in
# the cache (its first start takes a while). Wine passes no QT_* variable from Linux; WINEQT_X
# reaches the program as QT_X. Qt's offscreen platform on Windows reads its fonts from
# QT_QPA_FONTDIR only.
start_wine() {
  export WINEPREFIX=${1:-$cache/wine-prefix} WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  mkdir -p "$WINEPREFIX"
  local display
  for display in $(seq 90 99); do [ -e "/tmp/.X11-unix/X$display" ] || break; done
  Xvfb ":$display" -screen 0 1280x800x24 -nolisten tcp &
  xvfb=$!
  export DISPLAY=:$display
  for _ in $(seq 100); do [ -e "/tmp/.X11-unix/X$display" ] && break; sleep 0.1; done
  wineserver -p
  wineboot -i >/dev/null 2>&1
}
stop_wine() {
  wineserver -k || true
  kill "$xvfb" 2>/dev/null || true
  wait "$xvfb" 2>/dev/null || true
}

if wants tests; then
  start_wine
  trap stop_wine EXIT
  export WINEQT_QPA_FONTDIR="Z:$(dirname "$(fc-match -f '%{file}' IPAGothic)")"
  # The test programs find Qt's and the compiler's DLLs where they were built.
  export WINEPATH="Z:$qt/bin;Z:$(dirname "$(x86_64-w64-mingw32-g++-posix -print-file-name=libstdc++-6.dll)");Z:/usr/x86_64-w64-mingw32/lib"
  ctest --preset windows
  stop_wine
  trap - EXIT
fi

# The zip, then its program started from the zip alone: unpacked into an empty folder, in an
# empty Wine prefix, under a window manager; its window must show.
if wants zip; then
  (cd build/windows && cpack -G ZIP -B package >/dev/null)
  zip=$(ls build/windows/package/yamaruka-*-windows-x64.zip)
  mv "$zip" build/windows/
  zip=build/windows/$(basename "$zip")
  say "$zip: $(du -k "$zip" | cut -f1) kB"
  unzip -l "$zip" | sed -n '4,$p' | awk '{print "  " $4}' | sed '/^  $/d'
  trial=$(mktemp -d)
  unzip -q "$zip" -d "$trial/folder"
  start_wine "$trial/prefix"
  trap 'stop_wine; rm -rf "$trial"' EXIT
  openbox >/dev/null 2>&1 &
  exe=$(find "$trial/folder" -name yamaruka.exe)
  wine "$exe" >/dev/null 2>&1 &
  disown # ended with the wineserver
  shown=
  for _ in $(seq 600); do
    shown=$(xdotool search --onlyvisible --name 'ヤマルカ' 2>/dev/null | head -n 1) && [ -n "$shown" ] && break
    sleep 0.1
  done
  [ -n "$shown" ] || { say "the zip's program showed no window"; exit 1; }
  sleep 1 # its first paint after the start-up tick
  import -window root build/windows/zip-start.png
  say "the zip's program shows its window (build/windows/zip-start.png)"
fi
