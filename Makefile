# Two commands: `make run` builds and starts Plumora, `make test` builds and runs every test.
BUILD_DIR ?= build
JOBS ?= $(shell nproc 2>/dev/null || echo 2)

.PHONY: run test build deps bench clean

run: build
	$(BUILD_DIR)/bin/plumora

test: build
	cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

build: deps
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=Release
	cmake --build $(BUILD_DIR) -j $(JOBS)

deps:
	@bash scripts/install-deps.sh

bench: build
	bash bench/startup.sh $(BUILD_DIR)

clean:
	rm -rf $(BUILD_DIR)
