# One-command entry points. Everything the project needs is installed by
# scripts/install-deps.sh (Debian packages, through sudo when not root).
BUILD ?= build
ASAN_BUILD ?= build-asan
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=
# `make install` puts the program under $(DESTDIR)$(PREFIX).
PREFIX ?= /usr/local
DESTDIR ?=

.PHONY: all deps configure build asan test unit run demo bench clean package install package-check

all: build

deps:
	@bash scripts/install-deps.sh

$(BUILD)/build.ninja: | deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS)

build: deps $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS)

$(ASAN_BUILD)/build.ninja: | deps
	cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTZ_SANITIZE=ON -DTZ_E2E_TESTS=OFF $(CMAKE_FLAGS)

asan: deps $(ASAN_BUILD)/build.ninja
	cmake --build $(ASAN_BUILD) -j $(JOBS)

# Unit and window tests under AddressSanitizer and UndefinedBehaviorSanitizer,
# then every test (unit, window, end-to-end under Xvfb) on the regular build.
test: build asan
	cd $(ASAN_BUILD) && ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp \
		UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 ctest --output-on-failure -j $(JOBS)
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)
	$(MAKE) package-check

unit: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS) -L 'unit|widget'

run: build
	@if [ -z "$$DISPLAY" ]; then \
		echo "No X display: DISPLAY is not set. Tindro Zevad needs an X11 (Xorg) desktop session."; \
		echo "On a machine without a desktop, try 'make demo' instead."; \
		exit 1; \
	fi
	@if [ "$${XDG_SESSION_TYPE:-}" = "wayland" ]; then \
		echo "Note: this is a Wayland session; the program runs through XWayland and can only"; \
		echo "see and click X11 windows. Log in to an X11 (Xorg) session for full use."; \
	fi
	exec $(BUILD)/dist/tindro-zevad

demo: build
	@mkdir -p $(BUILD)/demo
	$(BUILD)/tests/e2e/tz-demo $(BUILD)/demo

bench: build
	bash bench/run.sh $(BUILD)

# The Debian package, in $(BUILD)/ (tindro-zevad_<version>_<arch>.deb).
package: build
	cd $(BUILD) && cpack -G DEB

# The program folder in $(PREFIX)/lib/tindro-zevad, the command, menu entry,
# icons, manual page and documents; the binary stripped as in the package.
install: build
	DESTDIR="$(DESTDIR)" cmake --install $(BUILD) --prefix "$(PREFIX)" --strip

# lintian (no errors allowed), desktop-file-validate and appstreamcli on the package.
package-check: package
	bash packaging/check-package.sh $(BUILD)

clean:
	rm -rf $(BUILD) $(ASAN_BUILD)
