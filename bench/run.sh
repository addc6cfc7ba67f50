#!/usr/bin/env bash
# Timing figures of the program, each on a private Xvfb, and the program's own
# in a KWin session of its own when kwin_wayland is installed; never pass/fail.
# docs/PERFORMANCE.md explains the methods and keeps the last figures.
#   usage: bench/run.sh [build folder]
#   BENCH_TICKS    dwell ticks timed in the real bar window (600)
#   BENCH_SECONDS  length of each CPU measurement (60)
# Everything printed is also kept in <build>/bench/results.txt.
set -euo pipefail

build="$(cd "${1:-build}" && pwd)"
ticks="${BENCH_TICKS:-600}"
seconds="${BENCH_SECONDS:-60}"
for tool in bench/tz_bench_logic bench/tz_bench_ticks e2e-program/tindro-zevad-e2e; do
    if [ ! -x "$build/$tool" ]; then
        echo "missing $build/$tool: build everything first (make build-all)" >&2
        exit 1
    fi
done
here="$(cd "$(dirname "$0")/.." && pwd)"

{
    echo "== machine"
    echo "cpu: $(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -1), $(nproc) logical cores"
    echo "memory: $(awk '/MemTotal/ {printf "%.1f GiB", $2 / 1048576}' /proc/meminfo)"
    echo "kernel: $(uname -sr); load average at start: $(cut -d' ' -f1-3 /proc/loadavg)"
    echo "X server: Xvfb $(dpkg-query -W -f='${Version}' xvfb 2>/dev/null); Qt $(pkg-config --modversion Qt6Widgets 2>/dev/null)"
    echo "build: $(sed -n 's/^CMAKE_BUILD_TYPE:[A-Z]*=//p' "$build/CMakeCache.txt"), $(sed -n 's/^CMAKE_CXX_COMPILER:[A-Z]*=//p' "$build/CMakeCache.txt")"
    echo
    echo "== logic per call (Google Benchmark)"
    "$build/bench/tz_bench_logic" --benchmark_min_time=0.5 2>/dev/null
    echo
    echo "== dwell timer in the real bar window ($ticks ticks)"
    xvfb-run -a -s "-screen 0 1280x1024x24" "$build/bench/tz_bench_ticks" "$ticks" 2>/dev/null
    echo
    echo "== the real program (CPU over $seconds s each)"
    PYTHONPATH="$here/tests/e2e" TZ_DIST_DIR="$build/dist" \
        TZ_E2E_PROGRAM="$build/e2e-program/tindro-zevad-e2e" \
        /usr/bin/python3 "$here/bench/live_bench.py" "$seconds" 2>/dev/null
    echo
    echo "== the real program in KDE Plasma's Wayland session (CPU over $seconds s each)"
    if [ ! -x /usr/bin/kwin_wayland ]; then
        echo "skipped: no /usr/bin/kwin_wayland (Debian package kwin-wayland)"
    elif [ ! -x "$build/test-tools/tz_fake_input_tool" ]; then
        echo "skipped: no $build/test-tools/tz_fake_input_tool (build everything first)"
    else
        echo "KWin $(dpkg-query -W -f='${Version}' kwin-wayland 2>/dev/null) --virtual --xwayland; load average now: $(cut -d' ' -f1-3 /proc/loadavg)"
        PYTHONPATH="$here/tests/e2e" TZ_DIST_DIR="$build/dist" \
            TZ_E2E_PROGRAM="$build/e2e-program/tindro-zevad-e2e" \
            TZ_FAKE_INPUT_TOOL="$build/test-tools/tz_fake_input_tool" \
            /usr/bin/python3 "$here/bench/live_bench.py" "$seconds" --kwin 2>/dev/null
    fi
    echo
    echo "load average at the end: $(cut -d' ' -f1-3 /proc/loadavg)"
} | tee "$build/bench/results.txt"
