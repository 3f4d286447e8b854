# The two commands: `make demo` and `make test`. Everything else is a helper of theirs, or
# serves integrators: `make install PREFIX=...` and `make package` (Debian packages in out/).
BUILD ?= build
PREFIX ?= /usr/local
# One tree of clang with AddressSanitizer and UndefinedBehaviorSanitizer for the suite and the
# fuzz targets alike.
SANITIZE_BUILD ?= build-sanitize
FUZZ_SECONDS ?= 60
SOAK_ARGS ?=
JOBS ?= $(shell nproc)

# ccache (installed by setup) with paths taken relative to the checkout, so that a fresh clone
# anywhere is served from the cache of the last one. Expanded after setup has run.
CCACHE = $(shell command -v ccache)
LAUNCHER = $(if $(CCACHE),-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
export CCACHE_BASEDIR := $(CURDIR)
export CCACHE_NOHASHDIR := true
# Precompiled headers (gcc's builds): cached like any object, and used from the cache even though
# the build makes them seconds before the files that include them.
export CCACHE_SLOPPINESS := pch_defines,time_macros,include_file_mtime,include_file_ctime

.PHONY: setup configure build demo test sanitize-build test-sanitize fuzz soak bench reference-pictures install package format clean

setup:
	@./scripts/setup.sh

configure: setup
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(LAUNCHER) >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

# The demo needs the library, the platform stand-in and vizhost, nothing of the tests.
demo: configure
	@cmake --build $(BUILD) -j $(JOBS) --target vizhost
	@./scripts/demo.sh $(BUILD)

test: build
	@cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

# The suite again under the sanitizers, built with clang at -O1, with the fuzz targets beside it.
# The long whole-library tests run shortened there (their full length runs in `make test`).
sanitize-build: setup
	@if [ -f $(SANITIZE_BUILD)/CMakeCache.txt ] && \
		! grep -q '^CMAKE_CXX_COMPILER:.*clang' $(SANITIZE_BUILD)/CMakeCache.txt; then \
		echo "$(SANITIZE_BUILD) was built by another compiler: starting it afresh" >&2; \
		rm -rf $(SANITIZE_BUILD); fi
	@cmake -S . -B $(SANITIZE_BUILD) -DCMAKE_BUILD_TYPE=Debug -DVIZ_SANITIZE=ON -DVIZ_FUZZ=ON \
		-DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14 \
		-DCMAKE_C_FLAGS_DEBUG="-O1 -g" -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g" $(LAUNCHER) >/dev/null
	@cmake --build $(SANITIZE_BUILD) -j $(JOBS)

test-sanitize: sanitize-build
# The leak checker stops every thread at exit and has been seen to crash on the software
# rasteriser's worker threads; rendering on the calling thread keeps its pass deterministic.
# A test is retried once only for the checker's own crash: a real leak or fault fails both runs.
# The checker's record of dynamically loaded TLS goes stale once the driver's compiler has grown
# its TLS blocks (it then walks a bogus range and crashes after the tests passed), so it is not
# kept: the driver's own allocations are suppressed anyway.
	@cd $(SANITIZE_BUILD) && LP_NUM_THREADS=0 MESA_SHADER_CACHE_DISABLE=true \
		ASAN_OPTIONS=intercept_tls_get_addr=0 \
		LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp \
		ctest --output-on-failure -j $(JOBS) --repeat until-pass:2

# The libFuzzer targets of the sanitizer tree in FUZZ_SECONDS, two at a time: the host boundary
# for all of it, the two parsers half each; any finding fails.
fuzz: sanitize-build
	@./scripts/fuzz.sh $(SANITIZE_BUILD) $(FUZZ_SECONDS)

# Forty minutes of music per family, then through the shared object (long; SOAK_ARGS to change).
soak: build
	@$(BUILD)/tests/viz_soak $(SOAK_ARGS)
	@$(BUILD)/tests/viz_soak --library $(SOAK_ARGS)

# The reference pictures of every mode (tests/reference/pictures; out/reference-sheet.png shows
# them all) and the README's family sheets in docs/, drawn again from this build in one run.
reference-pictures: build
	@mkdir -p out
	@$(BUILD)/tests/viz_reference --write tests/reference/pictures --sheet out/reference-sheet.png \
		--docs docs

bench: configure
	@cmake --build $(BUILD) -j $(JOBS) --target viz_bench
	@$(BUILD)/bench/viz_bench

# The library and its suite cross-built for 32-bit ARM and run under qemu (build-armhf), then the
# library alone as a board builds it (build-armhf-board); ARM_ARCH=arm64 for 64-bit ARM. It
# installs the cross compiler and the ARM packages with scripts/setup-arm.sh. CI's pass leaves out
# the laps through every mode and checks the first six modes' pictures; ARM_FULL=1 runs it all.
ARM_ARCH ?= armhf
ARM_FULL ?= 0
test-arm:
	@JOBS=$(JOBS) ARM_FULL=$(ARM_FULL) ./scripts/test-arm.sh $(ARM_ARCH)
.PHONY: test-arm

install: build
	@cmake --install $(BUILD) --prefix $(PREFIX)

# One package per install component, each checked against what its component installs.
package: build
	@rm -f out/*.deb
	@cd $(BUILD) && cpack -G DEB >/dev/null
	@./scripts/check_packages.sh $(BUILD) out

format:
	@git ls-files '*.cpp' '*.h' '*.c' | xargs clang-format -i

clean:
	@rm -rf $(BUILD) $(SANITIZE_BUILD)

# The library in a web page (emscripten, WebGL 2) in out/web/, and its tests in a real browser
# (headless chromium on SwiftShader). Both install what they need with scripts/setup-web.sh; em++
# goes through ccache as the native compilers do.
WEB_BUILD ?= build-web
WEB_OUT ?= $(CURDIR)/out/web

web:
	@./scripts/setup-web.sh
	@NODE_PATH=/usr/share/nodejs emcmake cmake -S . -B $(WEB_BUILD) -DCMAKE_BUILD_TYPE=Release \
		-DVIZ_PHOTOGRAPH_WORKER=OFF -DVIZ_BUILD_TESTS=OFF -DVIZ_BUILD_BENCH=OFF \
		-DVIZ_WEB_OUT=$(WEB_OUT) $(LAUNCHER) >/dev/null
	@NODE_PATH=/usr/share/nodejs cmake --build $(WEB_BUILD) -j $(JOBS) --target visualization-web
	@echo "web: $(WEB_OUT) (serve it: cd out/web && python3 -m http.server)"

test-web: web
	@./scripts/setup-web.sh --tests
	@cd web/tests && node browser_test.mjs $(WEB_OUT)
.PHONY: web test-web
