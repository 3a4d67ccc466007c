#!/usr/bin/env bash
# The release zip as a user gets it: packaged twice, from clean builds in two
# folders, with the same bytes (and so the encoder's source zip); their
# contents; unpacked into a folder named with spaces and Cyrillic letters,
# where CHECK_EXE converts a WAV with the zip's own encoder and reads the
# program's file properties.
# Usage: package_test.sh WINE_RUN PREFIX CHECK_EXE SCRATCH
set -u
wine_run="$1"; prefix="$2"; check_exe="$3"; dir="$4/package-$$"
name="DU_ZID-1.01-win64.zip"
rm -rf "$dir"; mkdir -p "$dir"
trap 'rm -rf "$dir"' EXIT
fail() { echo "$*"; exit 1; }

for run in one two; do
    bash "$(dirname "$0")/../scripts/package.sh" --build-dir "$dir/build-$run" --dist-dir "$dir/dist-$run" \
        >"$dir/$run.log" 2>&1 || { cat "$dir/$run.log"; fail "package.sh failed"; }
done
zip="$dir/dist-one/$name"
source_zip="$dir/dist-one/${name%-win64.zip}-encoder-source.zip"
for made in "$zip" "$source_zip"; do
    cmp "$made" "$dir/dist-two/${made##*/}" || fail "two packagings of the same sources differ"
    (cd "$dir/dist-one" && sha256sum --check --quiet "${made##*/}.sha256") || fail "the SHA-256 beside ${made##*/} is wrong"
done

unpacked="$dir/Мой конвертер 1.01"
python3 - "$zip" "$unpacked" "$source_zip" <<'PY' || fail "the zips' contents are wrong"
import re, sys, zipfile
archive = zipfile.ZipFile(sys.argv[1])
licences = ["PLUG-IN/licences/" + name for name in ["FFmpeg-COPYING.LGPLv2.1.txt", "LAME-COPYING.txt",
            "LAME-README.txt", "zlib-LICENSE.txt", "MinGW-w64-runtime-copyright.txt", "build-info.txt"]]
texts = ["PLUG-IN/README.txt"] + licences + ["README.txt", "LICENSE", "THIRD-PARTY-NOTICES.txt"]
expected = ["DU_ZID.exe", "PLUG-IN/", "PLUG-IN/ffmpeg_III.exe", "PLUG-IN/README.txt", "PLUG-IN/licences/"] + texts[1:]
if archive.namelist() != expected:
    sys.exit("the zip holds %s" % archive.namelist())
# The source archive: Debian's packages of both sources whole, and the script that builds them.
sources = zipfile.ZipFile(sys.argv[3]).namelist()
for pattern in [r"scripts/encoder\.sh", r"sources/lame_3\.100-.*\.dsc", r"sources/lame_3\.100\.orig\.tar\.gz",
                r"sources/lame_3\.100-.*\.debian\.tar\.xz", r"sources/zlib_1\..*\.dsc", r"sources/ffmpeg_5\.1\..*\.dsc",
                r"sources/ffmpeg_5\.1\..*\.orig\.tar\.xz", r"sources/ffmpeg_5\.1\..*\.debian\.tar\.xz"]:
    if not any(re.fullmatch(pattern, name) for name in sources):
        sys.exit("the source zip holds no %s: %s" % (pattern, sources))
for text in texts:
    data = archive.read(text)
    if not data or data.count(b"\n") != data.count(b"\r\n"):
        sys.exit(text + " has line ends other than CR LF")
archive.extractall(sys.argv[2])
PY

DUZID_PACKAGE_DIR="Z:$(echo "$unpacked" | tr / '\\')" bash "$wine_run" --prefix "$prefix" --timeout 200 "$check_exe" ||
    fail "the unpacked program's checks failed"
