# Corvanel: `make run` builds and starts the program, `make test` builds and runs every test.
# Both install what is missing first (Debian packages, through scripts/install-deps).

BUILD ?= build
SANITIZE_BUILD ?= build-sanitize
JOBS ?= $(shell nproc 2>/dev/null || echo 2)

# ccache (when installed) keys its entries on paths relative to the checkout, so a fresh clone in
# another folder reuses what an earlier build of the same sources compiled.
export CCACHE_BASEDIR ?= $(CURDIR)
export CCACHE_NOHASHDIR ?= 1

.PHONY: all deps test-deps configure build run test check sanitize tidy bench package clean

all: build

deps:
	@scripts/install-deps

test-deps:
	@scripts/install-deps --test

configure: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	$(BUILD)/corvanel

test: build test-deps
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# Formatting of every tracked source, and no SQL in windows.
check: deps
	@scripts/check-sources

# Every test again, built with AddressSanitizer and UndefinedBehaviorSanitizer: any report fails.
sanitize: test-deps
	@cmake -S . -B $(SANITIZE_BUILD) -DCMAKE_BUILD_TYPE=Debug -DCORVANEL_SANITIZE=ON \
		-DCORVANEL_BUILD_BENCH=OFF -DCMAKE_CXX_FLAGS_DEBUG="-g -O1" > /dev/null
	@cmake --build $(SANITIZE_BUILD) -j $(JOBS)
	cd $(SANITIZE_BUILD) && QT_QPA_PLATFORM=offscreen \
		ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1 \
		LSAN_OPTIONS=suppressions=$(CURDIR)/scripts/lsan.supp:print_suppressions=0 \
		UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
		ctest --output-on-failure -j $(JOBS)

# The checks of .clang-tidy over the program's sources (slow; not part of CI).
tidy: configure
	@git ls-files 'src/*.cpp' | xargs clang-tidy -p $(BUILD) --quiet

# The Debian package (build/corvanel_<version>_<arch>.deb), its dependencies found by
# dpkg-shlibdeps. Install it with `sudo apt install ./build/corvanel_*.deb`.
package: build
	@cd $(BUILD) && cpack -G DEB

bench: build
	@for b in $(BUILD)/bench/bench_*; do [ -f "$$b" ] && [ -x "$$b" ] && echo "== $$b" && QT_QPA_PLATFORM=offscreen "$$b"; done

clean:
	rm -rf $(BUILD) $(SANITIZE_BUILD)
