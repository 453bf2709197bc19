# The two commands of this project:
#   make test   builds every preset (native, native-asan, win64, win32, fuzz) and runs all
#               tests, the fuzz targets for a bounded time each
#   make demo   prints the sample document through the printer driver under Wine and
#               summarises the result (make demo FILE=doc.pdf prints a PDF instead)
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

# FILE, RESOLUTION, DRAWSCALE and COLOR given on the command line reach the script.
demo:
	./scripts/demo.sh

clean:
	rm -rf build out
