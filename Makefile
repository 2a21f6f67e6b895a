# Two commands do everything on a fresh Debian 12 machine: `make run`, `make test`.
BUILD      ?= build
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60
JOBS       ?= $(shell nproc)
MAKEFLAGS  += --no-print-directory

.PHONY: all deps build run test check sanitize fuzz fuzz-run bench screenshots package clean

all: build

deps:
	@scripts/install-deps.sh
	@scripts/install-gltf-validator.sh

build: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release -DZUVORAK_WERROR=ON >/dev/null
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	@scripts/run.sh $(BUILD)/src/app/zuvorak

# Everything CI proves: the tests in a release build, bounded fuzz runs of the
# model-file and picture readers, and the tests again under the sanitizers.
test: check fuzz sanitize

check: build
	@cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

sanitize: deps
	@cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZUVORAK_SANITIZE=ON \
	  -DZUVORAK_BENCH=OFF -DZUVORAK_WERROR=ON >/dev/null
	@cmake --build $(ASAN_BUILD) -j $(JOBS)
	@cd $(ASAN_BUILD) && ctest --output-on-failure -j $(JOBS)

# The model-file reader and the picture reader under libFuzzer with ASan and
# UBSan, each for FUZZ_SECONDS; a crash fails the target.
FUZZ_FLAGS = -std=c++20 -g -O1 -fPIC -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined

fuzz: deps
	@mkdir -p $(FUZZ_BUILD)
	@clang++ $(FUZZ_FLAGS) -Isrc/core -Isrc/model fuzz/fuzz_model_file.cpp src/model/model_file.cpp \
	  -lz -o $(FUZZ_BUILD)/fuzz_model_file
	@clang++ $(FUZZ_FLAGS) -Isrc/core -Isrc/model -Isrc/picture $$(pkg-config --cflags Qt6Gui) fuzz/fuzz_picture.cpp \
	  src/picture/picture_file.cpp src/picture/picture_formats.cpp src/picture/jpeg.cpp \
	  src/picture/png_file.cpp src/core/file_access.cpp $$(pkg-config --libs Qt6Gui) \
	  -lgif -ljpeg -lpng16 -ltiff \
	  -o $(FUZZ_BUILD)/fuzz_picture
	@$(MAKE) fuzz-run NAME=model_file SEEDS=fuzz/corpus
	@$(MAKE) fuzz-run NAME=picture SEEDS=fuzz/pictures FLAGS=-keep_seed=1

# The picture seeds do not all reach new code of ours (Qt's decoders are not
# instrumented), so they are kept to be mutated anyway.
fuzz-run:
	@rm -rf $(FUZZ_BUILD)/$(NAME)-corpus && cp -r $(SEEDS) $(FUZZ_BUILD)/$(NAME)-corpus
	@echo "Fuzzing the $(subst _, ,$(NAME)) reader for $(FUZZ_SECONDS) s (log: $(FUZZ_BUILD)/$(NAME).log)"
	@$(FUZZ_BUILD)/fuzz_$(NAME) -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 $(FLAGS) \
	  -artifact_prefix=$(FUZZ_BUILD)/$(NAME)- $(FUZZ_BUILD)/$(NAME)-corpus >$(FUZZ_BUILD)/$(NAME).log 2>&1 \
	  || { tail -n 60 $(FUZZ_BUILD)/$(NAME).log; exit 1; }
	@grep -E '^Done [0-9]+ runs' $(FUZZ_BUILD)/$(NAME).log

bench: build
	@$(BUILD)/bench/zuvorak_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
	@bench/command_line.sh $(BUILD)

# build/zuvorak_<version>_<arch>.deb; `sudo apt install ./build/zuvorak_*.deb` installs it.
package: build
	@cd $(BUILD) && cpack -G DEB

# The windows, then the exported relief as matplotlib renders the STL, and the sample part's
# 3MF for PrusaSlicer (raised in the middle, thickened by a pixel) part by part in its colours.
screenshots: build
	@QT_QPA_PLATFORM=offscreen $(BUILD)/tools/zuvorak_screenshots docs $(BUILD)/relief.stl
	@/usr/bin/python3 scripts/render_relief.py $(BUILD)/relief.stl docs/exported-relief.png
	@rm -f $(BUILD)/sample-part.3mf
	@$(BUILD)/src/app/zuvorak import resources/buhin.bmp --fit --depth 95,95,165,160=12 \
	  --reverse --thicken 1 -o $(BUILD)/sample-part.3mf
	@/usr/bin/python3 scripts/render_relief.py $(BUILD)/sample-part.3mf docs/sample-part-3mf.png

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD)
