# The two commands of this project:
#   make test   builds every preset (native, native-asan, win64, win32, fuzz) and runs all
#               tests, the fuzz targets for a bounded time each
#   make demo   prints the sample document through the printer driver under Wine and
#               summarises the result (make demo FILE=doc.pdf prints a PDF instead)
JOBS ?= $(shell nproc)
BUILD_PRESETS := native native-asan win64 win32 fuzz
TEST_PRESETS := native native-asan win64 fuzz

.PHONY: test deps build $(addprefix build-,$(BUILD_PRESETS)) demo package clean

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

# The installation package for administrators, in out/package/.
package: deps
	cmake --preset win64 >/dev/null && cmake --build --preset win64 --target korvadrv -j $(JOBS)
	cmake --preset win32 >/dev/null && cmake --build --preset win32 --target package_layout -j $(JOBS)

clean:
	rm -rf build out
