# Front door: every command installs what it needs first, so a fresh Debian
# machine needs nothing but this repository.
JOBS     ?= $(shell nproc)
BUILD    ?= build
ASAN     ?= build-asan
WIN      ?= build-win
FUZZ     ?= build-fuzz
FUZZ_SECONDS ?= 60
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo

.PHONY: all deps build check asan wincheck test bench fuzz demo clean

all: build

deps:
	@bash tools/install-deps.sh

# Configured on every build, as the other trees are: a unit or test folder added
# since the last run is picked up instead of silently left out.
build: deps
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS)
	cmake --build $(BUILD) -j $(JOBS)

# The suite once, on the normal build: the quick loop while working.
check: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# The suite under AddressSanitizer and UBSan.
asan: deps
	cmake -S . -B $(ASAN) -DCMAKE_BUILD_TYPE=Debug -DFD_SANITIZE=ON
	cmake --build $(ASAN) -j $(JOBS)
	cd $(ASAN) && QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0 \
	  UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j $(JOBS)

# The Qt-free units compiled for Windows with the mingw-w64 cross compiler.
wincheck: deps
	cmake -S . -B $(WIN) -DFD_PORTABLE_ONLY=ON -DCMAKE_SYSTEM_NAME=Windows \
	  -DCMAKE_CXX_COMPILER=x86_64-w64-mingw32-g++-posix -DCMAKE_BUILD_TYPE=Release
	cmake --build $(WIN) -j $(JOBS)

# Everything CI checks: the Windows cross build, the suite under the sanitizers,
# then the suite on the normal build, whose summary ends the output.
test: wincheck asan check

bench: build
	cmake --build $(BUILD) --target run_benchmarks

# libFuzzer builds of every fuzz target, each run for FUZZ_SECONDS.
fuzz: deps
	cmake -S . -B $(FUZZ) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DFD_FUZZ=ON \
	  -DCMAKE_CXX_COMPILER=clang++
	cmake --build $(FUZZ) -j $(JOBS)
	@for f in $$(cat $(FUZZ)/fuzzers.txt); do \
	  echo "== $$f"; mkdir -p $(FUZZ)/corpus/$$f; \
	  $(FUZZ)/$$f -max_total_time=$(FUZZ_SECONDS) $(FUZZ)/corpus/$$f fuzz/corpus/$$f || exit 1; \
	done

# The controller simulator and flightdesk connected to it.
demo: build
	@bash tools/demo.sh $(BUILD)

clean:
	rm -rf $(BUILD) $(ASAN) $(WIN) $(FUZZ)
