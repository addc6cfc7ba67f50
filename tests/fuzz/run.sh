#!/usr/bin/env bash
# Builds the fuzz targets with clang in their own build folder and runs each
# for a set time, starting from the committed seeds. Fails on any finding (a
# crash, a sanitizer report, a failed check, a timeout or running out of memory).
#   usage: tests/fuzz/run.sh [build folder] [seconds per target]
# Findings are kept as <build>/artifacts/<target>-*; reproduce one with
#   <build>/fuzzers/fuzz_<target> <artifact>
set -uo pipefail

root="$(cd "$(dirname "$0")/../.." && pwd)"
build="${1:-build-fuzz}"
seconds="${2:-60}"
case "$build" in /*) ;; *) build="$root/$build" ;; esac
targets=(SettingsParse SettingsRoundTrip LanguageFile UpdateNews PickerName DesktopEntry DecodeText)

if [ ! -f "$build/build.ninja" ]; then
    cmake -S "$root/tests/fuzz" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_CXX_COMPILER=clang++ -DTZ_FUZZ=ON >/dev/null || exit 1
fi
cmake --build "$build" || exit 1

mkdir -p "$build/logs" "$build/artifacts"
failed=0
printf '%-18s %12s %10s %8s  %s\n' target executions exec/s corpus result
for t in "${targets[@]}"; do
    # New inputs go to a working corpus in the build folder, never to the seeds.
    mkdir -p "$build/corpus/$t"
    log="$build/logs/$t.log"
    ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
        "$build/fuzzers/fuzz_$t" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="$build/artifacts/$t-" \
        "$build/corpus/$t" "$root/tests/fuzz/corpus/$t" >"$log" 2>&1
    status=$?
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    speed=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
    corpus=$(ls "$build/corpus/$t" | wc -l)
    if [ $status -eq 0 ]; then
        result="no finding"
    else
        result="FINDING (exit $status), see $log"
        failed=1
    fi
    printf '%-18s %12s %10s %8s  %s\n' "$t" "${runs:-?}" "${speed:-?}" "$corpus" "$result"
    if [ $status -ne 0 ]; then
        grep -E 'ERROR|check failed|SUMMARY|Test unit written' "$log" | head -20
    fi
done
exit $failed
