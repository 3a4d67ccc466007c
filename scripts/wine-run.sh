#!/usr/bin/env bash
# Runs one Windows program under Wine and passes its exit code through.
# Usage: wine-run.sh [--prefix DIR] [--dpi N] [--timeout SECONDS] program.exe [args...]
# (--dpi: the prefix's display runs at N dots per inch, 144 for 150 %.)
# Starts a private Xvfb when DISPLAY is unset. Wine's output goes through
# files: its helper processes keep inherited pipes open for a long time.
set -u
. "$(dirname "$0")/wine-env.sh"

prefix="${WINEPREFIX:-$PWD/wineprefix}"
limit=240
dpi=""
while [ $# -gt 0 ]; do
    case "$1" in
        --prefix) prefix="$2"; shift 2 ;;
        --dpi) dpi="$2"; shift 2 ;;
        --timeout) limit="$2"; shift 2 ;;
        *) break ;;
    esac
done
[ $# -ge 1 ] || { echo "usage: wine-run.sh [--prefix DIR] [--dpi N] [--timeout S] program.exe [args...]" >&2; exit 2; }

start_private_display || exit 1
ensure_prefix "$prefix" $dpi || { stop_private_display; exit 1; }

out="$(mktemp)"; err="$(mktemp)"
cleanup() {
    cat "$out"; cat "$err" >&2; rm -f "$out" "$err"
    # Wine's desktop process is tied to the display: end it with a private one.
    if [ -n "${XVFB_PID:-}" ]; then timeout 20 wineserver -k >/dev/null 2>&1; fi
    stop_private_display
}
trap cleanup EXIT

timeout -k 5 "$limit" wine "$@" </dev/null >"$out" 2>"$err"
rc=$?
[ $rc -eq 124 ] && echo "wine-run.sh: $1 timed out after ${limit}s" >>"$err"
exit $rc
