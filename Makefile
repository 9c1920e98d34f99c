# The whole set-up on a fresh Debian 12 machine: `make run` or `make test`.

BUILD_DIR := build

.PHONY: setup build run test clean

setup:
	@bash scripts/setup.sh

build: setup
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=Release
	cmake --build $(BUILD_DIR) -j$$(nproc)

run: build
	./$(BUILD_DIR)/benchtabler

test: build
	cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure

clean:
	rm -rf $(BUILD_DIR)
