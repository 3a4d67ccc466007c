#!/usr/bin/env bash
# The pure logic built for this machine under AddressSanitizer and
# UndefinedBehaviorSanitizer (native/ into build-native/): runs the same unit
# tests as the Windows build, then fuzzes each reader of outside text
# (tests/fuzz/<reader>_fuzz.cpp), sharing FUZZ_SECONDS (45 by default) among
# them; FUZZ_READERS="log_reader" fuzzes only those named. A failed test, a
# sanitizer report, a crash or a broken invariant of a reader makes it end
# with a non-zero status.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
cd "$ROOT"
FUZZ_SECONDS="${FUZZ_SECONDS:-45}"
BUILD=build-native
readers=(${FUZZ_READERS:-$(cd tests/fuzz && ls *_fuzz.cpp | sed 's/_fuzz\.cpp$//')})

[ -f "$BUILD/CMakeCache.txt" ] || cmake -S native -B "$BUILD" >/dev/null
cmake --build "$BUILD" -j2 >/dev/null
ctest --test-dir "$BUILD" --output-on-failure

# Inputs found on earlier runs are kept in the build folder, never among the
# seeds. Without -max_len libFuzzer tries inputs up to the largest seed, at
# least 4096 bytes.
fuzz() {
    local reader="$1" seconds="$2" log="$BUILD/fuzz-$1.log"
    mkdir -p "$BUILD/fuzz-corpus/$reader" "$BUILD/fuzz-artifacts"
    echo "fuzz: ${reader//_/ } for ${seconds} s"
    if ! ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
         timeout $((seconds + 60)) "$BUILD/${reader}_fuzz" -max_total_time="$seconds" \
            -timeout=10 -print_final_stats=1 -artifact_prefix="$BUILD/fuzz-artifacts/${reader}-" \
            "$BUILD/fuzz-corpus/$reader" "tests/fuzz/corpus/$reader" >"$log" 2>&1; then
        tail -n 40 "$log"
        echo "fuzz: FAILED; the input is in $BUILD/fuzz-artifacts/, the whole log in $log"
        exit 1
    fi
    local runs
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    echo "fuzz: ${runs} inputs tried, no crash, no sanitizer report, no broken invariant"
}

share=$((FUZZ_SECONDS / ${#readers[@]}))
rest=$((FUZZ_SECONDS - share * ${#readers[@]}))
for reader in "${readers[@]}"; do
    fuzz "$reader" $((share + rest))
    rest=0
done
