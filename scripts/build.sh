#!/usr/bin/env bash
# Configures and builds the program and its tests; builds the encoder when it
# is missing or out of date (scripts/encoder.sh, cached in .cache/) and leaves
# a ready program folder in build/program with it in PLUG-IN. build/encoder
# holds the encoder with its licence texts, for the tests.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
cd "$ROOT"
encoder="$(nice -n 10 bash scripts/encoder.sh | tail -1)"
[ -s "$encoder/ffmpeg_III.exe" ] || { echo "build: no encoder built" >&2; exit 1; }
[ -f build/CMakeCache.txt ] || cmake --preset mingw >/dev/null
cmake --build --preset mingw
mkdir -p build/encoder build/program/PLUG-IN
for file in "$encoder"/*; do
    cmp -s "$file" "build/encoder/${file##*/}" || cp "$file" build/encoder/
done
cmp -s build/encoder/ffmpeg_III.exe build/program/PLUG-IN/ffmpeg_III.exe ||
    cp build/encoder/ffmpeg_III.exe build/program/PLUG-IN/ffmpeg_III.exe
