#!/usr/bin/env bash
# make web: the program for the browser, built here with Debian's Emscripten.
#   1. installs what it needs (tools/packages-web.txt);
#   2. once per machine, builds Qt from Debian's own qt6-base source for WebAssembly and
#      GoogleTest from Debian's googletest, into the cache that tools/windows.sh uses too;
#   3. builds the program and its engine and drawing tests in build/web (preset web);
#   4. runs those tests under node;
#   5. writes the page into build/web/site and plays it in Chromium and in WebKit, then opens it
#      again and again in both (WEB_SOAK visits each, 10 unless told).
# WEB_STEPS="qt" (any of: qt program tests site browser) runs only the steps named; WEB_STEPS=bench
# (make bench) measures the page's start against the floor's in Chromium.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash tools/ensure-deps.sh tools/packages-run.txt tools/packages-web.txt
platform=web steps=${WEB_STEPS:-qt program tests site browser}
source tools/qt-source.sh
# Core, Gui, Widgets and OpenGL (the page draws every window through WebGL), statically and
# on one thread, small rather than fast, without the parts of Widgets the program never shows
# that the linker would keep anyway (style sheets, graphics views, gestures, completers, file
# and font dialogs), nor the copy of the MIME database that a text document would look its
# resources up in (340 kB), nor settings, nor SHA-3 unrolled for speed: a pupil waits for every
# byte on the school's Wi-Fi. The long jumps of its C libraries (FreeType's, libpng's, its
# rasterizer's) are WebAssembly's own, as the program's exceptions are. The cache is keyed by
# these options too.
qt_options=(-DCMAKE_C_FLAGS=-sSUPPORT_LONGJMP=wasm -DCMAKE_CXX_FLAGS=-sSUPPORT_LONGJMP=wasm
  -DFEATURE_thread=OFF -DFEATURE_optimize_size=ON
  -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_dbus=OFF -DFEATURE_testlib=OFF
  -DFEATURE_vulkan=OFF -DFEATURE_printsupport=OFF -DFEATURE_xml=OFF -DFEATURE_concurrent=OFF
  -DFEATURE_zstd=OFF -DFEATURE_jpeg=OFF -DFEATURE_gif=OFF -DFEATURE_ico=OFF
  -DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF -DFEATURE_system_freetype=OFF
  -DFEATURE_system_harfbuzz=OFF -DFEATURE_system_png=OFF -DFEATURE_system_doubleconversion=OFF
  -DFEATURE_style_stylesheet=OFF -DFEATURE_graphicsview=OFF -DFEATURE_gestures=OFF
  -DFEATURE_completer=OFF -DFEATURE_filedialog=OFF
  -DFEATURE_colordialog=OFF -DFEATURE_fontdialog=OFF -DFEATURE_fontcombobox=OFF
  -DFEATURE_calendarwidget=OFF -DFEATURE_datetimeedit=OFF -DFEATURE_mdiarea=OFF
  -DFEATURE_dockwidget=OFF -DFEATURE_wizard=OFF -DFEATURE_undoview=OFF -DFEATURE_columnview=OFF
  -DFEATURE_movie=OFF -DFEATURE_pdf=OFF -DFEATURE_textmarkdownreader=OFF
  -DFEATURE_textmarkdownwriter=OFF -DFEATURE_textodfwriter=OFF
  -DFEATURE_mimetype_database=OFF -DFEATURE_settings=OFF -DFEATURE_sha3_fast=OFF)
qt=$cache/qt-$qt_version-wasm-$(echo "${qt_options[*]}" | sha256sum | cut -c1-8)
gtest_version=$(dpkg-query -W -f='${Version}' googletest)
# With WebAssembly's own exceptions, as the program and its tests throw them.
gtest=$cache/googletest-${gtest_version%%-*}-wasm-eh
jobs=$(nproc)

