#!/usr/bin/env bash
# The release zip as a user gets it: packaged twice, from clean builds in two
# folders, with the same bytes; its contents; unpacked into a folder named with
# spaces and Cyrillic letters, where CHECK_EXE converts a WAV with it and reads
# its file properties.
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
cmp "$zip" "$dir/dist-two/$name" || fail "two packagings of the same sources differ"
(cd "$dir/dist-one" && sha256sum --check --quiet "$name.sha256") || fail "the SHA-256 beside the zip is wrong"

unpacked="$dir/Мой конвертер 1.01"
python3 - "$zip" "$unpacked" <<'PY' || fail "the zip's contents are wrong"
import sys, zipfile
archive = zipfile.ZipFile(sys.argv[1])
texts = ["PLUG-IN/README.txt", "README.txt", "LICENSE", "THIRD-PARTY-NOTICES.txt"]
if archive.namelist() != ["DU_ZID.exe", "PLUG-IN/"] + texts:
    sys.exit("the zip holds %s" % archive.namelist())
for text in texts:
    data = archive.read(text)
    if not data or data.count(b"\n") != data.count(b"\r\n"):
        sys.exit(text + " has line ends other than CR LF")
archive.extractall(sys.argv[2])
PY

DUZID_PACKAGE_DIR="Z:$(echo "$unpacked" | tr / '\\')" bash "$wine_run" --prefix "$prefix" --timeout 200 "$check_exe" ||
    fail "the unpacked program's checks failed"
