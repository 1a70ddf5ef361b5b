# Front door of the build. Every target first makes sure the Debian packages are present.
PREFIX ?= /usr/local
JOBS   ?= $(shell nproc)
CMAKE_FLAGS ?=

.PHONY: all deps build test demo sanitize bench fuzz install deb clean

all: build

deps:
	@./cmake/deps.sh

build: deps
	cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS)
	cmake --build build -j $(JOBS)

test: build
	cd build && ctest --output-on-failure -j $(JOBS)

# The main job on the built-in simulated modem: a PIN-locked card brought
# online over real PPP, a ping through the link, then a clean hang-up; inside
# User-mode Linux (demo/run.sh says why).
demo: deps
	cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS)
	cmake --build build --target cellctl_program -j $(JOBS)
	demo/run.sh build

sanitize: deps
	cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DCELLCTL_SANITIZE=ON $(CMAKE_FLAGS)
	cmake --build build-asan -j $(JOBS)
	cd build-asan && ctest --output-on-failure -j $(JOBS)

# Benchmarks in Release, in their own build directory; results go to
# build-bench/bench-results/.
bench: deps
	cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DCELLCTL_TESTS=OFF -DCELLCTL_BENCH=ON $(CMAKE_FLAGS)
	cmake --build build-bench -j $(JOBS) --target cellctl_benchmarks
	bench/run.sh build-bench

# Fuzz targets: a clang build of their own in build-fuzz/, then each target runs
# for FUZZ_SECONDS (default 60) on its corpus; see fuzz/run.sh.
FUZZ_SECONDS ?= 60
fuzz: deps
	CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCELLCTL_TESTS=OFF $(CMAKE_FLAGS)
	cmake --build build-fuzz -j $(JOBS) --target fuzzers
	FUZZ_SECONDS=$(FUZZ_SECONDS) fuzz/run.sh build-fuzz

# Load: STRESS_COMMANDS commands through AtPhoneLine to a cellsim process over
# a pty, unsolicited lines interleaved, every answer counted; fails after
# STRESS_SECONDS or when resident memory grows by more than 1 MiB.
STRESS_COMMANDS ?= 1000000
STRESS_SECONDS ?= 3600
stress: deps
	cmake -S . -B build-stress -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS)
	cmake --build build-stress -j $(JOBS) --target cellctl_stress
	build-stress/tests/stress/cellctl_stress --commands $(STRESS_COMMANDS) --max-seconds $(STRESS_SECONDS) --max-rss-growth-kib 1024

install: build
	cmake --install build --prefix $(PREFIX)

# Debian packages (libcellctl0, libcellctl-dev, cellctl) in build/packages/.
deb: build
	cd build && cpack -G DEB -B $(CURDIR)/build/packages

clean:
	rm -rf build build-asan build-fuzz build-stress build-bench
