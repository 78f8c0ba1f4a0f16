#!/usr/bin/env bash
# Renders the application icon's PNG sizes from data/tql400.svg (run after changing it).
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
need_packages librsvg2-bin
for size in 48 256; do
  rsvg-convert -w "$size" -h "$size" data/tql400.svg -o "data/tql400-$size.png"
done
