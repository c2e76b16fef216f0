# The two everyday commands; both install what is missing first.
PRESET ?= default
BUILD_DIR := build/$(PRESET)

.PHONY: deps configure build run test lint bench clean

deps:
	@bash tools/ensure-deps.sh

configure: deps
	cmake --preset $(PRESET) >/dev/null

build: configure
	cmake --build --preset $(PRESET) -j 2

run: configure
	cmake --build --preset $(PRESET) -j 2 --target yamaruka
	$(BUILD_DIR)/app/yamaruka

test: build lint
	ctest --preset $(PRESET)

lint: build
	bash tools/lint.sh format
	bash tools/lint.sh tidy $(BUILD_DIR)

bench: build
	@echo "DrawExample / Clear ratio and the drawing timings:"
	$(BUILD_DIR)/bench/yamaruka_bench

clean:
	rm -rf build
