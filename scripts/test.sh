#!/usr/bin/env bash
# Builds the tool and runs every test three times: a normal build, one with the address and
# undefined-behaviour sanitizers, and one with the thread sanitizer. Installs the Debian
# packages it needs when they are missing.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
need_packages build-essential cmake qt6-base-dev qt6-tools-dev qt6-l10n-tools qt6-serialport-dev qt6-charts-dev libqt6opengl6-dev libqt6sql6-sqlite qt6-translations-l10n \
  help2man desktop-file-utils appstream shared-mime-info
need_comma_locale

jobs=$(nproc)
run_suite() {
  local dir=$1; shift
  cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=Debug -DTQL_WERROR=ON "$@" >/dev/null
  cmake --build "$dir" -j"$jobs"
  (cd "$dir" && ctest --output-on-failure -j"$jobs")
}

echo "== normal build =="
run_suite build/test
echo "== sanitizer build =="
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
run_suite build/asan -DCMAKE_CXX_FLAGS="-fsanitize=address,undefined -fno-omit-frame-pointer" \
  -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined"
echo "== thread sanitizer build =="
# Qt itself is not built for the sanitizer: what it does inside its own libraries is not
# judged, what this tool's code does on its threads is.
unset ASAN_OPTIONS UBSAN_OPTIONS
export TSAN_OPTIONS=halt_on_error=1:die_after_fork=0:ignore_noninstrumented_modules=1
run_suite build/tsan -DCMAKE_CXX_FLAGS="-fsanitize=thread -fno-omit-frame-pointer" \
  -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=thread"
echo "== fuzzing, 20 s a target =="
scripts/fuzz.sh 20