# Qt's CMake wants an Emscripten SDK: a folder whose .emscripten names its root, with emcc
# and the CMake toolchain file under that root. Debian's Emscripten is laid out otherwise, so
# a folder of links stands in for it.
export EMSDK=$cache/emsdk
emroot=$EMSDK/upstream/emscripten
if [ ! -x "$emroot/emcc" ]; then
  rm -rf "$EMSDK"
  mkdir -p "$emroot"
  ln -s /usr/share/emscripten/* "$emroot/"
  for tool in emcc em++ emar emranlib emcmake emconfigure emmake; do
    ln -sf "/usr/bin/$tool" "$emroot/$tool"
  done
  echo "EMSCRIPTEN_ROOT = emsdk_path + '/upstream/emscripten'" >"$EMSDK/.emscripten"
fi
toolchain=$emroot/cmake/Modules/Platform/Emscripten.cmake
# Emscripten's JavaScript tools need Debian's node modules.
export NODE_PATH=/usr/share/nodejs

if wants qt; then
  [ -f "$qt/.complete" ] && say "Qt $qt_version for WebAssembly: $qt" ||
    build_qt "$qt" "linked into yamaruka.wasm" -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
      -DQT_QMAKE_TARGET_MKSPEC=wasm-emscripten -DBUILD_SHARED_LIBS=OFF "${qt_options[@]}"
  [ -f "$gtest/.complete" ] && say "GoogleTest for WebAssembly: $gtest" ||
    build_gtest "$toolchain" "$gtest" -Dgtest_disable_pthreads=ON \
      "-DCMAKE_CXX_FLAGS=-fwasm-exceptions -sSUPPORT_LONGJMP=wasm"
fi

export YAMARUKA_WEB_QT=$qt YAMARUKA_WEB_GTEST=$gtest YAMARUKA_HOST_QT_CMAKE=$host_qt
# build PRESET: configures and builds it in build/PRESET. A build configured against another Qt
# (other options, another version) starts afresh: CMake keeps the folders of every Qt package
# it found.
build() {
  local fresh=()
  grep -qF "$qt/lib/cmake/Qt6Widgets" "build/$1/CMakeCache.txt" 2>/dev/null || fresh=(--fresh)
  cmake --preset "$1" "${fresh[@]}" >/dev/null
  cmake --build --preset "$1" -j "$jobs"
}
if wants program; then
  build web
fi

if wants tests; then
  ctest --preset web
fi

# The page: what a school puts on any static web server. The offline cache is keyed by the
# build, so that a new build replaces the old one at the next visit.
# write_site DEST [NOTE [FROM]]: the page into DEST, its program from the folder FROM
# (build/web/app); NOTE, a comment at the end of its index.html, makes a second build of the
# same program (the browser test's next build). Sets $build_key and $program.
write_site() {
  local site=$1 note=${2:-} from=${3:-build/web/app}
  rm -rf "$site"
  mkdir -p "$site/icons" "$site/licenses"
  cp "$from/yamaruka.js" "$from/yamaruka.wasm" web/app.js web/mirror.js web/yamaruka.css \
    web/manifest.webmanifest "$site/"
  local icons=packaging/icons size
  cp "$icons/io.github.yamaruka.Yamaruka.svg" "$site/icons/yamaruka.svg"
  for size in 128 256; do
    cp "$icons/${size}x${size}/io.github.yamaruka.Yamaruka.png" "$site/icons/yamaruka-$size.png"
  done
  # The licences: the program's, Qt's (linked in statically: where its source is and how to
  # build it again), the faces' (the IPA fonts' and Vera's licences, and how to put the
  # original faces back) and Emscripten's runtime.
  cp LICENSE "$site/licenses/yamaruka-LICENSE.txt"
  cp "$qt/licenses/"* "$site/licenses/"
  cp /usr/share/doc/fonts-ipafont-gothic/copyright "$site/licenses/fonts-ipafont-gothic-copyright.txt"
  cp /usr/share/doc/ttf-bitstream-vera/copyright "$site/licenses/ttf-bitstream-vera-copyright.txt"
  cp /usr/share/doc/emscripten/copyright "$site/licenses/emscripten-copyright.txt"
  cp web/licenses.html "$site/licenses/index.html"
  sed "s/@WASM_BYTES@/$(stat -c %s "$site/yamaruka.wasm")/" web/index.html >"$site/index.html"
  [ -z "$note" ] || echo "<!-- $note -->" >>"$site/index.html"
  # Every file the worker keeps counts, the icons and licences too. The program's two halves
  # carry the key in their names, so that a visit never pairs two builds' halves.
  build_key=$(find "$site" -type f -print0 | sort -z | xargs -0 cat | sha256sum | cut -c1-16)
  program=yamaruka-$build_key
  mv "$site/yamaruka.js" "$site/$program.js"
  mv "$site/yamaruka.wasm" "$site/$program.wasm"
  sed -i "s/@BUILD@/$build_key/" "$site/index.html"
  local files
  files=$(cd "$site" && find . -type f | sed 's|^\./||' | sort |
    sed 's/.*/"&"/' | paste -sd, | sed 's/"index.html"/".\/","index.html"/')
  sed -e "s/@BUILD@/$build_key/" -e "s|@FILES@|$files|" web/sw.js >"$site/sw.js"
  # Compressed beside the files, for servers that send them as they are (gzip_static).
  gzip -9 -k "$site/$program.wasm" "$site/$program.js"
  brotli -q 11 -k "$site/$program.wasm" "$site/$program.js"
}

