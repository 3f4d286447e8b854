# The two commands: `make demo` and `make test`. Everything else is a helper of theirs, or
# serves integrators: `make install PREFIX=...` and `make package` (Debian packages in out/).
BUILD ?= build
PREFIX ?= /usr/local
SANITIZE_BUILD ?= build-sanitize
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60
SOAK_ARGS ?=
JOBS ?= $(shell nproc)

.PHONY: setup configure build demo test test-sanitize fuzz soak bench reference-pictures install package format clean

setup:
	@./scripts/setup.sh

configure: setup
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

# The demo needs the library, the platform stand-in and vizhost, nothing of the tests.
demo: configure
	@cmake --build $(BUILD) -j $(JOBS) --target vizhost
	@./scripts/demo.sh $(BUILD)

test: build
	@cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

test-sanitize: setup
	@cmake -S . -B $(SANITIZE_BUILD) -DCMAKE_BUILD_TYPE=Debug -DVIZ_SANITIZE=ON >/dev/null
	@cmake --build $(SANITIZE_BUILD) -j $(JOBS)
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

# libFuzzer targets in their own build folder (clang, AddressSanitizer, UndefinedBehaviorSanitizer),
# each run for FUZZ_SECONDS; any finding fails.
fuzz: setup
	@cmake -S . -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVIZ_FUZZ=ON \
		-DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14 >/dev/null
	@cmake --build $(FUZZ_BUILD) -j $(JOBS)
	@./scripts/fuzz.sh $(FUZZ_BUILD) $(FUZZ_SECONDS)

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

bench: build
	@$(BUILD)/bench/viz_bench

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
	@rm -rf $(BUILD) $(SANITIZE_BUILD) $(FUZZ_BUILD)

# The library in a web page (emscripten, WebGL 2) in out/web/, and its tests in a real browser
# (headless chromium on SwiftShader). Both install what they need with scripts/setup-web.sh.
WEB_BUILD ?= build-web
WEB_OUT ?= $(CURDIR)/out/web

web:
	@./scripts/setup-web.sh
	@NODE_PATH=/usr/share/nodejs emcmake cmake -S . -B $(WEB_BUILD) -DCMAKE_BUILD_TYPE=Release \
		-DVIZ_PHOTOGRAPH_WORKER=OFF -DVIZ_BUILD_TESTS=OFF -DVIZ_BUILD_BENCH=OFF \
		-DVIZ_WEB_OUT=$(WEB_OUT) >/dev/null
	@NODE_PATH=/usr/share/nodejs cmake --build $(WEB_BUILD) -j $(JOBS) --target visualization-web
	@echo "web: $(WEB_OUT) (serve it: cd out/web && python3 -m http.server)"

test-web: web
	@./scripts/setup-web.sh --tests
	@cd web/tests && node browser_test.mjs $(WEB_OUT)
.PHONY: web test-web
