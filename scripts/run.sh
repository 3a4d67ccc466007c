#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program under Wine from its
# ready folder (build/program, the real encoder in PLUG-IN). With no display
# set, it runs on a private Xvfb, saves a screenshot under out/ and ends it.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
bash "$ROOT/scripts/setup.sh"
bash "$ROOT/scripts/build.sh"

. "$ROOT/scripts/wine-env.sh"
PROGRAM="$ROOT/build/program/DU_ZID.exe"

if [ -n "${DISPLAY:-}" ]; then
    ensure_prefix "$ROOT/build/wineprefix"
    cd "$ROOT/build/program"
    exec timeout 86400 wine "$PROGRAM" </dev/null
fi

start_private_display
ensure_prefix "$ROOT/build/wineprefix"
finish() { timeout 30 wineserver -k >/dev/null 2>&1 || true; stop_private_display; }
trap finish EXIT

mkdir -p "$ROOT/out"
cd "$ROOT/build/program"
timeout 120 wine "$PROGRAM" </dev/null >"$ROOT/out/run.log" 2>&1 &
pid=$!
# Wait for the first window of the program, then give it time to paint.
for i in $(seq 1 100); do
    if xdotool search --onlyvisible --name '.' >/dev/null 2>&1; then break; fi
    if ! kill -0 "$pid" 2>/dev/null; then break; fi
    sleep 0.1
done
sleep 2
shot="$ROOT/out/run-$(date +%Y%m%d-%H%M%S).png"
import -window root "$shot"
echo "run.sh: screenshot saved to $shot"
if kill -0 "$pid" 2>/dev/null; then
    echo "run.sh: no display to keep the program on; ending it"
fi
