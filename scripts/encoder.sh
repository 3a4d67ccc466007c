#!/usr/bin/env bash
# Builds the encoder, PLUG-IN\ffmpeg_III.exe: FFmpeg with the LAME MP3 encoder
# (and zlib, for the PNG decoder), from Debian's own source packages,
# cross-built with MinGW-w64 into one static exe that imports system DLLs
# only. LGPL parts only, and only what converting WAV files into MP3 needs.
#
# The result is cached in .cache/encoder-build/<key>/ (the key: the .dsc files,
# which name the sources' versions and hashes, the configure lines, the
# toolchain's versions and the patches), so a second run builds nothing. It holds
# ffmpeg_III.exe and the licence texts that go with it. The same sources give
# the same bytes in any folder: no paths and no link times reach the exe.
#
# Usage: encoder.sh [--sources DIR] [--cache DIR]
#   --sources DIR  take the .dsc files and tarballs from DIR instead of fetching
#                  them with apt-get source (as in the encoder's source zip)
#   --cache DIR    build into and look up DIR instead of .cache/encoder-build
# Prints the folder that holds the result as its last line.
set -euo pipefail
# All of it is read before it runs: a checkout while it builds changes nothing.
main() {
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
sources="$ROOT/.cache/encoder-src"
fetch=1
cache="$ROOT/.cache/encoder-build"
while [ $# -gt 0 ]; do
    case "$1" in
    --sources) sources="$(cd "$2" && pwd)"; fetch=0; shift 2 ;;
    --cache) mkdir -p "$2"; cache="$(cd "$2" && pwd)"; shift 2 ;;
    *) echo "usage: $0 [--sources DIR] [--cache DIR]" >&2; exit 2 ;;
    esac
done
fail() { echo "encoder: $1" >&2; exit 1; }

HOST=x86_64-w64-mingw32
CC="$HOST-gcc-posix"
for tool in "$CC" "$HOST-ar" "$HOST-strip" "$HOST-objdump" dpkg-source make sha256sum; do
    command -v "$tool" >/dev/null || fail "$tool is missing; run scripts/setup.sh"
done

# The sources: whatever apt offers for this release, as long as it is the
# FFmpeg and LAME line the configure lines below are written for. zlib comes
# from the release itself: its security update changes only minizip, which
# is not built, and is not on every mirror.
if [ "$fetch" = 1 ]; then
    mkdir -p "$sources"
    codename="$(. /etc/os-release && echo "${VERSION_CODENAME:-}")"
    wanted=(lame "zlib/$codename" ffmpeg)
    # Asked in an empty folder: apt names no file that the current folder holds.
    uris="$(cd / && apt-get source --print-uris -qq "${wanted[@]}" 2>/dev/null)" ||
        fail "apt knows no sources of ${wanted[*]}; run scripts/setup.sh (it adds the deb-src entry)"
    for name in $(printf '%s\n' "$uris" | awk '{print $2}'); do
        if [ ! -s "$sources/$name" ]; then
            echo "encoder: fetching Debian's source packages ${wanted[*]}" >&2
            (cd "$sources" && apt-get source --download-only -qq "${wanted[@]}") >&2 ||
                fail "apt-get source ${wanted[*]} failed"
            break
        fi
    done
    dsc_of() { echo "$sources/$(printf '%s\n' "$uris" | awk -v p="^$1_.*\\.dsc$" '$2 ~ p {print $2}')"; }
else
    dsc_of() { ls "$sources/$1"_*.dsc 2>/dev/null | tail -1; }
fi
lame_dsc="$(dsc_of lame)"; zlib_dsc="$(dsc_of zlib)"; ffmpeg_dsc="$(dsc_of ffmpeg)"
[ -f "$lame_dsc" ] && [ -f "$zlib_dsc" ] && [ -f "$ffmpeg_dsc" ] || fail "no lame, zlib and ffmpeg .dsc files in $sources"
lame_version="$(sed -n 's/^Version: //p' "$lame_dsc")"
zlib_version="$(sed -n 's/^Version: //p' "$zlib_dsc")"
ffmpeg_version="$(sed -n 's/^Version: //p' "$ffmpeg_dsc")"
case "$lame_version" in 3.100-*) ;; *) fail "lame $lame_version is not 3.100" ;; esac
case "$zlib_version" in *:1.*) ;; *) fail "zlib $zlib_version is not 1.x" ;; esac
case "$ffmpeg_version" in *:5.1.*) ;; *) fail "ffmpeg $ffmpeg_version is not 5.1.x" ;; esac

