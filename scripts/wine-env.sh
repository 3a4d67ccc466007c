# Sourced by the wine scripts: one place for the environment every wine call gets.
export WINEDEBUG=-all
export WINEARCH=win64
export WINEDLLOVERRIDES="mscoree,mshtml=,winemenubuilder.exe=d"
export LANG=C.UTF-8
export LC_ALL=C.UTF-8

SCRIPTS_DIR="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"

# Starts a private Xvfb when no display is set; sets DISPLAY and XVFB_PID.
start_private_display() {
    if [ -n "${DISPLAY:-}" ]; then return 0; fi
    local numfile; numfile="$(mktemp)"
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$numfile" </dev/null >/dev/null 2>&1 &
    XVFB_PID=$!
    local i
    for i in $(seq 1 100); do
        if [ -s "$numfile" ]; then break; fi
        sleep 0.05
    done
    export DISPLAY=":$(tr -d '[:space:]' <"$numfile")"
    rm -f "$numfile"
}

stop_private_display() {
    if [ -n "${XVFB_PID:-}" ]; then kill "$XVFB_PID" 2>/dev/null || true; wait "$XVFB_PID" 2>/dev/null || true; fi
}

# Makes sure the prefix exists with the settings tests rely on, and that its
# server and helper processes run detached from our stdout and stderr.
ensure_prefix() {
    export WINEPREFIX="$1"
    mkdir -p "$(dirname "$WINEPREFIX")"
    (
        flock 9
        if [ ! -f "$WINEPREFIX/.duzid-ready" ]; then
            bash "$SCRIPTS_DIR/wine-prefix.sh" "$WINEPREFIX" </dev/null >"$WINEPREFIX.setup.log" 2>&1
        fi
    ) 9>"$WINEPREFIX.lock"
    timeout 20 wineserver -p 600 </dev/null >/dev/null 2>&1 || true
}

# One display (private when none is set) and one warm Wine server in the prefix
# for the rest of the calling script; both are ended when it exits.
start_wine_session() {
    start_private_display
    ensure_prefix "$1"
    trap end_wine_session EXIT
}

end_wine_session() {
    timeout 30 wineserver -k >/dev/null 2>&1 || true
    stop_private_display
}

# The Windows form of a Unix path under Wine (drive Z: is /).
winpath() { echo "Z:$(echo "$1" | tr / '\\')"; }
