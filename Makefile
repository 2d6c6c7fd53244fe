# The two commands of the README:
#   make run    installs what is missing, builds, and starts the workbench on a sample document
#   make test   installs what is missing, builds the Release and the sanitizer configurations
#               with warnings as errors, runs every test in both, fuzzes the parsers briefly and
#               checks the sources
# and a few more for developers (build, bench, format, install-demo, package, clean).

BUILD      ?= build
RELEASE_BUILD ?= build-release
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 15
SAMPLE     ?= esempi/esempio.mtf
JOBS       ?= $(shell nproc)

CMAKE_GEN = -G Ninja

# Every configuration compiles through ccache (setup installs it), so a tree already built on
# this machine, or a second clone of the same commit, compiles from the cache. Paths below the
# source folder are hashed relative to it and the build folder is left out of the hash, so the
# cache does not depend on where the clone lies.
LAUNCHER = -DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache
export CCACHE_BASEDIR := $(CURDIR)
export CCACHE_NOHASHDIR := 1

# Each step of the checks prints one line with its wall time (scripts/stage.sh).
STAGE = scripts/stage.sh

.PHONY: all setup build run test check test-normal test-release test-asan fuzz bench format clean \
        package package-check

all: build

setup:
	@$(STAGE) setup scripts/setup.sh

$(BUILD)/build.ninja:
	cmake -S . -B $(BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(LAUNCHER)

build: setup $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS)

# Only the workbench and the files beside it are built; the window opens on the sample
# document. Without a display tattilo says how to run it and exits with status 1.
run: setup $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS) --target tattilo
	cd $(BUILD)/bin && ./tattilo $(SAMPLE)

check: setup
	$(STAGE) "source checks" scripts/check_sources.sh

# The tests of the developer's tree (RelWithDebInfo), with warnings as errors. Not part of
# `make test`: see test-release.
test-normal: setup $(BUILD)/build.ninja
	cmake -S . -B $(BUILD) -DTATTILO_WERROR=ON >/dev/null
	cmake --build $(BUILD) -j $(JOBS)
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

# The tests of `make test` run in the Release configuration, the one the Debian package is
# made from and most users build with CMake by hand, with warnings as errors and the
# benchmarks built (not run). A second optimised configuration beside it (RelWithDebInfo, as
# before) compiled the whole tree once more and checked nothing this one does not: the
# assertions and the debugger's view are the sanitizer build's job, and `make package` then
# packs this very tree instead of building another.
RELEASE_CONFIG = -DCMAKE_BUILD_TYPE=Release -DTATTILO_WERROR=ON -DTATTILO_BENCH=ON $(LAUNCHER)
$(RELEASE_BUILD)/build.ninja:
	cmake -S . -B $(RELEASE_BUILD) $(CMAKE_GEN) $(RELEASE_CONFIG)

test-release: setup
	cmake -S . -B $(RELEASE_BUILD) $(CMAKE_GEN) $(RELEASE_CONFIG) >/dev/null
	$(STAGE) "Release build" cmake --build $(RELEASE_BUILD) -j $(JOBS)
	$(STAGE) "Release tests" ctest --test-dir $(RELEASE_BUILD) --output-on-failure -j $(JOBS)

