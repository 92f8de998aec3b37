# Veltrax Cutlister: the two set-up commands (make run, make test) and friends.
BUILD_DIR ?= build
BUILD_TYPE ?= RelWithDebInfo
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
DEMO_HOME := $(abspath $(BUILD_DIR))/demo-data

.PHONY: all deps configure build run test bench format clean test-asan fuzz mutants

all: build

deps:
	@scripts/install-deps

configure:
	@cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) >/dev/null

build: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS)

# Converts the example cut list with the factory configuration (a runtime folder of its own,
# so the operator's configuration is never touched).
run: deps build
	@rm -rf $(DEMO_HOME)
	@echo "Converting examples/cutlist.csv with the factory configuration:"
	@XDG_DATA_HOME=$(DEMO_HOME) $(BUILD_DIR)/bin/VXCLT /in examples/cutlist.csv /out examples/cutlist.rdb
	@echo
	@echo "Look inside:   sqlite3 examples/cutlist.rdb 'SELECT * FROM tblParts'"
	@echo "Windowed program:   $(BUILD_DIR)/bin/VXCLT   (needs a display; over SSH use xvfb-run or X forwarding)"

test: deps build
	@cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS)

bench: deps build
	@bench/run-bench $(BUILD_DIR)/bin/VXCLT

# The whole test suite built with AddressSanitizer and UndefinedBehaviorSanitizer in a folder of
# its own; leak detection is on, with suppressions only for system-library noise.
ASAN_BUILD_DIR ?= build-asan
SANITIZER_ENV := ASAN_OPTIONS=detect_leaks=1:check_initialization_order=1:strict_init_order=1 \
	LSAN_OPTIONS=suppressions=$(abspath tests/robustness/lsan.supp):print_suppressions=0 \
	UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

test-asan: deps
	@cmake -S . -B $(ASAN_BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVX_SANITIZE=ON >/dev/null
	@cmake --build $(ASAN_BUILD_DIR) -j $(JOBS)
	@cd $(ASAN_BUILD_DIR) && $(SANITIZER_ENV) ctest --output-on-failure -j $(JOBS)

# Runs every libFuzzer target for FUZZ_SECONDS (built with clang in FUZZ_BUILD_DIR).
FUZZ_BUILD_DIR ?= build-fuzz
FUZZ_SECONDS ?= 60

fuzz: deps
	@fuzz/run-fuzz $(FUZZ_BUILD_DIR) $(FUZZ_SECONDS)

# Applies each mutant of scripts/mutants.txt to src/ in turn and runs the suite on it (in
# build-mutants; MUTANTS_LOCK=<file> takes that lock around each rebuild and test run).
mutants: deps
	@scripts/mutants

format:
	@find src tests bench fuzz -name '*.cpp' -o -name '*.h' | xargs clang-format -i

clean:
	@rm -rf $(BUILD_DIR)
