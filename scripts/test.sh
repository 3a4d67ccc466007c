#!/usr/bin/env bash
# Installs, builds and runs the whole test suite: first the pure logic natively
# under the sanitizers with a bounded fuzz run of the readers, then
# everything under Wine. The Wine ctest summary is the last thing it prints.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
bash "$ROOT/scripts/setup.sh"
bash "$ROOT/scripts/native-test.sh"
bash "$ROOT/scripts/build.sh"

. "$ROOT/scripts/wine-env.sh"
# One display and one warm Wine server for the whole run.
start_wine_session "$ROOT/build/wineprefix"

cd "$ROOT"
ctest --preset mingw "$@"
