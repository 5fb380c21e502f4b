# The two set-up commands: `make run` and `make test`.
.PHONY: run test bench fuzz tsan clean deps build-release build-debug

JOBS ?= $(shell nproc)
ARGS ?=
FUZZ_SECONDS ?= 20
RELEASE_DIR := build/release
DEBUG_DIR := build/debug
BENCH_DIR := build/bench
FUZZ_DIR := build/fuzz
TSAN_DIR := build/tsan

deps:
	@scripts/install-deps

$(RELEASE_DIR)/build.ninja:
	cmake -S . -B $(RELEASE_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release -DTARV_TESTS=OFF

run: deps $(RELEASE_DIR)/build.ninja
	@cmake --build $(RELEASE_DIR) --target tarv -j $(JOBS)
	@$(RELEASE_DIR)/Sources/TarvCLI/tarv $(ARGS)

$(DEBUG_DIR)/build.ninja:
	cmake -S . -B $(DEBUG_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTARV_SANITIZE=ON

test: deps $(DEBUG_DIR)/build.ninja
	@cmake --build $(DEBUG_DIR) -j $(JOBS)
	@cd $(DEBUG_DIR) && ctest --output-on-failure -j $(JOBS)
	@scripts/check-layers .

$(TSAN_DIR)/build.ninja:
	cmake -S . -B $(TSAN_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTARV_TSAN=ON

# ThreadSanitizer run of the concurrency and store tests.
tsan: deps $(TSAN_DIR)/build.ninja
	@cmake --build $(TSAN_DIR) -j $(JOBS) --target tarv_core_tests tarv_features_tests
	@cd $(TSAN_DIR) && ctest --output-on-failure -j $(JOBS) -R 'Channel|Sibling|MainQueue|Store|Effect|LiveExecutor'

$(BENCH_DIR)/build.ninja:
	cmake -S . -B $(BENCH_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release -DTARV_TESTS=OFF -DTARV_BENCH=ON

bench: deps $(BENCH_DIR)/build.ninja
	@cmake --build $(BENCH_DIR) -j $(JOBS) --target benches
	@scripts/run-benches $(BENCH_DIR)/bench

$(FUZZ_DIR)/build.ninja:
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTARV_FUZZ=ON

fuzz: deps $(FUZZ_DIR)/build.ninja
	@cmake --build $(FUZZ_DIR) -j $(JOBS) --target fuzzers
	@scripts/run-fuzzers $(FUZZ_DIR)/fuzz $(FUZZ_SECONDS)

clean:
	rm -rf build
