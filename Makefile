# The two commands: `make run` and `make test`. CMake and Ninja do the work.
BUILD ?= build
BUILD_ASAN ?= build-asan
BUILD_FUZZ ?= build-fuzz
BATCH ?= samples/szv_4_1.txt
JOBS ?= $(shell nproc)
CTEST_ARGS ?=
RUN_PDF ?= $(BUILD)/$(basename $(notdir $(BATCH))).pdf

.PHONY: all setup build run test package forms sanitize fuzz clean format

all: build

$(BUILD)/.setup-done: scripts/setup
	scripts/setup
	@mkdir -p $(BUILD) && touch $@

setup: $(BUILD)/.setup-done

$(BUILD)/build.ninja: $(BUILD)/.setup-done CMakeLists.txt
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS)

run: build
	@if [ -n "$$DISPLAY" ] || [ -n "$$WAYLAND_DISPLAY" ]; then \
	  $(BUILD)/bin/pachkaview $(if $(BATCH),"$(abspath $(BATCH))"); \
	elif [ -z "$(BATCH)" ]; then \
	  echo "No display found and no BATCH given: nothing to run."; \
	else \
	  echo "No display found: printing $(BATCH) to $(RUN_PDF) through pachka instead of the window."; \
	  $(BUILD)/bin/pachka pdf "$(BATCH)" -o "$(RUN_PDF)" && echo "Written: $(RUN_PDF)" \
	    || $(BUILD)/bin/pachka tables "$(BATCH)"; \
	fi

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS) $(CTEST_ARGS)

# The Debian package pachkaview_VERSION_ARCH.deb in $(BUILD).
package: build
	cd $(BUILD) && cpack -G DEB

# Every sample printed and its first page rendered, for review.
forms: build
	scripts/render-forms $(BUILD)

# Unit tests under the address and undefined-behaviour sanitizers.
sanitize: setup
	cmake -S . -B $(BUILD_ASAN) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DPV_SANITIZE=ON -DPV_BENCH=OFF
	cmake --build $(BUILD_ASAN) -j $(JOBS)
	cd $(BUILD_ASAN) && QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0 \
	  ctest --output-on-failure -j $(JOBS) $(CTEST_ARGS)

# The fuzz targets, built with clang and each run for a short time.
FUZZ_SECONDS ?= 20
fuzz: setup
	CXX=clang++ cmake -S . -B $(BUILD_FUZZ) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DPV_FUZZ=ON \
	  -DPV_WITH_QT=OFF -DPV_BENCH=OFF -DBUILD_TESTING=OFF
	cmake --build $(BUILD_FUZZ) -j $(JOBS)
	scripts/run-fuzzers $(BUILD_FUZZ)/bin $(FUZZ_SECONDS)

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD) $(BUILD_ASAN) $(BUILD_FUZZ)
