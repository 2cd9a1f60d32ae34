# Brenvik: build, run, test and benchmark on a Debian machine.
BUILD      ?= build
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60
JOBS       ?= $(shell nproc)
SAMPLE     ?= data/samples/harbour.log
CMAKE_GEN  := $(shell command -v ninja >/dev/null 2>&1 && echo "-G Ninja")
PREFIX     ?= /usr/local

.PHONY: all deps build run screenshot test test-asan bench fuzz fuzz-smoke install package clean

all: build

deps:
	@bash scripts/install-deps.sh

$(BUILD)/CMakeCache.txt:
	cmake -S . -B $(BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_ARGS)

build: deps $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS)

# The desktop program on the sample log. Without a display: the command-line report instead.
run: build
	@if [ -n "$$DISPLAY$$WAYLAND_DISPLAY" ]; then \
	  $(BUILD)/src/ui/brenvik $(SAMPLE); \
	else \
	  echo "No display (neither DISPLAY nor WAYLAND_DISPLAY is set): the command-line report of $(SAMPLE) follows; 'make screenshot' takes pictures of the desktop program."; \
	  $(BUILD)/brenvik-cli --report $(SAMPLE); \
	fi

# Pictures of the main window on the sample log, taken under Xvfb, in $(BUILD)/screenshots.
screenshot: build
	@bash scripts/screenshots.sh $(BUILD) $(SAMPLE)

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

test-asan: deps
	cmake -S . -B $(ASAN_BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug -DBRENVIK_SANITIZE=ON $(CMAKE_ARGS)
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && ctest --output-on-failure -j $(JOBS)

bench: build
	@bash scripts/bench.sh $(BUILD)

# Each libFuzzer target (or those in FUZZ_TARGETS: load ais settings) for FUZZ_SECONDS, in
# its own clang build in FUZZ_BUILD, where the corpus grows; fuzz-smoke is the short run CI makes.
fuzz: deps
	@bash scripts/fuzz.sh $(FUZZ_BUILD) $(FUZZ_SECONDS) $(FUZZ_TARGETS)

fuzz-smoke: deps
	@FUZZ_WORKERS=1 bash scripts/fuzz.sh $(FUZZ_BUILD) 20

# Programs, lookup tables, help and manual pages, desktop entry, icon and metadata under $(PREFIX).
install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

# A Debian package in $(BUILD): dependencies computed from the binaries; ctest -R Packaging checks it.
package: build
	cd $(BUILD) && cpack -G DEB

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD)
