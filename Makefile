# Front door: `make test` and `make run APP=morvane` work on a fresh Debian 12 machine.
BUILD_DIR ?= build
ASAN_DIR  ?= build-asan
FUZZ_DIR  ?= build-fuzz
RELEASE_DIR ?= build-release
JOBS      ?= $(shell nproc)
APP       ?= morvane
ARGS      ?=
FUZZ_SECONDS ?= 60
# Parallel fuzzing processes per target (libFuzzer's fork mode when above 1).
FUZZ_JOBS ?= 1

CMAKE_CONFIG = cmake -S . -G Ninja -DCMAKE_EXPORT_COMPILE_COMMANDS=ON
# ccache makes rebuilds in fresh checkouts cheap; the build works without it.
ifneq ($(shell command -v ccache),)
CMAKE_CONFIG += -DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache
endif

.PHONY: deps build test test-asan bench fuzz run install package clean

deps:
	@bash tools/deps.sh

$(BUILD_DIR)/build.ninja:
	$(CMAKE_CONFIG) -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: deps $(BUILD_DIR)/build.ninja
	cmake --build $(BUILD_DIR) -j $(JOBS)

test: build
	cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

$(ASAN_DIR)/build.ninja:
	$(CMAKE_CONFIG) -B $(ASAN_DIR) -DCMAKE_BUILD_TYPE=Debug -DCORVELLE_SANITIZE=ON

test-asan: deps $(ASAN_DIR)/build.ninja
	cmake --build $(ASAN_DIR) -j $(JOBS)
	cd $(ASAN_DIR) && QT_QPA_PLATFORM=offscreen \
	    ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
	    LSAN_OPTIONS=suppressions=$(CURDIR)/tools/lsan.supp:print_suppressions=0 \
	    UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	    ctest --output-on-failure -j $(JOBS)

$(FUZZ_DIR)/build.ninja:
	$(CMAKE_CONFIG) -B $(FUZZ_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCORVELLE_FUZZ=ON \
	    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++

fuzz: deps $(FUZZ_DIR)/build.ninja
	cmake --build $(FUZZ_DIR) -j $(JOBS)
	bash tools/run-fuzzers.sh $(FUZZ_DIR) $(FUZZ_SECONDS) $(FUZZ_JOBS)

bench: build
	bash tools/run-benchmarks.sh $(BUILD_DIR)

run: build
	$(BUILD_DIR)/$(APP)/$(APP) $(ARGS)

PREFIX ?= /usr/local
install: build
	cmake --install $(BUILD_DIR) --prefix $(PREFIX)

$(RELEASE_DIR)/build.ninja:
	$(CMAKE_CONFIG) -B $(RELEASE_DIR) -DCMAKE_BUILD_TYPE=Release -DCORVELLE_TESTS=OFF

# The Debian package from a Release build of its own (programs only, no test suites):
# corvelle-photo-tools_<version>_<arch>.deb with stripped programs, and their debug
# information in corvelle-photo-tools-dbgsym_<version>_<arch>.ddeb, both copied to
# $(BUILD_DIR).
package: deps $(RELEASE_DIR)/build.ninja
	cmake --build $(RELEASE_DIR) -j $(JOBS)
	cd $(RELEASE_DIR) && cpack -G DEB
	mkdir -p $(BUILD_DIR)
	cp $(RELEASE_DIR)/corvelle-photo-tools_*.deb $(RELEASE_DIR)/corvelle-photo-tools-dbgsym_*.ddeb \
	    $(BUILD_DIR)/

clean:
	rm -rf $(BUILD_DIR) $(ASAN_DIR) $(FUZZ_DIR) $(RELEASE_DIR)
