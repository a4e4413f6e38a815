# Everyday entry points; CMake does the real work.
SHELL := /bin/bash
BUILD ?= build
SANITIZE_BUILD ?= build-sanitize
RELEASE_BUILD ?= build-release
BENCH_BUILD ?= build-bench
FUZZ_BUILD ?= build-fuzz
JOBS ?= $(shell nproc)
FUZZ_SECONDS ?= 60
FUZZ_TARGET ?= engine
CLI := $(BUILD)/src/cli/plotcraftsman-cli
# A plain CMake configure leaves warnings as warnings; our own builds refuse them.
WERROR := -DPLOTCRAFTSMAN_WERROR=ON

PREFIX ?= /usr/local

.PHONY: all deps configure build test sanitize release run bench fuzz configs install examples \
	screenshot clean

all: build

deps:
	@bash scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(WERROR) > /dev/null

build: configure
	@cmake --build $(BUILD) -j$(JOBS)

# Every test, then the non-GUI tests again under AddressSanitizer and UBSan, then the
# Release configuration a packager builds (-O3 finds warnings and faults -O2 does not).
test: build
	@cd $(BUILD) && ctest --output-on-failure -j$(JOBS)
	@$(MAKE) --no-print-directory sanitize
	@$(MAKE) --no-print-directory release

sanitize: deps
	@cmake -S . -B $(SANITIZE_BUILD) -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-g -O1" \
	    -DPLOTCRAFTSMAN_SANITIZE=ON $(WERROR) > /dev/null
	@cmake --build $(SANITIZE_BUILD) -j$(JOBS)
	@cd $(SANITIZE_BUILD) && ctest --output-on-failure -j$(JOBS)

release: deps
	@cmake -S . -B $(RELEASE_BUILD) -DCMAKE_BUILD_TYPE=Release $(WERROR) > /dev/null
	@cmake --build $(RELEASE_BUILD) -j$(JOBS)
	@cd $(RELEASE_BUILD) && ctest --output-on-failure -j$(JOBS)

# The program on the bundled example; without a display (DISPLAY or WAYLAND_DISPLAY) the
# example is rendered headlessly, as the program would draw it at start.
EXAMPLE := resources/Examples/sinx.fx
APP := $(BUILD)/src/app/plotcraftsman
run: build
	@if [ -n "$${DISPLAY}$${WAYLAND_DISPLAY}" ]; then \
	    $(APP) $(EXAMPLE); \
	else \
	    $(CLI) render $(EXAMPLE) -o $(BUILD)/example.png --size 800x600 && \
	    echo "No display: rendered $(EXAMPLE) to $(BUILD)/example.png"; \
	fi

bench: deps
	@cmake -S . -B $(BENCH_BUILD) -DCMAKE_BUILD_TYPE=Release -DPLOTCRAFTSMAN_TESTS=OFF $(WERROR) \
	    -DPLOTCRAFTSMAN_BENCH=ON > /dev/null
	@cmake --build $(BENCH_BUILD) -j$(JOBS) --target engine_bench plot_bench catalogue_bench
	@$(BENCH_BUILD)/bench/engine_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
	@$(BENCH_BUILD)/bench/plot_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
	@$(BENCH_BUILD)/bench/catalogue_bench --benchmark_repetitions=3 --benchmark_report_aggregates_only=true

# libFuzzer with ASan and UBSan; FUZZ_SECONDS=900 for a long run, FUZZ_TARGET=catalogue for
# the catalogue's command sequences.
fuzz: deps
	@cmake -S . -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
	    -DPLOTCRAFTSMAN_TESTS=OFF -DPLOTCRAFTSMAN_FUZZ=ON > /dev/null
	@cmake --build $(FUZZ_BUILD) -j$(JOBS) --target $(FUZZ_TARGET)_fuzz
	@mkdir -p fuzz-corpus/$(FUZZ_TARGET)
	@$(FUZZ_BUILD)/fuzz/$(FUZZ_TARGET)_fuzz -max_total_time=$(FUZZ_SECONDS) -timeout=10 -rss_limit_mb=2048 \
	    -dict=fuzz/$(FUZZ_TARGET).dict fuzz-corpus/$(FUZZ_TARGET) fuzz/seeds/$(FUZZ_TARGET)

# Regenerates the shipped configuration files in resources/Config/ with the program's own
# writer; a test fails when the committed files differ from what it writes.
configs: configure
	@cmake --build $(BUILD) -j$(JOBS) --target make-configs
	@mkdir -p resources/Config
	@$(BUILD)/tools/make-configs resources/Config > /dev/null

# The programs, their data under share/plotcraftsman/, the menu entry, the icon and the .fx type.
install: build
	@cmake --install $(BUILD) --prefix $(PREFIX)

# Regenerates resources/Examples/ from scripts/examples/*.script with the program's own writer;
# a test fails when the committed files differ from what it writes.
examples: build
	@scripts/make-examples.sh $(CLI)

# The README picture: the program on a curve family under Xvfb, written to docs/screenshot.png.
screenshot: build
	@scripts/screenshot.sh $(APP) resources/Examples/family.fx

clean:
	rm -rf $(BUILD) $(SANITIZE_BUILD) $(RELEASE_BUILD) $(BENCH_BUILD) $(FUZZ_BUILD)
