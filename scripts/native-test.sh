#!/usr/bin/env bash
# The pure logic built for this machine under AddressSanitizer and
# UndefinedBehaviorSanitizer (native/ into build-native/): runs the same unit
# tests as the Windows build, then fuzzes the settings reader for FUZZ_SECONDS
# (45 by default). A failed test, a sanitizer report, a crash or a broken
# invariant of the reader makes it end with a non-zero status.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
cd "$ROOT"
FUZZ_SECONDS="${FUZZ_SECONDS:-45}"
BUILD=build-native

[ -f "$BUILD/CMakeCache.txt" ] || cmake -S native -B "$BUILD" >/dev/null
cmake --build "$BUILD" -j2 >/dev/null
ctest --test-dir "$BUILD" --output-on-failure

# Inputs found on earlier runs are kept in the build folder, never among the seeds.
mkdir -p "$BUILD/fuzz-corpus" "$BUILD/fuzz-artifacts"
log="$BUILD/fuzz.log"
echo "fuzz: settings reader for ${FUZZ_SECONDS} s"
if ! ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
     timeout $((FUZZ_SECONDS + 60)) "$BUILD/settings_reader_fuzz" -max_total_time="$FUZZ_SECONDS" \
        -timeout=10 -max_len=4096 -print_final_stats=1 -artifact_prefix="$BUILD/fuzz-artifacts/" \
        "$BUILD/fuzz-corpus" tests/fuzz/corpus >"$log" 2>&1; then
    tail -n 40 "$log"
    echo "fuzz: FAILED; the input is in $BUILD/fuzz-artifacts/, the whole log in $log"
    exit 1
fi
runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
echo "fuzz: ${runs} inputs tried, no crash, no sanitizer report, no broken invariant"
