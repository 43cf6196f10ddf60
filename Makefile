# Set-up and everyday commands. `make run` builds and starts the program,
# `make test` builds and runs every test (plain and sanitizer builds),
# `make package` builds the Debian package into $(BUILD)/.
BUILD ?= build
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
JOBS ?= $(shell nproc)

.PHONY: deps build asan run test package bench fuzz-build clean

deps:
	@bash scripts/install-deps.sh

build: deps
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build $(BUILD) -j $(JOBS)

asan: deps
	@cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DMOSAIKO_SANITIZE=ON >/dev/null
	@cmake --build $(ASAN_BUILD) -j $(JOBS)

run: build
	@$(BUILD)/bin/mosaiko

test: build asan
	@echo "== sanitizer build (ASan + UBSan) =="
	@cd $(ASAN_BUILD) && ctest --output-on-failure -j $(JOBS)
	@echo "== release build =="
	@cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

package: build
	@cmake --build $(BUILD) --target package

bench: build
	@$(BUILD)/bin/mosaiko-bench --benchmark_filter=Symbol/

fuzz-build: deps
	@cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMOSAIKO_FUZZ=ON \
	  -DCMAKE_CXX_COMPILER=clang++-14 >/dev/null
	@cmake --build $(FUZZ_BUILD) -j $(JOBS)

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD)
