#!/usr/bin/env bash
# Builds the fuzz targets with clang in their own build folder and runs each
# for a set time from the committed seeds. Fails on any finding (a crash, a
# sanitizer report, a failed check, a timeout or running out of memory).
#   usage: tests/fuzz/run.sh [build folder] [seconds per target]
# Findings are kept as <build>/artifacts/<target>-*; reproduce one with
#   <build>/fuzzers/fuzz_<target> <artifact>
set -uo pipefail
cd "$(dirname "$0")/../.." || exit 1
build=$(realpath -m "${1:-build-fuzz}") seconds=${2:-60} failed=0
cmake -S tests/fuzz -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER=clang++ >/dev/null && cmake --build "$build" || exit 1
mkdir -p "$build/logs" "$build/artifacts"
for source in tests/fuzz/*Fuzz.cpp; do
    t=$(basename "$source" Fuzz.cpp)
    log="$build/logs/$t.log"
    # New inputs go to a working corpus in the build folder, never to the seeds.
    mkdir -p "$build/corpus/$t"
    ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
        "$build/fuzzers/fuzz_$t" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="$build/artifacts/$t-" \
        "$build/corpus/$t" "tests/fuzz/corpus/$t" >"$log" 2>&1
    status=$?
    printf '%-18s %10s runs %8s/s  ' "$t" "$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")" \
        "$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")"
    [ $status = 0 ] && echo "no finding" && continue
    echo "FINDING (exit $status), see $log"
    grep -E 'ERROR|check failed|SUMMARY|Test unit written' "$log" | head -20
    failed=1
done
exit $failed
