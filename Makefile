# The two everyday commands, `make run` and `make test`; both install what is missing first:
# `make run` what building and running need, `make test` what the tests add as well. DEPS=0
# skips the install step.
PRESET ?= default
BUILD_DIR := build/$(PRESET)
FUZZ_SECONDS ?= 60
MAKEFLAGS += --no-print-directory

.PHONY: deps deps-run configure configure-run build run test lint sanitize portable fuzz bench \
	package windows web serve-web clean

deps-run:
	@bash tools/ensure-deps.sh tools/packages-run.txt

deps:
	@bash tools/ensure-deps.sh tools/packages-run.txt tools/packages-test.txt

configure-run: deps-run
	cmake --preset $(PRESET) >/dev/null

configure: deps
	cmake --preset $(PRESET) >/dev/null

build: configure
	cmake --build --preset $(PRESET) -j 2

run: configure-run
	cmake --build --preset $(PRESET) -j 2 --target yamaruka
	$(BUILD_DIR)/app/yamaruka

# Every test: the optimised build with the format and static checks, the same tests under
# AddressSanitizer and UndefinedBehaviorSanitizer, the unit and window tests with the plain C++
# fallbacks of the compiler extensions, and half a minute of fuzzing.
test: build lint
	ctest --preset $(PRESET)
	$(MAKE) sanitize
	$(MAKE) portable
	$(MAKE) fuzz FUZZ_SECONDS=30

lint: build
	bash tools/lint.sh format
	bash tools/lint.sh tidy $(BUILD_DIR)

sanitize: deps
	cmake --preset asan >/dev/null
	cmake --build --preset asan -j 2
	ctest --preset asan

portable: deps
	cmake --preset portable >/dev/null
	cmake --build --preset portable -j 2
	ctest --preset portable

# make fuzz FUZZ_SECONDS=N runs the drawing surface's fuzzer for N seconds.
fuzz: deps
	cmake --preset fuzz >/dev/null
	cmake --build --preset fuzz -j 2 --target surface_fuzz
	bash tools/fuzz.sh build/fuzz/fuzz/surface_fuzz $(FUZZ_SECONDS)

# make package: build/default/package/yamaruka_<version>_<arch>.deb
package: build
	cd $(BUILD_DIR) && cpack -B package

# make windows: the program cross-built for Windows, its unit and window tests under Wine, and
# build/windows/yamaruka-<version>-windows-x64.zip (tools/windows.sh; the first run builds Qt).
windows:
	bash tools/windows.sh

# make web: the program for the browser, its engine and raster tests under node, the page in
# build/web/site played in Chromium (tools/web.sh; the first run builds Qt for WebAssembly).
web:
	bash tools/web.sh

# make serve-web: the page on http://127.0.0.1:8080/ for a trial.
serve-web:
	node tools/serve-web.js build/web/site 8080

# make bench: the desktop's figures; where make web has written the page, its start against the
# floor's in Chromium too.
bench: build
	$(BUILD_DIR)/bench/yamaruka_bench
	if [ -d build/web/site-floor ]; then WEB_STEPS=bench bash tools/web.sh; fi

clean:
	rm -rf build
