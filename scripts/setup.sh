#!/usr/bin/env bash
# Installs what building, running and testing need, and fetches the real
# Windows encoder into .cache/. Quick when everything is present.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"

PACKAGES=(cmake make g++-mingw-w64-x86-64-posix wine wine64 xvfb fonts-liberation
          doctest-dev imagemagick xdotool x11-utils
          clang-14 libclang-rt-14-dev)  # the sanitizer build and libFuzzer
missing=()
for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
# Node's npm and Python may come from elsewhere than Debian: ask for the commands.
command -v npm >/dev/null || missing+=(npm)
command -v python3 >/dev/null || missing+=(python3)
if [ ${#missing[@]} -gt 0 ]; then
    echo "setup: installing ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# The real encoder: a 64-bit Windows ffmpeg build from the npm registry.
ENCODER="$ROOT/.cache/encoder/ffmpeg.exe"
if [ ! -s "$ENCODER" ]; then
    echo "setup: fetching the Windows encoder"
    work="$(mktemp -d)"
    (cd "$work" && npm pack --silent @ffmpeg-installer/win32-x64@4.1.0 >/dev/null && tar -xzf ffmpeg-installer-win32-x64-*.tgz)
    mkdir -p "$(dirname "$ENCODER")"
    cp "$work/package/ffmpeg.exe" "$ENCODER"
    rm -rf "$work"
fi
