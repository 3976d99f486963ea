#!/usr/bin/env bash
# Installs what is missing, builds the game and runs it from the build tree. With no display it runs
# under a virtual X server of its own.
#
# Stopping the script (SIGTERM, Ctrl-C, `timeout`) asks the game to quit through its own quit path
# and waits for it; the virtual X server and its temporary folder are removed on every way out.
# The build's output is shown only when the build fails.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
root="$PWD"

./tools/install-deps.sh > /dev/null
buildLog="$(mktemp)"
trap 'rm -f "$buildLog"' EXIT
# A configured tree reconfigures itself when its lists change; only a fresh one needs the preset.
if [ ! -f build/default/build.ninja ] && ! cmake --preset default > "$buildLog" 2>&1; then
    cat "$buildLog" >&2
    exit 1
fi
if ! cmake --build --preset default -j "$(nproc)" --target Game > "$buildLog" 2>&1; then
    cat "$buildLog" >&2
    exit 1
fi
rm -f "$buildLog"

gamePid=""
xvfbPid=""
xvfbDir=""

cleanUp()
{
    if [ -n "$gamePid" ] && kill -0 "$gamePid" 2> /dev/null; then
        kill -TERM "$gamePid" 2> /dev/null || true
        wait "$gamePid" 2> /dev/null || true
    fi
    if [ -n "$xvfbPid" ]; then
        kill -TERM "$xvfbPid" 2> /dev/null || true
        wait "$xvfbPid" 2> /dev/null || true
    fi
    if [ -n "$xvfbDir" ]; then
        rm -rf "$xvfbDir"
    fi
}
trap cleanUp EXIT

# A stop request goes to the game, which quits as its window's close button would; the script then
# waits for it below and leaves with its status.
stopRequested=0
requestStop()
{
    stopRequested=1
    if [ -n "$gamePid" ]; then
        kill -TERM "$gamePid" 2> /dev/null || true
    fi
}
trap requestStop TERM INT HUP

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${SDL_VIDEODRIVER:-}" ]; then
    xvfbDir="$(mktemp -d)"
    # Xvfb picks a free display and writes its number once it accepts clients. It runs in a session of
    # its own, so a Ctrl-C on the terminal reaches the game but not the display it draws on.
    mkfifo "$xvfbDir/display"
    setsid Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp 3> "$xvfbDir/display" \
        > "$xvfbDir/xvfb.log" 2>&1 &
    xvfbPid=$!
    display=""
    read -r -t 10 display < "$xvfbDir/display" || true
    if [ -z "$display" ]; then
        echo "[run-game] the virtual X server did not start:" >&2
        cat "$xvfbDir/xvfb.log" >&2
        exit 1
    fi
    export DISPLAY=":$display"
fi

cd "$root/build/default/bin"
./Game &
gamePid=$!
# wait returns early when a trapped signal arrives; keep waiting until the game itself has ended,
# then ask once more for its own status.
while kill -0 "$gamePid" 2> /dev/null; do
    wait "$gamePid" || true
done
status=0
wait "$gamePid" || status=$?
gamePid=""
if [ "$stopRequested" -eq 1 ] && [ "$status" -gt 128 ]; then
    echo "[run-game] the game did not quit by itself (status $status)" >&2
fi
exit "$status"
