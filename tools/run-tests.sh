#!/usr/bin/env bash
# Installs what is missing, builds the normal and the sanitizer builds, and runs every test of the
# normal one and every test but the play-through (label playthrough) of the sanitizer one, then the
# threaded tests under the thread sanitizer, then each fuzz target for a few seconds, then checks the
# formatting. Exits non-zero on the first failure; a failing test is never run again. Each stage prints
# its time.
#
# The next build runs beside each test stage, at a lower priority: a test stage leaves cores idle
# while its longest tests finish, and the build takes them.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
jobs="$(nproc)"
export SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy
logs="$(mktemp -d)"
background=()
cleanup() {
    for pid in "${background[@]}"; do kill "$pid" 2> /dev/null || true; done
    rm -rf "$logs"
}
trap cleanup EXIT

started=$SECONDS
stage_started=$SECONDS
stage() {
    echo "[tests] ----- $1: $((SECONDS - stage_started)) s (all so far: $((SECONDS - started)) s) -----"
    stage_started=$SECONDS
}

build() {
    # The fuzz build runs the engine's texture tool, whose leaks at exit are no finding.
    [ "$1" = fuzz ] && export ASAN_OPTIONS=detect_leaks=0
    cmake --preset "$1" > /dev/null && cmake --build --preset "$1" -j "${jobs}"
}
# Starts a build in the background; finish_build waits for it and shows its output if it failed.
start_build() {
    nice -n 10 bash -c "$(declare -f build); jobs=${jobs}; build $1" > "$logs/$1" 2>&1 &
    background+=($!)
    eval "build_$1=$!"
}
finish_build() {
    local pid_name="build_$1"
    if ! wait "${!pid_name}"; then
        cat "$logs/$1" >&2
        echo "[tests] the $1 build failed" >&2
        exit 1
    fi
    stage "$1 build (the rest of it)"
}
run_tests() {
    echo "[tests] ===== $1 tests ====="
    ctest --preset "$1" --no-tests=ignore
    stage "$1 tests"
}

./tools/install-deps.sh
stage "packages"
echo "[tests] ===== default build ====="
build default
stage "default build"

start_build asan
run_tests default
finish_build asan

start_build tsan
start_build fuzz
run_tests asan
finish_build tsan
run_tests tsan
finish_build fuzz

# Every loader's fuzz target, briefly over the committed seeds (tools/fuzz.sh 600 for a longer run).
echo "[tests] ===== fuzz targets ====="
./tools/fuzz.sh 5
stage "fuzz"
./tools/check-format.sh
stage "format"
