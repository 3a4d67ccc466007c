#!/usr/bin/env bash
# The encoder built from the same sources in another folder (a cache of its
# own, so another build folder and process) has the same bytes as the one the
# build put in place: no folder name and no time of the build reaches it.
# Usage: encoder_reproducible_test.sh BUILT_EXE CHECK_CACHE
set -u
built="$1"; cache="$2"
[ -s "$built" ] || { echo "no encoder at $built: run scripts/build.sh"; exit 1; }
again="$(nice -n 10 bash "$(dirname "$0")/../scripts/encoder.sh" --cache "$cache" | tail -1)" ||
    { echo "the second build failed"; exit 1; }
if ! cmp "$built" "$again/ffmpeg_III.exe"; then
    echo "the encoder built in $cache differs from $built"
    exit 1
fi
echo "the same $(stat -c %s "$built") bytes, built in two folders"
