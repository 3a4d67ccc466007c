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

start_wine_session "$ROOT/build/wineprefix"

# No display to keep the program on: walk it through its main job with the
# real encoder instead, and keep a screenshot of every step.
out="$ROOT/out/walkthrough"
rm -rf "$out"; mkdir -p "$out"
echo "run.sh: no display set; walking the program through a conversion on a private Xvfb"
set +e
timeout 300 wine "$ROOT/build/tests/walkthrough.exe" "$(winpath "$ROOT/build/program")" "$(winpath "$out")" \
    </dev/null >"$out/walkthrough.log" 2>"$out/wine.log"
rc=$?
set -e
for bmp in "$out"/*.bmp; do
    [ -e "$bmp" ] || continue
    convert "$bmp" "${bmp%.bmp}.png" && rm -f "$bmp"
done
tr -d '\r' <"$out/walkthrough.log"
if [ $rc != 0 ]; then
    echo "run.sh: the walk ended with exit status $rc; what Wine said last ($out/wine.log):"
    tail -n 20 "$out/wine.log"
fi
echo "run.sh: screenshots of each step in $out"
exit $rc
