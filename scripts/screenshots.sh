#!/usr/bin/env bash
# Pictures of every window for the README: walks the program through a
# conversion on a private Xvfb (Wine drawing captions and frames itself) and
# keeps the start, main, held-button, busy, About, Help, batch and output
# dialog shots in docs/screenshots/; then again at 150 % (a prefix at 144 dots
# per inch, a larger screen) for main-150, busy-150 and the two dialogs.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
bash "$ROOT/scripts/setup.sh"
bash "$ROOT/scripts/build.sh" >/dev/null

. "$ROOT/scripts/wine-env.sh"
mkdir -p "$ROOT/docs/screenshots"

# take_shots PREFIX DPI SUFFIX NAME...: the walkthrough's shots of those names.
take_shots() (
    local prefix="$1" dpi="$2" suffix="$3"
    shift 3
    unset DISPLAY
    [ -z "$dpi" ] || export DUZID_SCREEN=2560x1600x24
    start_wine_session "$prefix" $dpi
    work="$(mktemp -d)"
    timeout 300 wine "$ROOT/build/tests/walkthrough.exe" "$(winpath "$ROOT/build/program")" "$(winpath "$work")" \
        </dev/null >"$work/log" 2>/dev/null || { cat "$work/log"; exit 1; }
    for name in "$@"; do
        shot="$(ls "$work"/step-*-"$name".bmp 2>/dev/null | head -1)"
        if [ -n "$shot" ]; then convert "$shot" "$ROOT/docs/screenshots/$name$suffix.png"
        else echo "screenshots: no shot of $name$suffix; the walkthrough said:"; cat "$work/log"; fi
    done
    rm -rf "$work"
)

take_shots "$ROOT/build/wineprefix" "" "" start main main-button-held busy about help batch-busy batch-summary \
    save-dialog folder-dialog
take_shots "$ROOT/build/wineprefix-144" 144 -150 main busy save-dialog folder-dialog
ls "$ROOT/docs/screenshots"