# LAME's configure adds -O3 -ffast-math unless CFLAGS is given; the prefix
# map keeps the build folder out of its assertions' file names.
LAME_FLAGS=(--host=$HOST --prefix=/usr --enable-static --disable-shared
            --disable-frontend --disable-decoder --disable-gtktest)
LAME_CFLAGS="-O2"
# zlib's configure refuses MinGW: its library is compiled file by file.
ZLIB_FILES=(adler32 compress crc32 deflate infback inffast inflate inftrees trees uncompr zutil)
ZLIB_CFLAGS="-O2"
# FFmpeg's configure line is printed in every log banner, so it holds no
# folder: LAME and zlib are reached by paths relative to FFmpeg's source folder.
# The PCM encoder lets the encoder decode what it wrote (the tests check
# lengths so); the picture decoders tell the size of a cover picture, without
# which it cannot be copied into an MP3 file.
FFMPEG_FLAGS=(--enable-cross-compile --target-os=mingw32 --arch=x86_64
    --cross-prefix=$HOST- --cc="$CC" --pkg-config=false
    --disable-autodetect --enable-w32threads --disable-x86asm
    --disable-everything --disable-doc --disable-debug --disable-network
    --disable-ffplay --disable-ffprobe --disable-avdevice --disable-swscale
    --disable-postproc
    --enable-libmp3lame --enable-encoder=libmp3lame
    --enable-encoder=pcm_s16le --enable-zlib
    --enable-protocol=file,pipe
    --enable-demuxer=wav,w64,mp3
    --enable-muxer=wav,mp3
    --enable-decoder=pcm_u8,pcm_s16le,pcm_s24le,pcm_s32le,pcm_s64le,pcm_f32le,pcm_f64le
    --enable-decoder=pcm_alaw,pcm_mulaw,adpcm_ima_wav,adpcm_ms,gsm_ms
    --enable-decoder=mp1,mp1float,mp2,mp2float,mp3,mp3float
    --enable-decoder=adpcm_g726,adpcm_g726le,adpcm_g722,adpcm_yamaha,adpcm_ima_dk3,adpcm_ima_dk4,adpcm_ct
    --enable-decoder=truespeech,g723_1,g729,wmav1,wmav2,aac,ac3,flac
    --enable-decoder=png,mjpeg,bmp,gif
    --enable-parser=gsm,mpegaudio,aac,ac3,flac,g723_1,g729
    --enable-filter=abuffer,abuffersink,aformat,anull,aresample
    --enable-bsf=null
    --extra-cflags=-I../deps/include
    --extra-ldflags="-L../deps/lib -static -Wl,--no-insert-timestamp")
