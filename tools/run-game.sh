#!/usr/bin/env bash
# Installs what is missing, builds the game and runs it from the build tree. With no display it runs
# under a virtual X server.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
./tools/install-deps.sh
cmake --preset default > /dev/null
cmake --build --preset default -j "$(nproc)" --target Game
cd build/default/bin
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ] || [ -n "${SDL_VIDEODRIVER:-}" ]; then
    exec ./Game
fi
exec xvfb-run -a -s "-screen 0 1920x1080x24" ./Game
