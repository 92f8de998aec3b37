# Veltrax Cutlister: the two set-up commands (make run, make test) and friends.
BUILD_DIR ?= build
BUILD_TYPE ?= RelWithDebInfo
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
DEMO_HOME := $(abspath $(BUILD_DIR))/demo-data

.PHONY: all deps configure build run test bench format clean

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

format:
	@find src tests bench -name '*.cpp' -o -name '*.h' | xargs clang-format -i

clean:
	@rm -rf $(BUILD_DIR)
