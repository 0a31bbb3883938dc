# Quick start: `make run` and `make test` on a fresh Debian 12 machine.

BUILD      ?= build
ASAN_BUILD ?= build-asan
JOBS       ?= $(shell nproc)
GENERATOR  := $(shell command -v ninja >/dev/null 2>&1 && echo "-G Ninja")

# The one list of Debian packages the project needs to build, run and test.
PACKAGES := g++ make cmake ninja-build pkg-config locales \
  libgtest-dev libgmock-dev libbenchmark-dev clang-format \
  qt6-base-dev qt6-base-dev-tools libqt6opengl6-dev qt6-charts-dev qt6-translations-l10n \
  libpodofo-dev libqpdf-dev libfontconfig-dev libfreetype-dev zlib1g-dev \
  fonts-liberation2 fonts-dejavu-core \
  libktoblzcheck1v5 libktoblzcheck1-dev qpdf poppler-utils pdftk-java \
  xvfb xauth libx11-dev imagemagick x11-apps xdg-utils hyperfine desktop-file-utils

# Only for `make fuzz` and `make fuzz-build`: clang with libFuzzer and the sanitizer runtimes.
FUZZ_PACKAGES := clang libclang-rt-14-dev
FUZZ_BUILD    ?= build-fuzz
FUZZ_SECONDS  ?= 60
FUZZ_JOBS     ?= 1

# Only for `make windows-batch`: the MinGW-w64 cross compiler, Wine to run what it builds, and
# GoogleTest's sources to build the tests for Windows.
WINDOWS_PACKAGES := g++-mingw-w64-x86-64 wine wine64 googletest
WINDOWS_BUILD    ?= build-windows

PREFIX ?= /usr/local

# CI (the variable CI set) builds with warnings as errors.
WERROR := $(if $(CI),-DFONDARIS_WERROR=ON)

# Tests also run the batch mode under a German locale.
LOCALE := de_DE.UTF-8

.PHONY: deps build run run-batch test test-asan bench format format-check clean install fuzz \
  fuzz-build windows-batch

deps:
	@missing=""; \
	for p in $(PACKAGES); do \
	  dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q '^install ok installed' || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  if [ "$$(id -u)" = 0 ]; then SUDO=""; \
	  elif command -v sudo >/dev/null 2>&1; then SUDO="sudo"; \
	  else echo "Missing Debian packages:$$missing"; \
	       echo "Please install them as root: apt-get install$$missing"; exit 1; fi; \
	  echo "Installing:$$missing"; \
	  $$SUDO apt-get update -qq && \
	  DEBIAN_FRONTEND=noninteractive $$SUDO apt-get install -y -qq --no-install-recommends $$missing; \
	fi; \
	if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$$'; then \
	  if [ "$$(id -u)" = 0 ]; then localedef -i de_DE -f UTF-8 $(LOCALE); \
	  elif command -v sudo >/dev/null 2>&1; then sudo localedef -i de_DE -f UTF-8 $(LOCALE); \
	  else echo "Locale $(LOCALE) is missing: run 'localedef -i de_DE -f UTF-8 $(LOCALE)' as root."; exit 1; fi; \
	fi

$(BUILD)/CMakeCache.txt:
	cmake -S . -B $(BUILD) $(GENERATOR) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(WERROR)

build: deps $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS)

# The interactive program, in the build folder beside the sample product data.
run: build
	cd $(BUILD) && ./fondaris

run-batch: build
	cd $(BUILD) && ./fondaris -i:$(CURDIR)/data/anfrage.ini -o:$(CURDIR)/$(BUILD)/ergebnis.ini; \
	  status=$$?; cat ergebnis.ini; echo "Exit-Code: $$status"

test: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

test-asan: deps
	cmake -S . -B $(ASAN_BUILD) $(GENERATOR) -DCMAKE_BUILD_TYPE=Debug -DFONDARIS_SANITIZE=ON $(WERROR)
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	ctest --test-dir $(ASAN_BUILD) --output-on-failure -j $(JOBS)

# The program folder, launcher, menu entry and icon under PREFIX (/usr/local: run as root).
install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

# The libFuzzer targets of tests/fuzz, built in FUZZ_BUILD with clang but not run (CI does this).
fuzz-build:
	@$(MAKE) --no-print-directory deps PACKAGES="$(PACKAGES) $(FUZZ_PACKAGES)"
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) $(GENERATOR) \
	  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DFONDARIS_FUZZ=ON
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target fuzz_targets

# Every libFuzzer target for FUZZ_SECONDS each, FUZZ_JOBS at once (not in CI).
fuzz: fuzz-build
	tests/fuzz/run.sh $(FUZZ_BUILD) $(FUZZ_SECONDS) $(FUZZ_JOBS)

# The batch calculation cross-built for Windows in WINDOWS_BUILD, its tests run under Wine, and
# the sample requests' results compared byte for byte with the Linux program's.
windows-batch:
	@$(MAKE) --no-print-directory deps PACKAGES="$(PACKAGES) $(WINDOWS_PACKAGES)"
	@$(MAKE) --no-print-directory $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS) --target fondaris param_dat
	cmake -S . -B $(WINDOWS_BUILD) $(GENERATOR) --toolchain cmake/windows-mingw.cmake \
	  -DCMAKE_BUILD_TYPE=RelWithDebInfo $(WERROR)
	cmake --build $(WINDOWS_BUILD) -j $(JOBS)
	ctest --test-dir $(WINDOWS_BUILD) --output-on-failure -j $(JOBS)
	tests/windows/run_batch_under_wine.sh $(BUILD) $(WINDOWS_BUILD)

bench: build
	$(BUILD)/fondaris_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
	QT_QPA_PLATFORM=offscreen $(BUILD)/fondaris_form_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
	bench/batch_process.sh $(BUILD) 500

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

format-check:
	git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD) $(WINDOWS_BUILD)
