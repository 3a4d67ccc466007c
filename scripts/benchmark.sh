#!/usr/bin/env bash
# Measures conversion overhead, start-up time, idle CPU, peak working set and
# program size under Wine (medians of 5; see tests/tools/benchmark.cpp).
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
bash "$ROOT/scripts/setup.sh"
bash "$ROOT/scripts/build.sh" >/dev/null

. "$ROOT/scripts/wine-env.sh"
start_wine_session "$ROOT/build/wineprefix"

bench="$ROOT/build/bench"
rm -rf "$bench"; mkdir -p "$bench/program/PLUG-IN" "$bench/scratch"
cp "$ROOT/build/program/DU_ZID.exe" "$bench/program/"
cp "$ROOT/.cache/encoder/ffmpeg.exe" "$bench/program/PLUG-IN/ffmpeg_III.exe"
timeout 900 wine "$ROOT/build/tests/benchmark.exe" "$(winpath "$bench/program")" \
    "$(winpath "$ROOT/build/tests/minimal_dialog.exe")" "$(winpath "$bench/scratch")" </dev/null 2>/dev/null \
    | tr -d '\r' | grep -v '^ffmpeg\|^  \|^Input\|^Output\|^Stream\|^size=\|^video:' &
driver=$!

# The main window's idle CPU, read from the Unix side over 10 s.
for i in $(seq 1 1200); do [ -e "$bench/scratch/idle-ready" ] && break; sleep 0.5; done
set +e
pid=""
for p in $(pgrep -f 'DU_ZID\.exe'); do
    tr '\0' ' ' <"/proc/$p/cmdline" 2>/dev/null | grep -q 'bench.program.DU_ZID\.exe' && pid="$p"
done
ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
if [ -n "$pid" ]; then
    before="$(ticks "$pid")"; sleep 10; after="$(ticks "$pid")"
    hz="$(getconf CLK_TCK)"
    awk -v t=$((after - before)) -v hz="$hz" \
        'BEGIN { printf "main window idle CPU over 10 s: %.2f s of CPU (%.1f %% of one core)\n", t / hz, 10 * t / hz }'
fi
touch "$bench/scratch/idle-done"
wait "$driver"
