#!/usr/bin/env bash
# Builds the libFuzzer targets in fuzz/ with clang (address and undefined-behaviour
# sanitizers) and runs each for SECONDS (default 60) from its seed corpus. Fails on any
# finding; the input that found it is left in build/fuzz/findings/.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
need_packages clang libclang-rt-14-dev cmake qt6-base-dev qt6-tools-dev qt6-l10n-tools qt6-serialport-dev qt6-charts-dev libqt6opengl6-dev libqt6sql6-sqlite

seconds=${1:-60}
build=build/fuzz
targets=(fuzz_load_program fuzz_load_save_load fuzz_translator fuzz_checks fuzz_replies
         fuzz_settings fuzz_sim_parser fuzz_measuredrun fuzz_shadowrun)
declare -A seeds=(
  [fuzz_load_program]=tests/files/damaged [fuzz_load_save_load]=tests/files/damaged
  [fuzz_translator]=tests/files/damaged [fuzz_checks]="tests/files/damaged fuzz/seeds/checks"
  [fuzz_replies]=fuzz/seeds/replies
  [fuzz_settings]=fuzz/seeds/settings [fuzz_sim_parser]=fuzz/seeds/sim_parser
  [fuzz_measuredrun]=fuzz/seeds/measuredrun [fuzz_shadowrun]=fuzz/seeds/shadowrun)

cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
  -DTQL_FUZZ=ON -DTQL_WERROR=ON >/dev/null
cmake --build "$build" -j"$(nproc)" --target "${targets[@]}"

rm -rf "$build/findings"
mkdir -p "$build/findings"
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
passed=0
failed=0
for t in "${targets[@]}"; do
  corpus="$build/corpus/$t"
  mkdir -p "$corpus"
  for dir in ${seeds[$t]}; do
    cp -n "$dir"/* "$corpus"/
  done
  if "$build/fuzz/$t" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
      -artifact_prefix="$build/findings/$t-" "$corpus" >"$build/$t.log" 2>&1; then
    echo "fuzz: $t: $(ls "$corpus" | wc -l) inputs in the corpus, no finding in ${seconds} s"
    passed=$((passed + 1))
  else
    echo "fuzz: $t: FINDING (log: $build/$t.log)"
    tail -n 40 "$build/$t.log"
    failed=$((failed + 1))
  fi
done
echo "fuzz: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
