# One-command entry points. Everything the project needs is installed by
# scripts/install-deps.sh (Debian packages, through sudo when not root).
BUILD ?= build
ASAN_BUILD ?= build-asan
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=
# `make install` puts the program under $(DESTDIR)$(PREFIX).
PREFIX ?= /usr/local
DESTDIR ?=

.PHONY: all deps configure build build-all asan test unit run display-check demo bench fuzz fuzz-smoke soak clean package install package-check

all: build

deps:
	@bash scripts/install-deps.sh

$(BUILD)/build.ninja: | deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS)

# The program alone: the runnable program folder in $(BUILD)/dist.
build: deps $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS) --target tindro-zevad

# The program with every test suite, benchmark and example.
build-all: deps $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS)

$(ASAN_BUILD)/build.ninja: | deps
	cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTZ_SANITIZE=ON -DTZ_E2E_TESTS=OFF $(CMAKE_FLAGS)

# Only what the sanitizer run of `make test` needs.
asan: deps $(ASAN_BUILD)/build.ninja
	cmake --build $(ASAN_BUILD) -j $(JOBS) --target tz_unit_tests tz_widget_tests

# The fuzz targets for a few seconds each and the package checks; then the unit
# and window tests under AddressSanitizer and UndefinedBehaviorSanitizer; last,
# every test (unit, window, end-to-end under Xvfb, package) on the regular build.
test: build-all asan
	$(MAKE) fuzz-smoke
	$(MAKE) package-check
	cd $(ASAN_BUILD) && ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp \
		UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 ctest --output-on-failure -j $(JOBS) -L 'unit|widget'
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

unit: deps $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS) --target tz_unit_tests tz_widget_tests
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS) -L 'unit|widget'

run: display-check build
	exec $(BUILD)/dist/tindro-zevad

# Before building anything: the program needs an X display to work on (Xwayland
# in KDE Plasma's Wayland session).
display-check:
	@if [ -z "$$DISPLAY" ]; then \
		echo "No X display: DISPLAY is not set. Tindro Zevad needs an X11 (Xorg) desktop session,"; \
		echo "or KDE Plasma's Wayland session (whose Xwayland sets DISPLAY)."; \
		echo "On a machine without a desktop, try 'make demo' instead."; \
		exit 1; \
	fi
	@if [ -n "$${WAYLAND_DISPLAY:-}" ]; then \
		case ":$${XDG_CURRENT_DESKTOP:-}:" in \
		*:KDE:*) echo "Note: KDE Plasma's Wayland session: the program follows the pointer through KWin,"; \
		   echo "and its first start writes the entry that lets it click";; \
		*) echo "Note: this Wayland session does not look like KDE Plasma's: other Wayland desktops"; \
		   echo "(GNOME, Sway, ...) give no program the pointer everywhere and clicks, so the program"; \
		   echo "will say it cannot work here and end; choose an X11 session or Plasma's Wayland one";; \
		esac; \
		echo "(see \"Where it works\" in README.md)."; \
	fi

# The demo, soak run and live benchmark drive the program with the end-to-end
# tests' harness (Debian's python3 with python3-xlib).
PYTHON ?= /usr/bin/python3
HARNESS = PYTHONPATH=$(CURDIR)/tests/e2e TZ_DIST_DIR=$(CURDIR)/$(BUILD)/dist \
	TZ_E2E_PROGRAM=$(CURDIR)/$(BUILD)/e2e-program/tindro-zevad-e2e

demo: deps $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS) --target tindro-zevad
	$(HARNESS) $(PYTHON) tools/demo/demo.py $(BUILD)/demo

bench: build-all
	bash bench/run.sh $(BUILD)

# Every fuzz target for FUZZ_SECONDS each (clang, libFuzzer, ASan, UBSan);
# fails on any finding. fuzz-smoke is the short run `make test` does.
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60
fuzz: deps
	bash tests/fuzz/run.sh $(FUZZ_BUILD) $(FUZZ_SECONDS)

fuzz-smoke: deps
	bash tests/fuzz/run.sh $(FUZZ_BUILD) 5

# The long fault runs: 200 kills in the middle of settings writes, and ten
# minutes of the real program under Xvfb watching its memory and files.
SOAK_KILLS ?= 200
SOAK_MINUTES ?= 10
soak: build-all
	cd $(BUILD) && TZ_KILL_COUNT=$(SOAK_KILLS) ctest -R '^KilledMidWriteTest$$' --output-on-failure
	$(HARNESS) TZ_SOAK_MINUTES=$(SOAK_MINUTES) $(PYTHON) tools/soak.py

# The Debian package, in $(BUILD)/ (tindro-zevad_<version>_<arch>.deb).
package: build-all
	cd $(BUILD) && cpack -G DEB

# The program folder in $(PREFIX)/lib/tindro-zevad, the command, menu entry,
# icons, manual page and documents; the binary stripped as in the package.
install: deps $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS) --target tindro-zevad tz_packaging_data
	DESTDIR="$(DESTDIR)" cmake --install $(BUILD) --prefix "$(PREFIX)" --strip

# lintian (no errors allowed), desktop-file-validate and appstreamcli on the package.
package-check: package
	bash packaging/check-package.sh $(BUILD)

clean:
	rm -rf $(BUILD) $(ASAN_BUILD)
