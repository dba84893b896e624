# The two commands: `make run` and `make test`. Both install what is missing first.
BUILD_DIR ?= build
JOBS ?= $(shell nproc)

.PHONY: run test build deps configure bench clean install installed-files package check-sanitize fuzz

deps:
	./scripts/install-deps.sh

configure: deps
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: configure
	cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	$(BUILD_DIR)/bin/hzdot

test: build
	cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS)

bench: build
	$(BUILD_DIR)/bin/hzbench

# Only what an install holds: the programs, the six libraries and the compressed pages; not the
# tests, benchmarks or fuzz targets, which `make test` builds.
installed-files: configure
	cmake --build $(BUILD_DIR) --target installed-files -j $(JOBS)

# Installs into PREFIX (GNU layout); DESTDIR stages the install elsewhere, as packagers do.
PREFIX ?= /usr/local
install: installed-files
	DESTDIR="$(DESTDIR)" cmake --install $(BUILD_DIR) --prefix "$(PREFIX)"

# The Debian package, in $(BUILD_DIR)/.
package: installed-files
	cd $(BUILD_DIR) && cpack -G DEB

# Every test again under AddressSanitizer and UndefinedBehaviorSanitizer, in a folder of its own.
# Any report ends the test that made it; tests/sanitizers/lsan.supp lists leaks that are not ours.
SANITIZE_DIR ?= build-sanitize
SANITIZE_ENV = ASAN_OPTIONS=halt_on_error=1:detect_leaks=1:check_initialization_order=1:strict_init_order=1 \
	UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
	LSAN_OPTIONS=suppressions=$(CURDIR)/tests/sanitizers/lsan.supp:print_suppressions=0

check-sanitize: deps
	cmake -S . -B $(SANITIZE_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DHZDOT_SANITIZE=ON
	$(SANITIZE_ENV) cmake --build $(SANITIZE_DIR) -j $(JOBS)
	cd $(SANITIZE_DIR) && $(SANITIZE_ENV) QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS) -LE packaging

# Each libFuzzer target in fuzz/ for FUZZ_SECONDS, from the starting inputs in fuzz/corpus/<target>/.
FUZZ_DIR ?= build-fuzz
FUZZ_SECONDS ?= 30

fuzz: deps
	cmake -S . -B $(FUZZ_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DHZDOT_FUZZ=ON \
		-DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++
	cmake --build $(FUZZ_DIR) -j $(JOBS)
	./fuzz/run.sh $(FUZZ_DIR) $(FUZZ_SECONDS)

clean:
	rm -rf $(BUILD_DIR) $(SANITIZE_DIR) $(FUZZ_DIR)
