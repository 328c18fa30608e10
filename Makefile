# The everyday commands: `make run`, `make test` and, before a change lands, `make check`.
BUILD_DIR ?= build
BUILD_TYPE ?= RelWithDebInfo
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=
# CI builds treat warnings as errors.
ifdef CI
CMAKE_FLAGS += -DVEXARO_WERROR=ON
endif
# ccache, where installed, keeps rebuilds short; CCACHE_DISABLE=1 turns it off for one run.
ifneq ($(shell command -v ccache),)
LAUNCHER_FLAGS := -DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache
endif

.PHONY: all bootstrap configure build run test check bench clean

all: build

bootstrap:
	@bash scripts/bootstrap.sh

configure: bootstrap
	@cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) $(LAUNCHER_FLAGS) $(CMAKE_FLAGS) >/dev/null

build: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	@$(BUILD_DIR)/tools/vexaro-cli --device sim --trace info

test: build
	@cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS) --timeout 600

# `make test`, then the suite under ASan+UBSan, the threaded tests under TSan, every fuzz target
# from its seed corpus, and line coverage per folder (scripts/check.sh says more).
check: bootstrap
	@JOBS=$(JOBS) MAKE="$(MAKE)" LAUNCHER_FLAGS="$(LAUNCHER_FLAGS)" bash scripts/check.sh

bench: build
	@for b in $(BUILD_DIR)/bench/bench_*; do QT_QPA_PLATFORM=offscreen "$$b" || exit 1; done

clean:
	@rm -rf $(BUILD_DIR) build-asan build-tsan build-fuzz
