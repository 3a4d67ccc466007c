#!/usr/bin/env bash
# Rewrites the artwork's files in resources/ (the .bmp, .ico and .cur files)
# from the program's own drawing, app/artwork.cpp: builds the host tool
# draw_art natively (native/ into build-native/) and runs it. Change the
# drawing, run this, and commit both; native-test.sh checks that they agree.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
cd "$ROOT"
BUILD=build-native
[ -f "$BUILD/CMakeCache.txt" ] || cmake -S native -B "$BUILD" >/dev/null
cmake --build "$BUILD" --target draw_art -j2 >/dev/null
"$BUILD/draw_art" resources
echo "draw-art: wrote $(cd resources && ls *.bmp *.ico *.cur | tr '\n' ' ')"
