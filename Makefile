# Kestrune: `make run` builds and runs the demo, `make test` builds and passes every test.
# Each target first installs the missing Debian packages it needs (scripts/install-deps USE):
# `make run` only what building and playing the demo take, the others what they add.
JOBS ?= $(shell nproc)
BUILD ?= build
TEST_BUILD ?= build-test
FUZZ_BUILD ?= build-fuzz
BENCH_BUILD ?= build-bench
WEB_BUILD ?= build-web

DEPS := deps-run deps-test deps-bench deps-fuzz deps-video deps-sheet deps-format deps-web deps-fresh
.PHONY: all deps $(DEPS) build run edit video contact-sheet test web web-run bench fuzz format fresh-check clean

all: build

# A static pattern rule: make looks for no implicit rule for a phony target, so a plain
# `deps-%:` would never run for these.
deps: deps-run
$(DEPS): deps-%:
	@scripts/install-deps $*

build: deps-run
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release -DKESTRUNE_TESTS=OFF >/dev/null
	@cmake --build $(BUILD) -j$(JOBS)

run: build
	@scripts/run-demo $(BUILD)/demo

# The show in author mode: a window, and its time and content under the author's keys.
edit: build
	@scripts/run-demo $(BUILD)/demo --edit

# Renders the show offline to $(BUILD)/kestrune.mp4: VIDEO_SIZE, VIDEO_FPS, and
# VIDEO_FROM/VIDEO_TO (seconds) for a part of it.
VIDEO_SIZE ?= 1280x720
VIDEO_FPS ?= 60
video: deps-video build
	@VIDEO_SIZE=$(VIDEO_SIZE) VIDEO_FPS=$(VIDEO_FPS) scripts/record-video $(BUILD) \
		$(BUILD)/kestrune.mp4 $(if $(VIDEO_TO),$(or $(VIDEO_FROM),0) $(VIDEO_TO),$(VIDEO_FROM))

# The whole show at a glance: SHEET_FRAMES frames spread evenly over it, drawn at
# SHEET_SIZE, tiled with their times into SHEET_OUT (the one in docs/ only when asked:
# SHEET_OUT=docs/contact-sheet.png).
SHEET_FRAMES ?= 48
SHEET_SIZE ?= 640x360
SHEET_OUT ?= $(BUILD)/contact-sheet.png
contact-sheet: deps-sheet build
	@SHEET_SIZE=$(SHEET_SIZE) scripts/contact-sheet $(BUILD) $(SHEET_OUT) $(SHEET_FRAMES)

# The browser build: the page, its wasm and js, the data package and the music in
# $(WEB_BUILD); `make web-run` serves it on 127.0.0.1 and prints the address.
web: deps-web build
	@JOBS=$(JOBS) scripts/build-web $(BUILD) $(WEB_BUILD)

web-run: web
	@scripts/serve-web $(WEB_BUILD)

# The tests run on a build with AddressSanitizer and UndefinedBehaviorSanitizer.
# The web test skips where the web packages cannot be installed. Ninja builds the test
# tree: it schedules the whole build at once, the content generation beside the compiles
# (a tree first configured for make keeps make).
TEST_GENERATOR = $(if $(wildcard $(TEST_BUILD)/CMakeCache.txt),,-G Ninja)
test: deps-test
	@scripts/install-deps web || \
		echo "make test: the web packages could not be installed; the web test will skip"
	@cmake -S . -B $(TEST_BUILD) $(TEST_GENERATOR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKESTRUNE_SANITIZE=ON \
		-DKESTRUNE_WEB_DIR=$(abspath $(WEB_BUILD)) >/dev/null
	@cmake --build $(TEST_BUILD) -j$(JOBS)
	@cd $(TEST_BUILD) && ctest --output-on-failure -j$(JOBS)

bench: deps-bench
	@cmake -S . -B $(BENCH_BUILD) -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build $(BENCH_BUILD) -j$(JOBS)
	@scripts/run-benchmarks $(BENCH_BUILD)
	@scripts/bench-startup $(BENCH_BUILD)
	@bench/reload-latency $(BENCH_BUILD)

fuzz: deps-fuzz
	@CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKESTRUNE_FUZZ=ON >/dev/null
	@cmake --build $(FUZZ_BUILD) -j$(JOBS) --target fuzz_reader fuzz_campath content
	@scripts/run-fuzz $(FUZZ_BUILD)

format: deps-format
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

# The README's commands in a brand-new Debian 12 root (needs root and debootstrap):
# FRESH_MODE test, run, or "run test" (one after the other, in the same root), FRESH_LANG,
# FRESH_USER root|sudo|nosudo.
FRESH_MODE ?= test
FRESH_USER ?= root
fresh-check: deps-fresh
	@scripts/fresh-check $(if $(FRESH_LANG),--lang $(FRESH_LANG)) --user $(FRESH_USER) $(FRESH_MODE)

# Deletes the build folders, after copying any camera path in their run folders that the
# build did not generate (a recording) to RECORDINGS.
RECORDINGS ?= recordings
clean:
	@scripts/keep-recordings $(RECORDINGS) $(BUILD) $(TEST_BUILD) $(FUZZ_BUILD) $(BENCH_BUILD)
	rm -rf $(BUILD) $(TEST_BUILD) $(FUZZ_BUILD) $(BENCH_BUILD) $(WEB_BUILD)
