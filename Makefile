# The two commands of the README: `make run` and `make test`. Each installs
# what is missing, builds, and generates the data. `make install` (PREFIX,
# DESTDIR) and `make package` (a Debian package in $(BUILD)/) build first too.
BUILD ?= build
JOBS ?= $(shell nproc)
PREFIX ?= /usr/local

.PHONY: all deps configure build run test install package clean fuzz references

all: build

deps:
	@scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	cd $(BUILD) && ./velmora

test: build
	cd $(BUILD) && ctest --output-on-failure -j 2

# Renews the whole show's reference frames (tests/reference/show_160x100.txt)
# after an intended change to the picture; the commit says why.
references: build
	cd $(BUILD) && VELMORA_RENEW_REFERENCES=1 ctest -R '^show_reference$$' --output-on-failure

install: build
	DESTDIR="$(DESTDIR)" cmake --install $(BUILD) --prefix "$(PREFIX)"

package: build
	cd $(BUILD) && cpack -G DEB

clean:
	rm -rf $(BUILD)

# Coverage-guided fuzzing of the 3DS reader with libFuzzer (clang), not part of
# the normal build: `make fuzz FUZZ_SECONDS=600`. Crashes land in $(BUILD)/fuzz/.
FUZZ_SECONDS ?= 600
FUZZ_DIR = $(BUILD)/fuzz
FUZZ_FLAGS = -std=c++20 -O1 -g -fno-omit-frame-pointer -Isrc -Itools/assetgen

fuzz:
	@scripts/install-deps --fuzz
	@mkdir -p $(FUZZ_DIR)/corpus
	clang++ $(FUZZ_FLAGS) -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all \
		tests/fuzz/model_3ds_fuzz.cpp src/gfx/model_3ds_reader.cpp src/core/vec3.cpp -o $(FUZZ_DIR)/model_3ds_fuzz
	clang++ $(FUZZ_FLAGS) tests/fuzz/model_3ds_seeds.cpp tools/assetgen/common/model_3ds_writer.cpp \
		tools/assetgen/common/asset_file.cpp -o $(FUZZ_DIR)/model_3ds_seeds
	$(FUZZ_DIR)/model_3ds_seeds $(FUZZ_DIR)/corpus
	$(FUZZ_DIR)/model_3ds_fuzz -max_total_time=$(FUZZ_SECONDS) -dict=tests/fuzz/model_3ds.dict \
		-artifact_prefix=$(FUZZ_DIR)/ -print_final_stats=1 $(FUZZ_DIR)/corpus
