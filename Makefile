# SPDX-License-Identifier: GPL-3.0-or-later
# The whole set-up on a fresh Debian 12 machine: `make run` or `make test`.

BUILD_DIR := build
SANITIZE_DIR := build-sanitize
FUZZ_DIR := build-fuzz
FUZZ_SECONDS ?= 60
FUZZ_TARGETS := number_reading leading_zero answer_reading decimal_number text_intake graph_table \
	equation extreme_lines line_recorder histogram units session readings workbook sound_file spectrum

JOBS := $(shell nproc)
SANITIZER_ENV := ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
	UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp

.PHONY: setup build run test test-sanitize fuzz package bench docs-images clean

setup:
	@bash scripts/setup.sh

build: setup
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=Release
	cmake --build $(BUILD_DIR) -j$(JOBS)

run: build
	./$(BUILD_DIR)/benchtabler

# As many tests at once as the machine has cores; the package's build starts
# first and the rest run beside it.
test: build
	cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest -j$(JOBS) --output-on-failure

# The README's pictures, made on purpose: the end-to-end test writes its
# screenshots under build/docs-images/, and this copies them into docs/.
docs-images: build
	cd $(BUILD_DIR) && ctest -R '^end_to_end$$' --output-on-failure
	cp $(BUILD_DIR)/docs-images/*.png docs/

# Ratios measured side by side, ending in one "ratio NAME VALUE target T" line
# per target; a missed target makes it fail.
bench: setup
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=Release -DBENCHTABLER_BENCH=ON
	cmake --build $(BUILD_DIR) -j$(JOBS)
	cd $(BUILD_DIR) && ./bench/benchtabler_bench

# The Debian package, built the Debian way (dpkg-buildpackage, debian/), left
# in build/: apt install ./build/benchtabler_*.deb
package: setup
	bash scripts/build_package.sh

# The whole suite again, built with AddressSanitizer and UndefinedBehaviorSanitizer.
test-sanitize: setup
	cmake -S . -B $(SANITIZE_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBENCHTABLER_SANITIZE=ON
	cmake --build $(SANITIZE_DIR) -j$(JOBS)
	cd $(SANITIZE_DIR) && $(SANITIZER_ENV) QT_QPA_PLATFORM=offscreen ctest -j$(JOBS) \
		--output-on-failure --label-exclude package

# Each libFuzzer target for FUZZ_SECONDS, growing a working corpus in
# $(FUZZ_DIR)/corpus from the seeds in fuzz/corpus.
fuzz: setup
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
		-DBENCHTABLER_FUZZ=ON
	cmake --build $(FUZZ_DIR) -j$(JOBS)
	@for target in $(FUZZ_TARGETS); do \
		mkdir -p $(FUZZ_DIR)/corpus/$$target $(FUZZ_DIR)/artifacts && \
		echo "fuzzing $$target for $(FUZZ_SECONDS) s" && \
		$(FUZZ_DIR)/fuzz/fuzz_$$target -max_total_time=$(FUZZ_SECONDS) -max_len=8192 \
			-artifact_prefix=$(FUZZ_DIR)/artifacts/$$target- -print_final_stats=1 \
			$(FUZZ_DIR)/corpus/$$target fuzz/corpus/$$target || exit 1; \
	done

clean:
	rm -rf $(BUILD_DIR) $(SANITIZE_DIR) $(FUZZ_DIR)
