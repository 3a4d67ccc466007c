#!/usr/bin/env bash
# Configures and builds the program and its tests; leaves a ready program
# folder in build/program with the real encoder in PLUG-IN.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
cd "$ROOT"
[ -f build/CMakeCache.txt ] || cmake --preset mingw >/dev/null
cmake --build --preset mingw
if [ -s .cache/encoder/ffmpeg.exe ]; then
    mkdir -p build/program/PLUG-IN
    cmp -s .cache/encoder/ffmpeg.exe build/program/PLUG-IN/ffmpeg_III.exe ||
        cp .cache/encoder/ffmpeg.exe build/program/PLUG-IN/ffmpeg_III.exe
fi
