#!/usr/bin/env bash
# Installs, builds and runs the whole test suite: first the pure logic natively
# under the sanitizers with a bounded fuzz run of the readers, then
# everything under Wine. The Wine ctest summary is the last thing it prints.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
bash "$ROOT/scripts/setup.sh"
bash "$ROOT/scripts/native-test.sh"
bash "$ROOT/scripts/build.sh"
# The encoder's second build, in a folder of its own, for
# encoder_reproducible_test: in the background and niced while the other tests
# run; the test waits for it (encoder.sh locks its cache) and compares.
if [ $# -eq 0 ]; then
    (nice -n 15 bash "$ROOT/scripts/encoder.sh" --cache "$ROOT/build/encoder-check" \
        </dev/null >"$ROOT/build/encoder-check.log" 2>&1 &)
fi

. "$ROOT/scripts/wine-env.sh"
# One display and one warm Wine server for the whole run.
start_wine_session "$ROOT/build/wineprefix"

cd "$ROOT"
ctest --preset mingw "$@"
