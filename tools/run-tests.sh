#!/usr/bin/env bash
# Installs what is missing, builds the normal and the sanitizer builds, and runs every test in both,
# then the threaded tests under the thread sanitizer, then each fuzz target for a few seconds. Exits
# non-zero on the first failure.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
./tools/install-deps.sh
jobs="$(nproc)"
export SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy
for preset in default asan tsan; do
    echo "[tests] ===== ${preset} build ====="
    cmake --preset "${preset}" > /dev/null
    cmake --build --preset "${preset}" -j "${jobs}"
    # Under the address sanitizer, LeakSanitizer's thread tracer now and then crashes at the exit of a
    # test that drew through Mesa (its worker threads are still ending); such a test gets one more run.
    retry=()
    [ "${preset}" = asan ] && retry=(--repeat until-pass:2)
    ctest --preset "${preset}" --no-tests=ignore "${retry[@]}"
done
# Every loader's fuzz target, briefly over the committed seeds (tools/fuzz.sh 600 for a longer run).
echo "[tests] ===== fuzz targets ====="
./tools/fuzz.sh 5
./tools/check-format.sh
