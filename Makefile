# Kubri's front door: `make run` and `make test` install what is missing,
# build, and then play or test. Everything is built under build/.
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
CTEST = ctest --output-on-failure -j$(JOBS)
# The Windows tests mostly wait on Wine, on a window or on a box: twice as
# many run side by side as there are cores.
WINE_JOBS ?= $(shell echo $$(( $(JOBS) * 2 )))
# A compiler cache, when there is one, makes a second build of the same
# sources (another clone, another configuration) take seconds.
CCACHE := $(shell command -v ccache 2>/dev/null)
ifneq ($(CCACHE),)
export CCACHE_BASEDIR := $(CURDIR)
export CCACHE_NOHASHDIR := 1
CACHE_FLAGS = -DCMAKE_CXX_COMPILER_LAUNCHER=$(CCACHE) -DCMAKE_C_COMPILER_LAUNCHER=$(CCACHE)
endif

.PHONY: all run test dist deps-test deps-run deps-bench deps-build native windows asan tsan \
        test-native test-windows test-asan test-tsan test-fuzz test-long bench fuzz-long clean

all: native windows

run: deps-run windows
	scripts/run.sh

test: deps-test native windows asan tsan test-native test-asan test-tsan test-fuzz test-windows

# The Windows zip for players: dist/Kubri-<version>-win64.zip.
dist: deps-build windows
	rm -rf build/windows/package/dist
	cd build/windows && cpack --config CPackConfig.cmake -B package/dist >/dev/null
	mkdir -p dist
	cp build/windows/package/dist/Kubri-*-win64.zip dist/
	@ls dist/Kubri-*-win64.zip

deps-test:
	@scripts/install-deps.sh test
deps-run:
	@scripts/install-deps.sh run
deps-bench:
	@scripts/install-deps.sh bench
deps-build:
	@scripts/install-deps.sh build

# ThreadSanitizer builds and runs only the tests that use more than one thread.
tsan: BUILD_TARGETS = --target kubri_thread_tests
native windows asan tsan:
	cmake --preset $@ $(CACHE_FLAGS) >/dev/null
	cmake --build build/$@ -j$(JOBS) $(BUILD_TARGETS)

test-native: native
	cd build/native && $(CTEST) -LE 'slow'

# The sanitizer build (clang, ASan and UBSan) runs the native tests and the
# fuzz targets.
test-asan: asan
	cd build/asan && $(CTEST) -LE 'slow|fuzz'

test-tsan: tsan
	cd build/tsan && $(CTEST) -L threads --no-tests=ignore

# Every fuzz target for a short, fixed time from its corpus; fuzz-long runs longer.
test-fuzz: asan
	cd build/asan && $(CTEST) -L fuzz

fuzz-long: asan
	fuzz/run-long.sh build/asan

# The Windows tests run under Wine on a virtual display of their own (the
# real-window games each bring up one more). Runs that repeat what another
# test already covers, labelled `long`, wait for test-long. Now and then a
# Wine process ends at start, before the program has run, while several
# prefixes start beside it: a test that fails is run once more, and a fault
# of the program fails both times.
WINE_CTEST = ctest --output-on-failure -j$(WINE_JOBS) --repeat until-pass:2
test-windows: windows
	scripts/with-wine.sh sh -c 'cd build/windows && $(WINE_CTEST) -LE long'

# What `make test` leaves out: the device and main-loop programs under the
# heap checks, and the whole game played again without the D3DX runtime.
# CI runs it after `make test`.
test-long: deps-test windows
	scripts/with-wine.sh sh -c 'cd build/windows && $(WINE_CTEST) -L long'

# The real game played at random for half an hour under Wine's heap checks
# (SOAK_SECONDS; KUBRI_SOAK_SEED picks another seed).
.PHONY: soak
SOAK_SECONDS ?= 1800
soak: deps-test windows
	scripts/with-wine.sh sh view/soak_test.sh build/windows/view/Kubri.exe \
	  build/windows/view/Number.dds build/windows/view/kubri_settings_check.exe $(SOAK_SECONDS)

bench: deps-bench native
	cmake --build build/native --target kubri-bench -j$(JOBS)
	build/native/bench/kubri-bench
	bench/compare-peers.sh

clean:
	WINEPREFIX=$(CURDIR)/build/wineprefix wineserver -k 2>/dev/null || true
	rm -rf build
