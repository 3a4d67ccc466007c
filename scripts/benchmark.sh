#!/usr/bin/env bash
# Measures the program against its goals under Wine (medians of 5 with their
# range; see tests/tools/benchmark.cpp): conversion overhead, batches against
# the bare encoders one after another and side by side, start-up against
# a minimal dialog program and where its time goes, CPU at rest in each
# window and during conversions, peak working set and program size. CPU times
# are read here, from the Unix side, when benchmark.exe hands a phase over.
# Each goal's line ends with "met" or "NOT met".
# Usage: benchmark.sh [DU_ZID.exe]   (another build of the program to measure
# instead of build/program/DU_ZID.exe, for figures side by side)
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
bash "$ROOT/scripts/setup.sh"
bash "$ROOT/scripts/build.sh" >/dev/null

. "$ROOT/scripts/wine-env.sh"
start_wine_session "$ROOT/build/wineprefix"

measured="$(realpath "${1:-$ROOT/build/program/DU_ZID.exe}")"
bench="$ROOT/build/bench"
rm -rf "$bench"; mkdir -p "$bench/program/PLUG-IN" "$bench/scratch"
cp "$measured" "$bench/program/DU_ZID.exe"
echo "measuring $measured"
cp "$ROOT/build/encoder/ffmpeg_III.exe" "$bench/program/PLUG-IN/ffmpeg_III.exe"
# The ready-made npm build, for the encoders side by side.
mkdir -p "$bench/npm/PLUG-IN"
cp "$ROOT/.cache/encoder/ffmpeg.exe" "$bench/npm/PLUG-IN/ffmpeg_III.exe"
scratch="$bench/scratch"
results="$bench/cpu.txt"
: >"$results"
echo "load average at the start: $(cut -d' ' -f1-3 /proc/loadavg)"

hz="$(getconf CLK_TCK)"
# User plus system CPU of a process, in clock ticks (its ended threads included).
ticks() { awk '{print $14 + $15}' "/proc/$1/stat" 2>/dev/null || echo 0; }
# The Unix process running the Windows program whose path ends as given.
pid_of() {
    local p
    for p in $(pgrep -f "$1" || true); do
        if tr '\0' ' ' 2>/dev/null <"/proc/$p/cmdline" | grep -q "bench.program.$1"; then echo "$p"; return; fi
    done
}
seconds() { awk -v t="$1" -v hz="$hz" 'BEGIN { printf "%.2f", t / hz }'; }

# Follows the encoder of one conversion, with shell built-ins only so that it
# does not itself load the machine: on SIGTERM writes "program ticks at the
# encoder's start, program ticks at its last reading, encoder ticks" to a file.
follow_encoder() {
    local out="$1" program="$2" pid="" first=0 last=0 encoder=0 nap f p
    trap 'echo "$first $last $encoder" >"$out"; exit 0' TERM
    exec {nap}<> <(:)
    until [ -n "$pid" ]; do
        pid="$(pid_of 'PLUG-IN.ffmpeg_III\.exe')"
        read -r -a p <"/proc/$program/stat" && first=$((p[13] + p[14]))
        read -r -t 0.02 -u "$nap" || true
    done
    while read -r -a f 2>/dev/null <"/proc/$pid/stat"; do
        encoder=$((f[13] + f[14]))
        read -r -a p <"/proc/$program/stat" && last=$((p[13] + p[14]))
        read -r -t 0.01 -u "$nap" || true
    done
    while :; do read -r -t 1 -u "$nap" || true; done
}

# The encoders of a batch come and go by the dozen: their CPU is read as that
# of the processes reaped by reaper.py (see there) while the batch runs.
reaped="$bench/reaped-ticks"
python3 "$ROOT/scripts/reaper.py" "$reaped" timeout 1800 wine "$ROOT/build/tests/benchmark.exe" \
    "$(winpath "$bench/program")" "$(winpath "$ROOT/build/tests/minimal_dialog.exe")" "$(winpath "$scratch")" "$(winpath "$bench/npm")" \
    </dev/null 2>/dev/null | tr -d '\r' | grep -v '^ffmpeg\|^  \|^Input\|^Output\|^Stream\|^size=\|^video:' &
driver=$!

