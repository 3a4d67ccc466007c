#!/usr/bin/env bash
# Pictures of every window for the README: walks the program through a
# conversion on a private Xvfb (Wine drawing captions and frames itself) and
# keeps the start, main, held-button, busy, About, Help and batch shots in docs/screenshots/.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
bash "$ROOT/scripts/setup.sh"
bash "$ROOT/scripts/build.sh" >/dev/null

. "$ROOT/scripts/wine-env.sh"
unset DISPLAY
start_wine_session "$ROOT/build/wineprefix"

work="$(mktemp -d)"
timeout 300 wine "$ROOT/build/tests/walkthrough.exe" "$(winpath "$ROOT/build/program")" "$(winpath "$work")" \
    </dev/null >"$work/log" 2>/dev/null || { cat "$work/log"; exit 1; }
mkdir -p "$ROOT/docs/screenshots"
for name in start main main-button-held busy about help batch-busy batch-summary; do
    shot="$(ls "$work"/step-*-"$name".bmp 2>/dev/null | head -1)"
    [ -n "$shot" ] && convert "$shot" "$ROOT/docs/screenshots/$name.png"
done
rm -rf "$work"
ls "$ROOT/docs/screenshots"
