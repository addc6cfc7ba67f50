#!/usr/bin/env bash
# Installs the Debian packages the project needs to build, test and run.
# Idempotent: packages already present are not touched; uses sudo when not root.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config clang libclang-rt-14-dev
    qt6-base-dev qt6-base-dev-tools libgl-dev libxkbcommon-dev
    libx11-dev libxtst-dev libxi-dev libxinerama-dev
    libsndfile1-dev libpulse-dev
    libcurl4-openssl-dev
    libwayland-dev libwayland-bin plasma-wayland-protocols  # KWin's fake-input protocol
    libgtest-dev libgmock-dev libbenchmark-dev
    xvfb xserver-xephyr x11-utils xauth xdotool python3 python3-xlib python3-pil
    libx11-6 libxi6 libxtst6  # loaded by the end-to-end harness itself (ctypes)
    openbox  # a real window manager for the stacking and full-screen cases
    dbus at-spi2-core python3-pyatspi  # a screen reader's view of the windows (AT-SPI)
    python3-gi  # Plasma's panel in the KWin tests (a status notifier watcher)
    kwin-wayland xwayland libkf5service-bin  # a KDE Plasma Wayland session (KWin) to test in
    qt6-wayland  # the KWin tests' native Wayland recorder window
    fonts-dejavu-core fonts-liberation
    dpkg-dev lintian desktop-file-utils appstream
)

missing=()
for p in "${packages[@]}"; do
    # "triggers-pending" is installed too, only waiting for another install to finish.
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -qE 'ok (installed|triggers-pending|triggers-awaited)'; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

echo "Installing: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
