# Everything goes through here: `make demo` and `make test` set up a fresh
# machine (Debian packages), configure, build and run.
BUILD ?= build
SANITIZE_BUILD ?= build-sanitize
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60
JOBS ?= 2
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo
RELEASE_BUILD ?= build-release

.PHONY: all deps configure build build-release demo test test-sanitize fuzz bench format clean

all: build

deps:
	bash scripts/install-deps.sh

configure: deps
	cmake -S . -B $(BUILD) -G Ninja -DKOR_WERROR=ON $(CMAKE_FLAGS)

build: configure
	cmake --build $(BUILD) -j $(JOBS)

# Exports the bundled four-wall example into out/, with the loose runtime files,
# and writes its 3D scene and 2D schematic there.
demo: build
	$(BUILD)/bin/korvrc --version
	$(BUILD)/bin/korvrc export --dir out --loose --force
	$(BUILD)/bin/korvrc scene --gltf out/FourWallRoom.glb --svg out/FourWallRoom.svg

# GCC lets a dropped result of a virtual call pass; a clang front-end pass over
# the same sources refuses it (tools/check-unused-results.py).
test: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)
	python3 tools/check-unused-results.py $(BUILD) $(JOBS)

# The suite again under AddressSanitizer and UndefinedBehaviorSanitizer, leaks
# included; benchmarks are left out to keep it lean.
test-sanitize: deps
	cmake -S . -B $(SANITIZE_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKOR_WERROR=ON -DKOR_SANITIZE=ON -DKOR_BENCH=OFF
	cmake --build $(SANITIZE_BUILD) -j $(JOBS)
	ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  ctest --test-dir $(SANITIZE_BUILD) --output-on-failure -j $(JOBS)

# The optimised build a user makes, warnings as errors: the optimiser's own
# warnings show only here. Built, not tested.
build-release: deps
	cmake -S . -B $(RELEASE_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release -DKOR_WERROR=ON -DKOR_TESTS=OFF -DKOR_BENCH=OFF
	cmake --build $(RELEASE_BUILD) -j $(JOBS)

# The libFuzzer harnesses (document loader, description importer, tracking
# datagrams, the journal lines the browser workbench sends), built with clang
# in their own folder and run FUZZ_SECONDS each on one worker; a finding is
# left in $(FUZZ_BUILD)/findings and fails the target.
fuzz:
	bash scripts/install-deps.sh fuzz
	cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14 \
	  -DKOR_FUZZ=ON -DKOR_TESTS=OFF -DKOR_BENCH=OFF
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target korvrc fuzz_document_loader fuzz_description_import fuzz_tracking_datagram \
	  fuzz_journal_lines
	bash tests/fuzz/run.sh $(FUZZ_BUILD) $(FUZZ_SECONDS)

bench: build
	for b in $(BUILD)/bin/bench_*; do $$b; done

format:
	git ls-files '*.h' '*.cpp' | xargs clang-format -i

clean:
	rm -rf $(BUILD) $(SANITIZE_BUILD) $(RELEASE_BUILD) $(FUZZ_BUILD)
