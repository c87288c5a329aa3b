# The two set-up commands of the README, and a few more for developers.
#   make run    install what is missing, build, start Korvex Editor
#   make check  install what is missing, check the format, build, run every test headless (plus ASan/UBSan pass),
#               build every fuzz target and run each for FUZZ_SMOKE_SECONDS on its seed corpus
#   make fuzz   build the libFuzzer targets with clang and run each for FUZZ_SECONDS
#   make bench  build optimised benchmark programs and print their figures
#   make install PREFIX=DIR   build, then install programs and desktop files under DIR (default /usr/local)
#   make package              build, then make the Debian package (.deb) in build/

JOBS ?= $(shell nproc)
PREFIX ?= /usr/local
FUZZ_SECONDS ?= 60
FUZZ_SMOKE_SECONDS ?= 3
CMAKE_GEN = -G Ninja

.PHONY: all deps format-check build build-san build-fuzz run check test test-san fuzz fuzz-smoke bench install package clean

all: build

deps:
	@scripts/install-deps

build: deps
	cmake -S . -B build $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKX_WERROR=ON
	cmake --build build -j $(JOBS)

run: build
	@scripts/run-editor

test: build
	scripts/run-tests build

build-san: deps
	cmake -S . -B build-san $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug -DKX_SANITIZE=ON -DKX_LIBS_ONLY=ON
	cmake --build build-san -j $(JOBS)

test-san: build-san
	scripts/run-tests build-san

format-check: deps
	scripts/check-format

check: format-check test test-san fuzz-smoke

build-fuzz: deps
	CC=clang CXX=clang++ cmake -S . -B build-fuzz $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKX_FUZZ=ON
	cmake --build build-fuzz -j $(JOBS) --target fuzzers

fuzz: build-fuzz
	scripts/run-fuzzers build-fuzz $(FUZZ_SECONDS)

# Every fuzz target a few seconds on its seed corpus, so that none stops building or running
# unnoticed; the grown corpus is not kept.
fuzz-smoke: build-fuzz
	scripts/run-fuzzers --smoke build-fuzz $(FUZZ_SMOKE_SECONDS)

bench: deps
	cmake -S . -B build-release $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release -DKX_BENCH=ON -DKX_LIBS_ONLY=ON
	cmake --build build-release -j $(JOBS)
	scripts/run-benchmarks build-release

# The file-type and menu caches of the prefix are refreshed here; the package leaves that to
# Debian's triggers.
install: build
	cmake --install build --prefix "$(PREFIX)"
	-update-mime-database "$(PREFIX)/share/mime"
	-update-desktop-database "$(PREFIX)/share/applications"

package: build
	cd build && cpack -G DEB
	@ls -1 build/*.deb

clean:
	rm -rf build build-san build-fuzz build-release