site=build/web/site
if wants site; then
  write_site build/web/site-next "the next build"
  write_site build/web/site-floor "" build/web/app/floor
  write_site "$site"
  say "the page, build $build_key: $site"
  # What a pupil's browser loads, as a server sends it: the page, then everything its offline
  # copy fetches on the first visit (the icons and the licences too).
  sizes() {
    local raw=0 gz=0 br=0 f
    for f in "$@"; do
      raw=$((raw + $(stat -c %s "$site/$f")))
      gz=$((gz + $(gzip -9 -c "$site/$f" | wc -c)))
      br=$((br + $(brotli -q 11 -c "$site/$f" | wc -c)))
    done
    printf '%9d raw %9d gzip %9d brotli' "$raw" "$gz" "$br"
  }
  page=(index.html app.js mirror.js yamaruka.css "$program.js" "$program.wasm" manifest.webmanifest
    sw.js icons/yamaruka.svg)
  for f in "${page[@]}"; do
    printf 'web:   %-32s %s\n' "$f" "$(sizes "$f")"
  done
  printf 'web:   %-32s %s\n' "the page" "$(sizes "${page[@]}")"
  mapfile -t fetched < <(cd "$site" && find . -type f ! -name '*.gz' ! -name '*.br' | sed 's|^\./||' | sort)
  printf 'web:   %-32s %s\n' "all ${#fetched[@]} files of a first visit" "$(sizes "${fetched[@]}")"
fi

# The page in Debian's Chromium, headless, driven through its DevTools protocol by
# tools/web-browser-test.js with npm's puppeteer-core (kept in the cache; no browser of its own);
# then in WebKitGTK's MiniBrowser through W3C WebDriver (tools/web-webkit-test.js). Each scenario
# is a test of node's own runner on a page of its own: --test-name-pattern runs one alone.
modules=$cache/browser-test
browser_modules() {
  command -v npm >/dev/null || bash tools/ensure-deps.sh <(echo npm)
  if [ ! -d "$modules/node_modules/puppeteer-core" ]; then
    npm install --prefix "$modules" --no-save --no-package-lock --no-audit --no-fund \
      puppeteer-core@24.43.1
  fi
}
if wants browser; then
  browser_modules
  mkdir -p build/web/screenshots
  YAMARUKA_BROWSER_MODULES=$modules/node_modules node --test-reporter=tap tools/web-browser-test.js "$site" \
    build/web/site-next
  node --test-reporter=tap tools/web-webkit-test.js "$site"
  # The page opened again and again in both browsers, a game each time: WEB_SOAK visits in each
  # (10 unless told), the program's stops counted with what the page says of them. WebKit still
  # stops now and then (one game in a few hundred, an out-of-bounds trap, never in Chromium):
  # the soak says so with the stack, and the build goes on; WEB_SOAK_STRICT=1 makes a stop fail
  # it. JavaScriptCore's switches (JSC_…) pass through to the browser for trials.
  YAMARUKA_BROWSER_MODULES=$modules/node_modules node tools/web-soak.js "$site" "${WEB_SOAK:-10}" ||
    [ "${WEB_SOAK_STRICT:-0}" = 0 ]
  say "screenshots of the page: build/web/screenshots"
fi

# The page's first picture against the floor's, on a first visit and on return visits.
if wants bench; then
  browser_modules
  YAMARUKA_BROWSER_MODULES=$modules/node_modules node tools/web-bench.js "$site" build/web/site-floor
fi
