#!/usr/bin/env bash
# Creates a Wine prefix fit for running and testing the program headless:
#   wine-prefix.sh PREFIX [DPI]
# with DPI, the display's dots per inch (HKCU\Control Panel\Desktop
# LogPixels: 144 is 150 %). A step that fails ends the script with a line
# naming it; the ready marker, which holds the prefix version (and the DPI),
# is written only when every step has worked.
set -euo pipefail
. "$(dirname "$0")/wine-env.sh"
export WINEPREFIX="$1"
DPI="${2:-}"

fail() { echo "wine-prefix: $1" >&2; exit 1; }
step() {
    local what="$1"; shift
    "$@" || fail "$what failed (exit status $?)"
}

# Debian's Wine does not load its own fonts from the system folder: the
# dialogs' MS Sans Serif, the captions' Tahoma and the caption buttons'
# Marlett are copied into the prefix below. Without them every face falls back
# to one sans serif and the windows are laid out with other metrics.
WINE_FONTS=/usr/share/wine/fonts
for font in sserife.fon tahoma.ttf marlett.ttf; do
    [ -f "$WINE_FONTS/$font" ] || fail "$WINE_FONTS/$font is missing: install the Debian package fonts-wine"
done
# Wine draws Times New Roman with this face (the replacement set below).
LIBERATION_SERIF=/usr/share/fonts/truetype/liberation/LiberationSerif-Regular.ttf
[ -f "$LIBERATION_SERIF" ] || fail "$LIBERATION_SERIF is missing: install the Debian package fonts-liberation"

step "making the folder $WINEPREFIX" mkdir -p "$WINEPREFIX"
step "starting a private X display (Xvfb)" start_private_display
trap stop_private_display EXIT

step "wineboot -i (creating the prefix)" timeout 180 wine wineboot -i
step "waiting for wineserver after wineboot" timeout 60 wineserver -w

reg() { step "setting $1 $3 in the registry" timeout 60 wine reg add "$@" /f; }
# Without a window manager Wine's managed mode stalls every DestroyWindow;
# unmanaged, it also draws captions and frames itself.
reg 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N
reg 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0
reg 'HKCU\Software\Wine\Fonts\Replacements' /v 'Times New Roman' /t REG_SZ /d 'Liberation Serif'
if [ -n "$DPI" ]; then reg 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$DPI"; fi
step "waiting for wineserver after the registry" timeout 60 wineserver -w

step "making the prefix's Fonts folder" mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
step "copying Wine's fonts into the prefix" cp -f "$WINE_FONTS"/* "$WINEPREFIX/drive_c/windows/Fonts/"

echo "$DUZID_PREFIX_VERSION${DPI:+ dpi=$DPI}" >"$WINEPREFIX/.duzid-ready"