# Line tables (-g1) are all a sanitizer report needs for its file and line numbers; full
# debug information made this the slowest configuration to compile and link.
$(ASAN_BUILD)/build.ninja:
	cmake -S . -B $(ASAN_BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug \
	  -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g1" -DTATTILO_SANITIZE=ON -DTATTILO_BENCH=OFF -DTATTILO_WERROR=ON \
	  $(LAUNCHER)

test-asan: setup $(ASAN_BUILD)/build.ninja
	$(STAGE) "sanitizer build" cmake --build $(ASAN_BUILD) -j $(JOBS)
	ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
	LSAN_OPTIONS=suppressions=$(CURDIR)/scripts/lsan.supp:print_suppressions=0 \
	UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  $(STAGE) "sanitizer tests" ctest --test-dir $(ASAN_BUILD) --output-on-failure -j $(JOBS)

$(FUZZ_BUILD)/build.ninja:
	cmake -S . -B $(FUZZ_BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTATTILO_FUZZ=ON -DTATTILO_WERROR=ON \
	  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ $(LAUNCHER)

fuzz: setup $(FUZZ_BUILD)/build.ninja
	$(STAGE) "fuzz build" cmake --build $(FUZZ_BUILD) -j $(JOBS)
	$(STAGE) fuzzing scripts/fuzz.sh $(FUZZ_BUILD) $(FUZZ_SECONDS) $(JOBS)

test: check test-release test-asan fuzz

# The Debian package of the Release build: $(RELEASE_BUILD)/tattilo_VERSION_ARCH.deb. After
# `make test` the tree is built already and only the package is made.
package: setup $(RELEASE_BUILD)/build.ninja
	$(STAGE) "Debian package" cmake --build $(RELEASE_BUILD) -j $(JOBS) --target package

# Installs the package into this machine with apt, runs the installed programs and removes
# the package again (CI runs it after make test).
package-check: package
	$(STAGE) "package check" scripts/check_package.sh

bench: build
	@for b in $(BUILD)/bench/*_bench; do [ -x "$$b" ] && "$$b"; done

# tattilo-cli against liblouis on 200 000 school formulas, on the Release build; installs
# liblouis-bin and liblouis-data when they are missing.
.PHONY: compare-liblouis
compare-liblouis: setup $(RELEASE_BUILD)/build.ninja
	cmake --build $(RELEASE_BUILD) -j $(JOBS) --target tattilo-cli
	python3 bench/compare_liblouis.py --install --cli $(RELEASE_BUILD)/bin/tattilo-cli

format:
	git ls-files -co --exclude-standard -- 'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h' \
	  'bench/*.cpp' 'bench/*.h' | xargs -r clang-format -i

clean:
	rm -rf $(BUILD) $(RELEASE_BUILD) $(ASAN_BUILD) $(FUZZ_BUILD) $(WIN32_BUILD) $(WIN64_BUILD)

# Installs the sample distribution (data/distribution) into a fresh sandbox machine under
# $(BUILD)/demo-machine with the unattended installer, printing its progress.
.PHONY: install-demo
install-demo: setup $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS) --target instello
	rm -rf $(BUILD)/demo-machine
	$(BUILD)/bin/instello --unattended --root $(BUILD)/demo-machine \
	  --source $(BUILD)/bin/distribution --accept-license --check-optional \
	  --components "Programma,Documentazione,Extra" --log $(BUILD)/demo-machine.log
	@echo "The machine: $(BUILD)/demo-machine (drive C: is $(BUILD)/demo-machine/C)"

# The TeX-system variant (data/distribution-tex): every configuration step of the TeX system,
# printed as it runs. The build puts instello into the sample as INSTELLO.EXE, which the
# installer copy takes.
.PHONY: install-demo-tex
install-demo-tex: setup $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS) --target instello tex_sample_installer
	rm -rf $(BUILD)/demo-machine-tex
	$(BUILD)/bin/instello --unattended --root $(BUILD)/demo-machine-tex \
	  --source $(BUILD)/bin/distribution-tex --log $(BUILD)/demo-machine-tex.log
	@echo "The machine: $(BUILD)/demo-machine-tex (drive C: is $(BUILD)/demo-machine-tex/C)"

# The Windows build: the core libraries, tattilo.exe (native Win32 windows), tattilo-cli.exe,
# instello.exe and the test programs, cross-built for 32-bit Windows with MinGW-w64 into
# $(WIN32_BUILD)/. `make test-windows` runs every test program under 32-bit Wine.
WIN32_BUILD ?= build-win32
.PHONY: windows test-windows dist-windows
$(WIN32_BUILD)/build.ninja:
	cmake -S . -B $(WIN32_BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTATTILO_WERROR=ON \
	  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-i686.cmake $(LAUNCHER)

windows: setup $(WIN32_BUILD)/build.ninja
	$(STAGE) "Windows build" cmake --build $(WIN32_BUILD) -j $(JOBS)

# Every test program under Wine, then the real distribution installed into a Wine prefix, once
# by --unattended and once through the installer's windows by keyboard, and removed again
# through its entry in the list of programs. The installed
# tattilo-cli.exe is compared with the Linux build's (the Release tree's).
test-windows: dist-windows
	cmake -S . -B $(RELEASE_BUILD) $(CMAKE_GEN) $(RELEASE_CONFIG) >/dev/null
	cmake --build $(RELEASE_BUILD) -j $(JOBS) --target tattilo-cli
	@if [ "$$(scripts/windows_test_arch.sh)" = x86_64 ]; then \
	  echo "This machine's kernel runs no 32-bit programs: the Windows tests run the 64-bit" \
	    "build of the same sources ($(WIN64_BUILD)) under 64-bit Wine."; \
	  TATTILO_WINE_ARCH=win64 $(MAKE) --no-print-directory wine-tests WINE_TEST_BUILD=$(WIN64_BUILD); \
	else \
	  $(MAKE) --no-print-directory wine-tests WINE_TEST_BUILD=$(WIN32_BUILD); \
	fi

# The tests of one Windows build under Wine. The 64-bit build (the shipped programs are the
# 32-bit ones) is made only where the kernel runs no 32-bit programs; it is built from the same
# sources with the same warnings as errors.
WIN64_BUILD ?= build-win64
WINE_TEST_BUILD ?= $(WIN32_BUILD)
.PHONY: wine-tests
wine-tests:
ifneq ($(WINE_TEST_BUILD),$(WIN32_BUILD))
	[ -f $(WINE_TEST_BUILD)/build.ninja ] || cmake -S . -B $(WINE_TEST_BUILD) $(CMAKE_GEN) \
	  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTATTILO_WERROR=ON \
	  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake $(LAUNCHER)
	$(STAGE) "Windows 64-bit build" cmake --build $(WINE_TEST_BUILD) -j $(JOBS)
	$(STAGE) "Windows 64-bit distribution" \
	  python3 tools/make_distribution.py --windows $(WINE_TEST_BUILD)/bin $(WINE_TEST_BUILD)/distribution
endif
	$(STAGE) "Wine tests" scripts/test_windows.sh $(WINE_TEST_BUILD)
	LINUX_CLI=$(RELEASE_BUILD)/bin/tattilo-cli \
	  $(STAGE) "Wine install" scripts/test_windows_install.sh $(WINE_TEST_BUILD)
	$(STAGE) "Wine install by the windows" scripts/test_windows_install_gui.sh $(WINE_TEST_BUILD)
	$(STAGE) "Wine uninstall" scripts/test_windows_uninstall.sh $(WINE_TEST_BUILD)

# The Windows distribution folder, $(WIN32_BUILD)/distribution: INSTELLO.EXE, its script and
# component list, the licence, the component program and the package volumes.
dist-windows: windows
	$(STAGE) "Windows distribution" \
	  python3 tools/make_distribution.py --windows $(WIN32_BUILD)/bin $(WIN32_BUILD)/distribution
