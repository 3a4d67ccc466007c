# Sourced by the wine scripts: one place for the environment every wine call gets.
export WINEDEBUG=-all
export WINEARCH=win64
export WINEDLLOVERRIDES="mscoree,mshtml=,winemenubuilder.exe=d"
export LANG=C.UTF-8
export LC_ALL=C.UTF-8

SCRIPTS_DIR="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"

# Starts a private Xvfb when no display is set; sets DISPLAY and XVFB_PID.
# DUZID_SCREEN gives its size (1280x1024x24 unless set: windows at 200 % need more).
# Returns non-zero, with a line saying so, when Xvfb gives no display.
start_private_display() {
    if [ -n "${DISPLAY:-}" ]; then return 0; fi
    local numfile; numfile="$(mktemp)"
    Xvfb -displayfd 3 -screen 0 "${DUZID_SCREEN:-1280x1024x24}" -nolisten tcp -noreset 3>"$numfile" </dev/null >/dev/null 2>&1 &
    XVFB_PID=$!
    local i
    for i in $(seq 1 200); do
        if [ -s "$numfile" ]; then break; fi
        sleep 0.05
    done
    local number; number="$(tr -d '[:space:]' <"$numfile")"
    rm -f "$numfile"
    if [ -z "$number" ]; then
        echo "wine-env: Xvfb gave no display within 10 s (is the package xvfb installed?)" >&2
        stop_private_display
        return 1
    fi
    export DISPLAY=":$number"
}

stop_private_display() {
    if [ -n "${XVFB_PID:-}" ]; then kill "$XVFB_PID" 2>/dev/null || true; wait "$XVFB_PID" 2>/dev/null || true; fi
}

# The prefix's ready marker holds this number: a prefix made by an older
# wine-prefix.sh holds another (or nothing) and is made again.
DUZID_PREFIX_VERSION=2

# Makes sure the prefix exists with the settings tests rely on, and that its
# server and helper processes run detached from our stdout and stderr. A
# second argument sets the display's dots per inch (LogPixels) of the prefix.
# Returns non-zero, with wine-prefix.sh's log, when the prefix cannot be made.
ensure_prefix() {
    export WINEPREFIX="$1"
    local dpi="${2:-}" ready="$DUZID_PREFIX_VERSION${2:+ dpi=$2}"
    mkdir -p "$(dirname "$WINEPREFIX")"
    (
        flock 9
        if [ "$(cat "$WINEPREFIX/.duzid-ready" 2>/dev/null)" != "$ready" ]; then
            if [ -e "$WINEPREFIX" ]; then
                timeout 30 wineserver -k </dev/null >/dev/null 2>&1 || true
                rm -rf --one-file-system "$WINEPREFIX"
            fi
            if ! bash "$SCRIPTS_DIR/wine-prefix.sh" "$WINEPREFIX" $dpi </dev/null >"$WINEPREFIX.setup.log" 2>&1; then
                tail -n 20 "$WINEPREFIX.setup.log" >&2
                echo "wine-env: could not make the Wine prefix $WINEPREFIX (whole log: $WINEPREFIX.setup.log)" >&2
                exit 1
            fi
        fi
    ) 9>"$WINEPREFIX.lock" || return 1
    timeout 20 wineserver -p 600 </dev/null >/dev/null 2>&1 || true
}

# One display (private when none is set) and one warm Wine server in the prefix
# (at the dots per inch given second, if any) for the rest of the calling
# script; both are ended when it exits.
start_wine_session() {
    trap end_wine_session EXIT
    start_private_display || return 1
    ensure_prefix "$1" ${2:-} || return 1
}

end_wine_session() {
    timeout 30 wineserver -k >/dev/null 2>&1 || true
    # Gone before we return: a wine started next in the prefix must not find a server still ending.
    timeout 30 wineserver -w >/dev/null 2>&1 || true
    # The prefixes of other scales beside it (tests at 150 % and 200 %) have servers of their own.
    local scaled
    for scaled in "$WINEPREFIX"-*/; do
        [ -f "$scaled/.duzid-ready" ] && WINEPREFIX="${scaled%/}" timeout 30 wineserver -k >/dev/null 2>&1 || true
    done
    stop_private_display
}

# The Windows form of a Unix path under Wine (drive Z: is /).
winpath() { echo "Z:$(echo "$1" | tr / '\\')"; }