patches=()
[ -d "$ROOT/patches/encoder" ] && mapfile -t patches < <(ls "$ROOT"/patches/encoder/*.patch 2>/dev/null | sort)

key="$( {
    cat "$lame_dsc" "$zlib_dsc" "$ffmpeg_dsc"
    printf '%s\n' "${LAME_FLAGS[@]}" "$LAME_CFLAGS" "${ZLIB_FILES[@]}" "$ZLIB_CFLAGS" "${FFMPEG_FLAGS[@]}"
    "$CC" --version | head -1
    # The toolchain's packages: the runtime and winpthreads linked in come with them.
    dpkg-query -W -f='${Package} ${Version}\n' gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 \
        mingw-w64-x86-64-dev 2>/dev/null || true
    for p in "${patches[@]}"; do basename "$p"; cat "$p"; done
} | sha256sum | cut -c1-16)"
out="$cache/$key"
mkdir -p "$cache"
# One build of a cache at a time; a second caller waits and finds it built.
exec 9>"$cache/.lock"
flock 9
if [ -s "$out/ffmpeg_III.exe" ]; then
    echo "$out"
    return 0
fi

# What a killed build left behind (some 500 MB each): none runs while we hold the lock.
rm -rf "$cache"/work-*
work="$cache/work-$key-$$"
log="$cache/build-$key.log"
mkdir -p "$work"
trap 'rm -rf "$work"' EXIT
trap 'exit 1' INT TERM HUP
echo "encoder: building ffmpeg_III.exe from lame $lame_version, zlib $zlib_version and ffmpeg $ffmpeg_version (log: $log)" >&2
step() {
    local what="$1"; shift
    if ! "$@" >>"$log" 2>&1; then
        tail -n 30 "$log" >&2
        fail "$what failed (whole log: $log)"
    fi
}
: >"$log"
# Nothing of the build machine reaches the exe: the time is the FFmpeg
# package's own (the strip step writes the time otherwise), and no git
# repository around the build folder is asked for a version.
export GIT_CEILING_DIRECTORIES="$work" LC_ALL=C TZ=UTC
export MAKEFLAGS=-j"$(nproc)"
cd "$work"
step "unpacking lame" dpkg-source -x "$lame_dsc" lame
step "unpacking zlib" dpkg-source -x "$zlib_dsc" zlib
step "unpacking ffmpeg" dpkg-source -x "$ffmpeg_dsc" ffmpeg
SOURCE_DATE_EPOCH="$(date -d "$(sed -n '0,/^ -- /s/^ -- .*>  //p' ffmpeg/debian/changelog)" +%s)"
export SOURCE_DATE_EPOCH
for p in "${patches[@]}"; do
    dir=ffmpeg
    case "$(basename "$p")" in lame-*) dir=lame ;; zlib-*) dir=zlib ;; esac
    step "applying $(basename "$p")" patch -d "$dir" -p1 -i "$p"
done

cd "$work/lame"
step "configuring lame" ./configure "${LAME_FLAGS[@]}" CC="$CC" \
    CFLAGS="$LAME_CFLAGS -ffile-prefix-map=$work=/build"
step "building lame" make
step "installing lame" make install DESTDIR="$work/lame-root"
mkdir -p "$work/deps/include" "$work/deps/lib"
cp -r "$work/lame-root/usr/include/lame" "$work/deps/include/"
cp "$work/lame-root/usr/lib/libmp3lame.a" "$work/deps/lib/"

cd "$work/zlib"
for f in "${ZLIB_FILES[@]}"; do
    step "compiling zlib's $f.c" "$CC" $ZLIB_CFLAGS -ffile-prefix-map="$work=/build" -c "$f.c" -o "$f.o"
done
step "archiving zlib" "$HOST-ar" rcD libz.a "${ZLIB_FILES[@]/%/.o}"
cp zlib.h zconf.h "$work/deps/include/"
cp libz.a "$work/deps/lib/"

cd "$work/ffmpeg"
step "configuring ffmpeg" ./configure "${FFMPEG_FLAGS[@]}"
step "building ffmpeg" make ffmpeg.exe

imports="$("$HOST-objdump" -p ffmpeg.exe | sed -n 's/^\tDLL Name: //p' | tr 'A-Z' 'a-z' | sort -u | tr '\n' ' ')"
for dll in $imports; do
    case "$dll" in
    kernel32.dll|msvcrt.dll|shell32.dll|bcrypt.dll|user32.dll|advapi32.dll|ole32.dll) ;;
    *) fail "ffmpeg.exe imports $dll, which is not a system DLL" ;;
    esac
done

# The licence texts that go with the exe.
mkdir -p "$work/out"
cp ffmpeg.exe "$work/out/ffmpeg_III.exe"
cp COPYING.LGPLv2.1 "$work/out/FFmpeg-COPYING.LGPLv2.1.txt"
cp "$work/lame/COPYING" "$work/out/LAME-COPYING.txt"
cp "$work/lame/README" "$work/out/LAME-README.txt"
cp "$work/zlib/LICENSE" "$work/out/zlib-LICENSE.txt"
cp /usr/share/doc/mingw-w64-x86-64-dev/copyright "$work/out/MinGW-w64-runtime-copyright.txt"
{
    echo "lame $lame_version"
    echo "zlib $zlib_version"
    echo "ffmpeg $ffmpeg_version"
    echo "lame: ./configure ${LAME_FLAGS[*]} CC=$CC CFLAGS=\"$LAME_CFLAGS -ffile-prefix-map=<build folder>=/build\""
    echo "zlib: $CC $ZLIB_CFLAGS -ffile-prefix-map=<build folder>=/build -c on ${ZLIB_FILES[*]/%/.c}; $HOST-ar rcD libz.a"
    sed -n 's/^#define FFMPEG_CONFIGURATION "\(.*\)"$/ffmpeg: .\/configure \1/p' config.h
    echo "imports: $imports"
} >"$work/out/build-info.txt"
rm -rf "$out"
mv "$work/out" "$out"
echo "encoder: built $out/ffmpeg_III.exe ($(stat -c %s "$out/ffmpeg_III.exe") bytes) in $SECONDS s" >&2
echo "$out"
}
main "$@"; exit
