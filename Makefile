# The two commands of the README: `make run` and `make test`.
# Both install what is missing, then build.
BUILD      ?= build
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
JOBS       ?= $(shell nproc)
FUZZ_SECONDS ?= 60

.PHONY: all deps build build-asan run test test-fast test-asan fuzz bench clean format package \
        screenshots web deps-web test-web web-serve web-bench

all: build

deps:
	@scripts/install-deps.sh

# Our own builds treat warnings as errors.
WERROR     ?= -DBURROWBOP_WERROR=ON
BUILD_TYPE ?= RelWithDebInfo
BUILD_ARGS  = -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) $(WERROR)
ASAN_ARGS   = -DCMAKE_BUILD_TYPE=Debug -DBURROWBOP_SANITIZE=ON -DBURROWBOP_BENCHMARKS=OFF $(WERROR)

# A build folder is configured anew, from a fresh cache, when the arguments it was
# configured with change (WERROR=, BUILD_TYPE=Debug): <folder>/make-args holds them,
# rewritten as make starts only when they differ, and the folder's cache depends on it.
remember-args = $(shell test -d $(1) && { [ "$$(cat $(1)/make-args 2>/dev/null)" = '$(2)' ] \
                || echo '$(2)' > $(1)/make-args; })
$(call remember-args,$(BUILD),$(BUILD_ARGS))
$(call remember-args,$(ASAN_BUILD),$(ASAN_ARGS))

$(BUILD)/CMakeCache.txt: $(wildcard $(BUILD)/make-args) | deps
	mkdir -p $(BUILD) && echo '$(BUILD_ARGS)' > $(BUILD)/make-args
	cmake --fresh -S . -B $(BUILD) $(BUILD_ARGS)

build: deps $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS) -- --no-print-directory

$(ASAN_BUILD)/CMakeCache.txt: $(wildcard $(ASAN_BUILD)/make-args) | deps
	mkdir -p $(ASAN_BUILD) && echo '$(ASAN_ARGS)' > $(ASAN_BUILD)/make-args
	cmake --fresh -S . -B $(ASAN_BUILD) $(ASAN_ARGS)

build-asan: deps $(ASAN_BUILD)/CMakeCache.txt
	cmake --build $(ASAN_BUILD) -j $(JOBS) -- --no-print-directory

# Only what it runs: the game and the phone tool, no tests or benchmarks.
run: deps $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS) --target burrowbop phone -- --no-print-directory
	$(BUILD)/app/burrowbop

test-fast: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

# The soak test plays a thousand games; the main build runs it, the sanitizer build
# would take many minutes for no more findings than the end-to-end tests give.
test-asan: build-asan
	ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
	LSAN_OPTIONS=suppressions=$(CURDIR)/scripts/lsan.supp:print_suppressions=0 \
	UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	ctest --test-dir $(ASAN_BUILD) --output-on-failure -j $(JOBS) -LE soak

fuzz: deps
	scripts/fuzz.sh $(FUZZ_BUILD) $(FUZZ_SECONDS)

# The fuzz run, the sanitizer build and the page's browser suite go first so that
# ctest's summary of the main build closes the output.
test: deps
	$(MAKE) --no-print-directory fuzz
	$(MAKE) --no-print-directory test-asan
	$(MAKE) --no-print-directory test-web
	$(MAKE) --no-print-directory test-fast

# The Debian package, in $(BUILD)/: apt install ./$(BUILD)/burrowbop_*.deb
package: build
	cmake --build $(BUILD) --target package

# The README's pictures, drawn in test mode at a fixed clock; the tests compare
# against them. Look at each one before committing.
screenshots: build
	BURROWBOP_UPDATE_REFERENCE=1 $(BUILD)/game/tests/game_tests \
	    --gtest_filter='*SceneScreenshotTest*' --gtest_brief=1

bench: build
	scripts/bench.sh $(BUILD)

# The page: the game built for WebAssembly into $(WEB_BUILD)/site beside the page's own
# files. SDL2 and its libraries are built once from Debian's source packages and kept
# in $(WEB_BUILD)/deps, so that a second run rebuilds only the game.
WEB_BUILD  ?= build-web
# emcc builds its C library into its cache on first use: the system's where this user
# may write there, else one beside the build.
WEB_ENV     = NODE_PATH=/usr/share/nodejs $(if $(shell test -w "$$(em-config CACHE 2>/dev/null)" \
              && echo y),,EM_CACHE=$(CURDIR)/$(WEB_BUILD)/emcache)

deps-web:
	@scripts/install-deps.sh --web

$(WEB_BUILD)/deps/prefix/lib/pkgconfig/SDL2_ttf.pc: | deps-web
	$(WEB_ENV) JOBS=$(JOBS) scripts/build-web-deps.sh $(WEB_BUILD)/deps

$(WEB_BUILD)/CMakeCache.txt: | $(WEB_BUILD)/deps/prefix/lib/pkgconfig/SDL2_ttf.pc
	$(WEB_ENV) emcmake cmake -S . -B $(WEB_BUILD) -DCMAKE_BUILD_TYPE=MinSizeRel $(WERROR) \
	      -DBURROWBOP_TESTS=OFF -DBURROWBOP_BENCHMARKS=OFF \
	      -DCMAKE_CROSSCOMPILING_EMULATOR=/usr/bin/node

web: deps-web $(WEB_BUILD)/CMakeCache.txt
	$(WEB_ENV) cmake --build $(WEB_BUILD) -j $(JOBS) --target burrowbop -- --no-print-directory
	/usr/bin/python3 web/make-site.py $(WEB_BUILD)/site

# The page in a browser: served on 127.0.0.1 (WEB_PORT), its end-to-end suite and its
# benchmark in headless Chromium.
WEB_SITE ?= build-web/site
WEB_PORT ?= 8080

web-serve: web
	node tests/web/serve.js $(WEB_SITE) $(WEB_PORT)

test-web: web
	scripts/test-web.sh $(WEB_SITE)

web-bench: web
	scripts/test-web.sh --bench $(WEB_SITE)

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD)
