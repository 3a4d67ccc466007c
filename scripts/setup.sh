#!/usr/bin/env bash
# Installs what building, running and testing need, adds the deb-src entries
# that the encoder's sources come from (scripts/encoder.sh builds it), and
# fetches a ready-made Windows FFmpeg into .cache/. Quick when everything is
# present. A step that fails ends it with a line naming the step.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"

fail() { echo "setup: $1" >&2; exit 1; }

PACKAGES=(cmake make g++-mingw-w64-x86-64-posix
          wine wine64 xvfb
          fonts-wine        # MS Sans Serif, Tahoma, Marlett: only recommended by wine
          fonts-liberation  # Liberation Serif, which Wine draws for Times New Roman
          doctest-dev imagemagick xdotool x11-utils
          e2fsprogs         # chattr, for the prepared-folder tests
          procps            # pgrep, for the benchmark
          ca-certificates   # npm's download of the encoder
          dpkg-dev          # dpkg-source, which unpacks the encoder's sources
          clang-14 libclang-rt-14-dev)  # the sanitizer build and libFuzzer
missing=()
for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
# Node's npm and Python may come from elsewhere than Debian: ask for the commands.
command -v npm >/dev/null || missing+=(npm)
command -v python3 >/dev/null || missing+=(python3)
if [ ${#missing[@]} -gt 0 ]; then
    [ "$(id -u)" = 0 ] || fail "missing ${missing[*]}; run this as root to install them"
    echo "setup: installing ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq || fail "apt-get update failed"
    apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null ||
        fail "apt-get install of ${missing[*]} failed"
fi

# What the build, the scripts and the tests call, by the package that brings it.
for pair in cmake:cmake make:make x86_64-w64-mingw32-g++-posix:g++-mingw-w64-x86-64-posix \
            x86_64-w64-mingw32-windres:binutils-mingw-w64-x86-64 wine:wine wineserver:wine \
            Xvfb:xvfb convert:imagemagick chattr:e2fsprogs pgrep:procps clang++-14:clang-14 \
            npm:npm python3:python3; do
    command -v "${pair%%:*}" >/dev/null || fail "${pair%%:*} is missing (Debian package ${pair#*:})"
done
[ -f /usr/share/wine/fonts/sserife.fon ] || fail "Wine's own fonts are missing (Debian package fonts-wine)"

# The encoder's sources: Debian's own source packages, through a deb-src entry
# beside each deb entry of this release, so that apt checks their signed hashes.
SRC_LIST=/etc/apt/sources.list.d/duzid-deb-src.sources
if ! apt-cache showsrc lame 2>/dev/null | grep -q '^Package: lame'; then
    [ "$(id -u)" = 0 ] || fail "no deb-src entry for the encoder's sources; run this as root to add one"
    codename="$(. /etc/os-release && echo "${VERSION_CODENAME:-}")"
    [ -n "$codename" ] || fail "no VERSION_CODENAME in /etc/os-release"
    python3 "$ROOT/scripts/deb_src.py" "$codename" >"$SRC_LIST.part" || fail "making the deb-src entry failed"
    [ -s "$SRC_LIST.part" ] || fail "no deb entry for $codename to add a deb-src entry beside"
    mv "$SRC_LIST.part" "$SRC_LIST"
    echo "setup: added $SRC_LIST"
    apt-get update -qq || fail "apt-get update with the deb-src entry failed"
fi
command -v dpkg-source >/dev/null || fail "dpkg-source is missing (Debian package dpkg-dev)"

# A ready-made 64-bit Windows ffmpeg build from the npm registry: in the tests
# a user's own FFmpeg in place of ours, and the benchmark's comparison.
ENCODER="$ROOT/.cache/encoder/ffmpeg.exe"
if [ ! -s "$ENCODER" ]; then
    echo "setup: fetching the Windows encoder"
    work="$(mktemp -d)"
    (cd "$work" && npm pack --silent @ffmpeg-installer/win32-x64@4.1.0 >/dev/null) ||
        fail "npm pack @ffmpeg-installer/win32-x64@4.1.0 failed (the encoder)"
    tar -xzf "$work"/ffmpeg-installer-win32-x64-*.tgz -C "$work" || fail "unpacking the encoder's package failed"
    [ -s "$work/package/ffmpeg.exe" ] || fail "the encoder's package holds no ffmpeg.exe"
    mkdir -p "$(dirname "$ENCODER")"
    cp "$work/package/ffmpeg.exe" "$ENCODER" || fail "copying the encoder into .cache/encoder failed"
    rm -rf "$work"
fi
