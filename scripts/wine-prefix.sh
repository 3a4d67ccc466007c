#!/usr/bin/env bash
# Creates a Wine prefix fit for running and testing the program headless.
set -u
. "$(dirname "$0")/wine-env.sh"
export WINEPREFIX="$1"
mkdir -p "$WINEPREFIX"
start_private_display
trap stop_private_display EXIT

timeout 180 wine wineboot -i
timeout 60 wineserver -w

reg() { timeout 60 wine reg add "$@" /f; }
# Without a window manager Wine's managed mode stalls every DestroyWindow;
# unmanaged, it also draws captions and frames itself.
reg 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N
reg 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0
reg 'HKCU\Software\Wine\Fonts\Replacements' /v 'Times New Roman' /t REG_SZ /d 'Liberation Serif'
timeout 60 wineserver -w

# Debian's Wine does not load its own fonts from the system folder.
mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
cp -f /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/"

touch "$WINEPREFIX/.duzid-ready"
