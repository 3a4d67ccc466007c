#!/usr/bin/env bash
# Makes the release package dist/DU_ZID-<version>-win64.zip from a clean build
# of the program: the program, PLUG-IN\README.txt, the user's README.txt, the
# licence and the third-party notice, without the encoder. Prints the zip's
# SHA-256 and writes it beside the zip. The same commit gives the same bytes.
# Usage: package.sh [--build-dir DIR] [--dist-dir DIR]
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
build="$ROOT/build-package"
dist="$ROOT/dist"
while [ $# -gt 0 ]; do
    case "$1" in
    --build-dir) build="$2"; shift 2 ;;
    --dist-dir) dist="$2"; shift 2 ;;
    *) echo "usage: $0 [--build-dir DIR] [--dist-dir DIR]" >&2; exit 2 ;;
    esac
done
for tool in cmake x86_64-w64-mingw32-g++-posix python3 sha256sum; do
    command -v "$tool" >/dev/null || { echo "package: $tool is missing; run scripts/setup.sh" >&2; exit 1; }
done

version="$(sed -n 's/^#define DUZID_VERSION_TEXT "\(.*\)"$/\1/p' "$ROOT/app/version.h")"
[ -n "$version" ] || { echo "package: no DUZID_VERSION_TEXT in app/version.h" >&2; exit 1; }

# The zip's file times: the commit's time, so that they say something and
# still do not change from one packaging of the same commit to the next.
if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
    SOURCE_DATE_EPOCH="$(git -C "$ROOT" log -1 --format=%ct 2>/dev/null || echo 1767225600)"
fi
if [ -n "$(git -C "$ROOT" status --porcelain --untracked-files=no 2>/dev/null)" ]; then
    echo "package: the working tree has uncommitted changes; the zip holds them" >&2
fi

rm -rf "$build"
log="$(mktemp)"
trap 'rm -f "$log"' EXIT
if ! { cmake -S "$ROOT" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64-x86_64.cmake" \
             -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF &&
       cmake --build "$build" --target DU_ZID -j2; } >"$log" 2>&1; then
    cat "$log" >&2
    echo "package: the build failed" >&2
    exit 1
fi

zip="$dist/DU_ZID-$version-win64.zip"
mkdir -p "$dist"
python3 "$ROOT/scripts/zip_release.py" "$zip" "$SOURCE_DATE_EPOCH" \
    "binary:DU_ZID.exe=$build/program/DU_ZID.exe" \
    "text:PLUG-IN/README.txt=$ROOT/resources/PLUG-IN.txt" \
    "text:README.txt=$ROOT/package/README.txt" \
    "text:LICENSE=$ROOT/LICENSE" \
    "text:THIRD-PARTY-NOTICES.txt=$ROOT/THIRD-PARTY-NOTICES.txt"
sum="$(sha256sum "$zip" | cut -d' ' -f1)"
echo "$sum  $(basename "$zip")" >"$zip.sha256"
echo "$zip"
echo "SHA-256 $sum"
