#!/usr/bin/env bash
# Installs whichever packages of tools/debian-packages.txt are missing (Debian 12, as root).
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
mapfile -t wanted < <(grep -vE '^\s*(#|$)' "$here/debian-packages.txt")
# One query for every package: one process per package made a second run take seconds.
mapfile -t installed < <(dpkg-query -W -f='${Package} ${Status}\n' "${wanted[@]}" 2> /dev/null |
    awk '$NF == "installed" && $(NF-1) == "ok" { sub(/:.*/, "", $1); print $1 }')
missing=()
for package in "${wanted[@]}"; do
    [[ " ${installed[*]} " == *" $package "* ]] || missing+=("$package")
done
if [ ${#missing[@]} -eq 0 ]; then
    echo "[deps] all ${#wanted[@]} packages present"
    exit 0
fi
echo "[deps] installing: ${missing[*]}"
sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -q
"${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
