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
need_packages build-essential cmake qt6-base-dev qt6-serialport-dev qt6-translations-l10n \
  fonts-wqy-microhei
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release >/dev/null
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
# four outputs on inputs 5..8.
session="$root/out/simulator-session"
mkdir -p "$session"
coproc SIM { exec "$root/build/release/tql400-sim" --loopback; }
sim_pid=$SIM_PID
trap 'kill "$sim_pid" 2>/dev/null || true' EXIT
read -r device <&"${SIM[0]}"
printf '%s\r\n' "$device" >"$session/DATA.TXT"
echo "Controller simulator on $device; press 連線 to connect."
cd "$session"
"$root/build/release/tql400"
