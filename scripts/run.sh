#!/usr/bin/env bash
# Builds the tool and starts it.
#   scripts/run.sh             with the controller simulator: no machine needed
#   scripts/run.sh --machine   with the machine on the port that DATA.TXT in the current
#                              directory names (choose it under 設定 > COM_PORT)
#   scripts/run.sh --cell N    a cell: N simulators (1..8), the tool with a console for each
set -euo pipefail
here=$PWD
cd "$(dirname "$0")/.."
root=$PWD
source scripts/deps.sh
need_packages build-essential cmake qt6-base-dev qt6-tools-dev qt6-l10n-tools qt6-serialport-dev qt6-charts-dev libqt6opengl6-dev libqt6sql6-sqlite qt6-translations-l10n \
  fonts-wqy-microhei
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DTQL_WERROR=ON >/dev/null
cmake --build build/release -j"$(nproc)" --target tql400 tql400-sim tq4c

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display: the tool is a desktop window and needs an X11 or Wayland session." >&2
  echo "Log in to a desktop (or connect with ssh -X) and run this command again." >&2
  exit 1
fi

if [ "${1:-}" = "--machine" ]; then
  cd "$here"
  exec "$root/build/release/tql400"
fi
cell=1
if [ "${1:-}" = "--cell" ]; then
  cell=${2:-}
  if ! [[ "$cell" =~ ^[1-8]$ ]]; then
    echo "--cell needs a number of controllers from 1 to 8" >&2
    exit 2
  fi
fi

# Each simulator serves a pseudo-terminal; the tool runs in its own folder whose DATA.TXT
# names the first one's device, so the operator's own DATA.TXT is left alone. --loopback
# shows the four outputs on inputs 5..8. The first simulator keeps this terminal as its
# standard input, so the operator can type "in 3 1", "pos 120" or "state" here while the
# tool runs; the others read a pipe this script holds. The run ends when the tool's window
# closes.
session="$root/out/simulator-session"
mkdir -p "$session"
workdir=$(mktemp -d)
pids=()
trap 'kill "${pids[@]}" 2>/dev/null || true; rm -rf "$workdir"' EXIT
exec 5<&0
mkfifo "$workdir/quiet"
exec 6<>"$workdir/quiet"
devices=()
for k in $(seq 1 "$cell"); do
  mkfifo "$workdir/out$k"
  if [ "$k" = 1 ]; then
    "$root/build/release/tql400-sim" --loopback <&5 >"$workdir/out$k" &
  else
    "$root/build/release/tql400-sim" --loopback <&6 >"$workdir/out$k" &
  fi
  pids+=($!)
  exec {out}<"$workdir/out$k"
  read -r device <&"$out"
  cat <&"$out" &
  devices+=("$device")
done
printf '%s\r\n' "${devices[0]}" >"$session/DATA.TXT"
cd "$session"
if [ "$cell" = 1 ]; then
  echo "Controller simulator on ${devices[0]}; press 連線 to connect."
  echo "Type here to play the machine: in K 0|1 (input K off/on), pos X (slide moved by hand), state."
  "$root/build/release/tql400"
else
  ports=()
  for k in $(seq 1 "$cell"); do
    ports+=(--port "控制器 $k=${devices[$((k - 1))]}")
  done
  echo "A cell of $cell controller simulators: ${devices[*]}; press 連線 in each console."
  echo "Type here to play the first machine: in K 0|1, pos X, state."
  "$root/build/release/tql400" "${ports[@]}"
fi
