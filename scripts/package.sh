#!/usr/bin/env bash
# Makes the release package dist/DU_ZID-<version>-win64.zip from a clean build
# of the program: the program, the encoder built from source (scripts/encoder.sh)
# as PLUG-IN\ffmpeg_III.exe with its licence texts, PLUG-IN\README.txt, the
# user's README.txt, the licence and the third-party notice; and beside it
# DU_ZID-<version>-encoder-source.zip: the Debian source packages, the build
# script and the patches that make that very encoder. Prints each zip's
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

encoder="$(bash "$ROOT/scripts/encoder.sh" | tail -1)"
[ -s "$encoder/ffmpeg_III.exe" ] || { echo "package: the encoder was not built" >&2; exit 1; }

zip="$dist/DU_ZID-$version-win64.zip"
mkdir -p "$dist"
python3 "$ROOT/scripts/zip_release.py" "$zip" "$SOURCE_DATE_EPOCH" \
    "binary:DU_ZID.exe=$build/program/DU_ZID.exe" \
    "binary:PLUG-IN/ffmpeg_III.exe=$encoder/ffmpeg_III.exe" \
    "text:PLUG-IN/README.txt=$ROOT/resources/PLUG-IN.txt" \
    "text:PLUG-IN/licences/FFmpeg-COPYING.LGPLv2.1.txt=$encoder/FFmpeg-COPYING.LGPLv2.1.txt" \
    "text:PLUG-IN/licences/LAME-COPYING.txt=$encoder/LAME-COPYING.txt" \
    "text:PLUG-IN/licences/LAME-README.txt=$encoder/LAME-README.txt" \
    "text:PLUG-IN/licences/zlib-LICENSE.txt=$encoder/zlib-LICENSE.txt" \
    "text:PLUG-IN/licences/MinGW-w64-runtime-copyright.txt=$encoder/MinGW-w64-runtime-copyright.txt" \
    "text:PLUG-IN/licences/build-info.txt=$encoder/build-info.txt" \
    "text:README.txt=$ROOT/package/README.txt" \
    "text:LICENSE=$ROOT/LICENSE" \
    "text:THIRD-PARTY-NOTICES.txt=$ROOT/THIRD-PARTY-NOTICES.txt"

# The encoder's corresponding source, as encoder.sh --sources rebuilds it.
source_zip="$dist/DU_ZID-$version-encoder-source.zip"
items=("text:README.txt=$ROOT/package/ENCODER-SOURCE.txt"
       "binary:scripts/encoder.sh=$ROOT/scripts/encoder.sh"
       "text:build-info.txt=$encoder/build-info.txt"
       "text:THIRD-PARTY-NOTICES.txt=$ROOT/THIRD-PARTY-NOTICES.txt")
for patch in "$ROOT"/patches/encoder/*.patch; do
    [ -f "$patch" ] && items+=("binary:patches/encoder/${patch##*/}=$patch")
done
# Each .dsc of the versions built, and the files it names.
dscs="$(sed -n 's/^\(lame\|zlib\|ffmpeg\) \([0-9]*:\)\?\(.*\)$/\1_\3.dsc/p' "$encoder/build-info.txt")"
for file in $(for dsc in $dscs; do
                  echo "$dsc"
                  sed -n '/^Files:/,/^[^ ]/s/^ [0-9a-f]\{32\} [0-9]* //p' "$ROOT/.cache/encoder-src/$dsc"
              done); do
    [ -f "$ROOT/.cache/encoder-src/$file" ] || { echo "package: $file is missing from .cache/encoder-src" >&2; exit 1; }
    items+=("stored:sources/$file=$ROOT/.cache/encoder-src/$file")
done
python3 "$ROOT/scripts/zip_release.py" "$source_zip" "$SOURCE_DATE_EPOCH" "${items[@]}"

for made in "$zip" "$source_zip"; do
    sum="$(sha256sum "$made" | cut -d' ' -f1)"
    echo "$sum  $(basename "$made")" >"$made.sha256"
    echo "$made"
    echo "SHA-256 $sum"
done
