#!/bin/bash
# Plays a program in a virtual display by holding keys at given times, and saves screenshots at given
# times; what a person at the keyboard would do, with holds long enough for a game to see them.
#
#   tools/play-and-shoot.sh [-d DISPLAY] [-s WxH] -- PROGRAM [ARGS...] -- EVENT...
#
# EVENT is KEY@SECONDS[+HOLD] (an xdotool key name held HOLD seconds, 0.25 by default) or
# shot:FILE.png@SECONDS. Times count from the program's start; the program ends after the last event.
set -euo pipefail

display=77
size=1280x720
while [[ $# -gt 0 && $1 != -- ]]; do
    case $1 in
        -d) display=$2; shift 2 ;;
        -s) size=$2; shift 2 ;;
        *) echo "unknown option $1" >&2; exit 2 ;;
    esac
done
[[ $# -gt 0 ]] && shift
program=()
while [[ $# -gt 0 && $1 != -- ]]; do
    program+=("$1")
    shift
done
[[ $# -gt 0 ]] && shift
if [[ ${#program[@]} -eq 0 || $# -eq 0 ]]; then
    echo "usage: $0 [-d DISPLAY] [-s WxH] -- PROGRAM [ARGS...] -- EVENT..." >&2
    exit 2
fi

# Not in the package list: only this tool needs them.
for tool in Xvfb xdotool import xdpyinfo; do
    if ! command -v "$tool" >/dev/null; then
        echo "$0: $tool is missing; apt-get install xvfb x11-utils xdotool imagemagick" >&2
        exit 2
    fi
done

Xvfb ":$display" -screen 0 "${size}x24" -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
helpers=()
cleanup() {
    for pid in "${helpers[@]}"; do kill "$pid" 2>/dev/null || true; done
    [[ -n ${game:-} ]] && kill "$game" 2>/dev/null || true
    kill "$xvfb" 2>/dev/null || true
}
trap cleanup EXIT
export DISPLAY=":$display"
for _ in $(seq 50); do
    xdpyinfo >/dev/null 2>&1 && break
    sleep 0.1
done

SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy} "${program[@]}" &
game=$!
# The pointer over the window's middle: without a window manager the keyboard follows it.
xdotool mousemove "$(( ${size%x*} / 2 ))" "$(( ${size#*x} / 2 ))"

for event in "$@"; do
    what=${event%@*}
    when=${event##*@}
    hold=0.25
    if [[ $when == *+* ]]; then
        hold=${when#*+}
        when=${when%+*}
    fi
    if [[ $what == shot:* ]]; then
        ( sleep "$when"; import -window root "${what#shot:}" ) &
    else
        ( sleep "$when"; xdotool keydown "$what"; sleep "$hold"; xdotool keyup "$what" ) &
    fi
    helpers+=($!)
done
# Every hold released and every picture written, then the program goes.
wait "${helpers[@]}"
helpers=()
