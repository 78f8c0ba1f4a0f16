#!/usr/bin/env bash
# Builds the Debian package of the tool in one command, on a fresh Debian 12 machine, and
# checks it with lintian. The package lands in build/package/.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
need_packages build-essential cmake qt6-base-dev qt6-serialport-dev qt6-charts-dev libqt6opengl6-dev help2man dpkg-dev file \
  lintian desktop-file-utils appstream

build=build/package
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr >/dev/null
cmake --build "$build" -j"$(nproc)" --target tql400 tq4c tql400-sim manpages docs
rm -f "$build"/tql400_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
deb=$(ls "$build"/tql400_*.deb)
# Errors fail the package; the warnings that remain are listed in the README.
lintian --fail-on error --tag-display-limit 0 "$deb"
echo "package: $deb"
