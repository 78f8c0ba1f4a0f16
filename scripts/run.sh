#!/usr/bin/env bash
# Builds the tool and starts it in this directory (DATA.TXT, the port setting, lives here).
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
need_packages build-essential cmake qt6-base-dev qt6-serialport-dev qt6-translations-l10n \
  fonts-wqy-microhei
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/release -j"$(nproc)" --target tql400
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display: the tool is a desktop window and needs an X11 or Wayland session." >&2
  echo "Without one, try: xvfb-run -a scripts/run.sh (nothing will be visible)." >&2
  exit 1
fi
exec build/release/tql400
