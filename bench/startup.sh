#!/usr/bin/env bash
# Start-up benchmark: time from process start until the main window is mapped on the X
# server, and resident memory one second later. Measures tql400 and, for comparison,
# Debian's cutecom (a small Qt serial terminal) the same way, on the same Xvfb.
#   bench/startup.sh [RUNS]
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
need_packages build-essential cmake qt6-base-dev qt6-serialport-dev qt6-translations-l10n \
  xvfb xauth x11-utils fonts-wqy-microhei cutecom
runs=${1:-5}
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/release -j"$(nproc)" --target tql400 >/dev/null

display=:97
Xvfb $display -screen 0 1280x1024x24 >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null' EXIT
export DISPLAY=$display
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done

# measure NAME TITLE-PATTERN COMMAND...: prints "ms rss_kib" for one start.
measure() {
  local title=$1; shift
  local work; work=$(mktemp -d)
  local start; start=$(date +%s%N)
  (cd "$work" && exec "$@" >/dev/null 2>&1) &
  local pid=$!
  local ms=""
  for _ in $(seq 1000); do
    if xwininfo -root -tree 2>/dev/null | grep -q "$title"; then
      ms=$(( ($(date +%s%N) - start) / 1000000 )); break
    fi
    sleep 0.005
  done
  sleep 1
  local rss; rss=$(awk '/VmRSS/ {print $2}' /proc/$pid/status)
  kill $pid; wait $pid 2>/dev/null || true
  rm -rf "$work"
  echo "$ms $rss"
}

report() {
  local name=$1; shift
  local total_ms=0 total_rss=0
  for _ in $(seq "$runs"); do
    read -r ms rss < <(measure "$@")
    total_ms=$((total_ms + ms)); total_rss=$((total_rss + rss))
  done
  printf '%-8s start to window shown: %4d ms   resident memory: %6d KiB   (mean of %d)\n' \
    "$name" $((total_ms / runs)) $((total_rss / runs)) "$runs"
}

report tql400 '"PALDOR"' "$PWD/build/release/tql400"
report cutecom '"CuteCom' cutecom
