#!/usr/bin/env bash
# Installs what is missing, builds the normal and the sanitizer builds, and runs every test in both,
# then the threaded tests under the thread sanitizer, then each fuzz target for a few seconds. Exits
# non-zero on the first failure; a failing test is never run again. Each stage prints its time.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
started=$SECONDS
stage_started=$SECONDS
stage() {
    echo "[tests] ----- $1: $((SECONDS - stage_started)) s (all so far: $((SECONDS - started)) s) -----"
    stage_started=$SECONDS
}
./tools/install-deps.sh
stage "packages"
jobs="$(nproc)"
export SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy
for preset in default asan tsan; do
    echo "[tests] ===== ${preset} build ====="
    cmake --preset "${preset}" > /dev/null
    cmake --build --preset "${preset}" -j "${jobs}"
    stage "${preset} build"
    ctest --preset "${preset}" --no-tests=ignore
    stage "${preset} tests"
done
# Every loader's fuzz target, briefly over the committed seeds (tools/fuzz.sh 600 for a longer run).
echo "[tests] ===== fuzz targets ====="
./tools/fuzz.sh 5
stage "fuzz"
./tools/check-format.sh
stage "format"
