# SPDX-License-Identifier: GPL-3.0-or-later
# Two commands: `make run` builds and starts Plumora, `make test` builds and runs every test.
# Each installs only the packages it needs (scripts/install-deps.sh): `make run` what building
# and running need, `make test` (and bench, sanitize) the test tools and servers besides.
BUILD_DIR ?= build
DEPS_SET ?= run
JOBS ?= $(shell nproc 2>/dev/null || echo 2)

.PHONY: run test build deps bench sanitize package clean

run: build
	$(BUILD_DIR)/bin/plumora

# The sway desktop test is left to `ctest -L sway`: its packages are not among the test set.
test: build
	cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS) -LE '^sway$$'

build: deps
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=Release
	cmake --build $(BUILD_DIR) -j $(JOBS)

test bench sanitize: DEPS_SET = test
package: DEPS_SET = package

deps:
	@bash scripts/install-deps.sh $(DEPS_SET)

# A Debian package of the installed program, in the build folder.
package: build
	cd $(BUILD_DIR) && cpack -G DEB

bench: build
	bash bench/run.sh $(BUILD_DIR)

# The unit tests built with AddressSanitizer and UndefinedBehaviorSanitizer; any report fails.
SANITIZE_DIR ?= build-sanitize
sanitize: deps
	cmake -S . -B $(SANITIZE_DIR) -DCMAKE_BUILD_TYPE=Debug -DPLUMORA_SANITIZE=ON -DPLUMORA_BUILD_BENCH=OFF
	cmake --build $(SANITIZE_DIR) -j $(JOBS)
	cd $(SANITIZE_DIR) && QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 \
		UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 ctest --output-on-failure -j $(JOBS) -L unit

clean:
	rm -rf $(BUILD_DIR)