# Answers benchmark.exe's hand-overs until it ends; a failed reading must not
# stop the script while the driver waits.
set +e
# The waiting uses shell built-ins only: no process is started while nothing is asked.
program_ticks=0; follower=""
exec {nap}<> <(:)
while kill -0 "$driver" 2>/dev/null; do
    ready=""
    for candidate in "$scratch"/*.ready; do [ -e "$candidate" ] && ready="$candidate" && break; done
    if [ -z "$ready" ]; then read -r -t 0.05 -u "$nap"; continue; fi
    name="$(basename "$ready" .ready)"
    program="$(pid_of 'DU_ZID\.exe')"
    case "$name" in
        rest-*)
            before="$(ticks "$program")"; sleep 10; after="$(ticks "$program")"
            echo "rest ${name#rest-} $((after - before))" >>"$results" ;;
        conversion-begin)
            program_ticks="$(ticks "$program")"
            rm -f "$bench/encoder-ticks"
            follow_encoder "$bench/encoder-ticks" "$program" & follower=$! ;;
        batch-*-begin)
            program_ticks="$(ticks "$program")"; reaped_ticks="$(cat "$reaped")" ;;
        batch-*-end)
            used=$(( $(ticks "$program") - program_ticks ))
            # The last encoder is reaped a moment after the closing message shows.
            read -r -t 0.5 -u "$nap"
            batch="${name#batch-}"
            echo "batch ${batch%-end} $used $(( $(cat "$reaped") - reaped_ticks ))" >>"$results" ;;
        conversion-end)
            used=$(( $(ticks "$program") - program_ticks ))
            kill "$follower" 2>/dev/null; wait "$follower" 2>/dev/null
            read -r first last encoder <"$bench/encoder-ticks"
            echo "conversion $used ${encoder:-0} $(( ${last:-0} - ${first:-0} ))" >>"$results" ;;
    esac
    rm -f "$ready"; touch "$scratch/$name.done"
done
wait "$driver" || true

# Median and range of the numbers on stdin, as "median (low to high)".
spread() { sort -g | awk -v f="$1" '{ v[NR] = $1 } END { m = v[int((NR + 1) / 2)];
    printf f " (" f " to " f ")", m, v[1], v[NR] }'; }
verdict() { if awk -v x="$1" -v limit="$2" 'BEGIN { exit !(x <= limit) }'; then echo met; else echo "NOT met"; fi; }

while read -r kind window used; do
    [ "$kind" = rest ] || continue
    s="$(seconds "$used")"
    echo "goal: $(echo "$window" | tr - ' ') at rest, CPU over 10 s: $s s, at most 0.02 s: $(verdict "$s" 0.02)"
done <"$results"

if grep -q '^conversion' "$results"; then
    program_cpu="$(awk '/^conversion/ { print $2 / '"$hz"' }' "$results" | spread '%.2f s')"
    encoder_cpu="$(awk '/^conversion/ { print $3 / '"$hz"' }' "$results" | spread '%.2f s')"
    share="$(awk '/^conversion/ { p += $2; e += $3 } END { printf "%.1f", e ? 100 * p / e : 0 }' "$results")"
    while_encoding="$(awk '/^conversion/ { print $4 / '"$hz"' }' "$results" | spread '%.2f s')"
    share_encoding="$(awk '/^conversion/ { p += $4; e += $3 } END { printf "%.1f", e ? 100 * p / e : 0 }' "$results")"
    echo "CPU during a conversion of 60 s of audio, confirming the Save dialog to the closing message:" \
        "the program $program_cpu, the encoder $encoder_cpu; the program while the encoder ran $while_encoding"
    echo "goal: the program's CPU during conversions $share % of the encoder's (sums of 5), at most 5 %: $(verdict "$share" 5)"
    echo "  (while the encoder ran: $share_encoding % of the encoder's)"
fi

while read -r kind batch used encoders; do
    [ "$kind" = batch ] || continue
    share="$(awk -v p="$used" -v e="$encoders" 'BEGIN { printf "%.1f", e ? 100 * p / e : 0 }')"
    echo "goal: the program's CPU during the batch $batch $(seconds "$used") s, the encoders' $(seconds "$encoders") s:" \
        "$share %, at most 5 %: $(verdict "$share" 5)"
done <"$results"

# Where start-up time goes: each step of tests/tools/startup_steps.cpp, median of 5.
cp "$ROOT/build/tests/startup_steps.exe" "$bench/program/"
for i in 1 2 3 4 5; do
    (cd "$bench/program" && timeout 60 wine startup_steps.exe </dev/null 2>/dev/null | tr -d '\r')
done >"$bench/steps.txt"
echo "start-up steps of this build (tests/tools/startup_steps.cpp), median of 5 (range) in ms:"
sed 's/: [0-9.-]* ms$//' "$bench/steps.txt" | awk '!seen[$0]++' | while read -r step; do
    figure="$(grep -F "$step: " "$bench/steps.txt" | sed 's/.*: \([0-9.-]*\) ms$/\1/' | spread '%.1f')"
    echo "  $step: $figure"
done
echo "load average at the end: $(cut -d' ' -f1-3 /proc/loadavg)"
