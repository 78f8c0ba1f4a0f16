#!/usr/bin/env bash
# Builds the tool and starts it.
#   scripts/run.sh             with the controller simulator: no machine needed
#   scripts/run.sh --machine   with the machine on the port that DATA.TXT in the current
#                              directory names (choose it under 設定 > COM_PORT)
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

# The simulator serves a pseudo-terminal; the tool runs in its own folder whose DATA.TXT
# names that device, so the operator's own DATA.TXT is left alone. --loopback shows the
# four outputs on inputs 5..8. The simulator keeps this terminal as its standard input, so
# the operator can type "in 3 1", "pos 120" or "state" here while the tool runs; the run
# ends when the tool's window closes.
session="$root/out/simulator-session"
mkdir -p "$session"
fifo=$(mktemp -u)
mkfifo "$fifo"
exec 5<&0
"$root/build/release/tql400-sim" --loopback <&5 >"$fifo" &
sim_pid=$!
trap 'kill "$sim_pid" 2>/dev/null || true; rm -f "$fifo"' EXIT
exec 4<"$fifo"
read -r device <&4
cat <&4 &
printf '%s\r\n' "$device" >"$session/DATA.TXT"
echo "Controller simulator on $device; press 連線 to connect."
echo "Type here to play the machine: in K 0|1 (input K off/on), pos X (slide moved by hand), state."
cd "$session"
"$root/build/release/tql400"
