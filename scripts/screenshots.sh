#!/usr/bin/env bash
# Builds the tool and renders its windows under Xvfb with a CJK font into out/screenshots/.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
need_packages build-essential cmake qt6-base-dev qt6-tools-dev qt6-l10n-tools qt6-serialport-dev qt6-charts-dev libqt6opengl6-dev libqt6sql6-sqlite qt6-translations-l10n \
  xvfb xauth fonts-wqy-microhei twm xfonts-base xfonts-75dpi
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DTQL_WERROR=ON >/dev/null
cmake --build build --target screenshots tql400-sim -j"$(nproc)"
mkdir -p out/screenshots
coproc SIM { exec build/tql400-sim --loopback --baud 9600; }
sim_pid=$SIM_PID
# The operator's settings and run history of this machine are neither read nor written: the
# pictures show a first start, each language from its own fresh folders.
home=$(mktemp -d)
trap 'kill "$sim_pid" 2>/dev/null || true; rm -rf "$home"' EXIT
read -r device <&"${SIM[0]}"
# Two more for the cell's pictures; they end with this script.
cell=()
for k in 2 3; do
  mkfifo "$home/sim$k"
  build/tql400-sim --loopback --baud 9600 <"$home/sim$k" >"$home/sim$k.out" 2>/dev/null &
  exec {keep}>"$home/sim$k"
  until [ -s "$home/sim$k.out" ]; do sleep 0.1; done
  cell+=("$(head -n 1 "$home/sim$k.out")")
done
# twm draws the window frames and titles, and places every window where it asks to be.
printf 'UsePPosition "on"\nRandomPlacement\nNoGrabServer\n' >build/twmrc
shots() {
  local fresh
  fresh=$(mktemp -d -p "$home")
  XDG_CONFIG_HOME="$fresh/config" XDG_DATA_HOME="$fresh/data" xvfb-run -a -s "-screen 0 ${SCREEN:-1920x1080}x24" \
    bash -c 'LC_ALL=C twm -f build/twmrc >/dev/null 2>&1 & sleep 1; exec "$0" "$@"' \
    build/screenshots "$@"
}
# The Chinese windows as the operator knows them, then the English ones, then the Chinese
# ones at 150 % and with a 13 pt font.
LANGUAGE= LC_ALL= LC_MESSAGES= LANG=C.UTF-8 shots out/screenshots "$device" "${cell[@]}"
LANGUAGE= LC_ALL= LC_MESSAGES= LANG=en_US.UTF-8 shots out/screenshots/english "$device" "${cell[@]}"
LANGUAGE= LC_ALL= LC_MESSAGES= LANG=C.UTF-8 QT_SCALE_FACTOR=1.5 shots out/screenshots/scaled-150
LANGUAGE= LC_ALL= LC_MESSAGES= LANG=C.UTF-8 shots --font-size 13 out/screenshots/font-13pt
# English at 150 % on a 1366×768 laptop screen: the window fits, its client area scrolls.
LANGUAGE= LC_ALL= LC_MESSAGES= LANG=en_US.UTF-8 QT_SCALE_FACTOR=1.5 SCREEN=1366x768 \
  shots out/screenshots/english-150-laptop
find out/screenshots -name '*.png' | sort
