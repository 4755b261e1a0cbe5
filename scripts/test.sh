#!/usr/bin/env bash
# Installs what the tests need, builds every target and runs every test
# layer: native unit tests (ASan/UBSan), Wine end-to-end tests, a bounded
# run of each fuzzer and a short run of the benchmarks.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
FUZZ_SECONDS=${QLX_FUZZ_SECONDS:-20}

bash scripts/install-deps.sh
scripts/build.sh native win fuzz bench || { echo "build failed"; exit 1; }

passed=0; failed=0; failed_layers=()
layer() {  # name, command...
  local name=$1; shift
  echo; echo "==== $name"
  if "$@"; then passed=$((passed + 1)); else failed=$((failed + 1)); failed_layers+=("$name"); fi
}

layer "unit tests" ctest --test-dir build/native -L unit --output-on-failure -j "$(nproc)"
# A Wine suite that fails is run once more, and ctest's output shows it:
# a mouse click injected under Wine has been seen to go missing about once
# in a dozen runs, cause not yet found.
layer "wine end-to-end tests" env QLX_WIN_BUILD="$root/build/win" \
  ctest --test-dir build/native -L wine --output-on-failure -j 1 --repeat until-pass:2

run_fuzzers() {
  local ok=0 f name corpus work
  for f in build/fuzz/tests/fuzz/*_fuzz; do
    [ -x "$f" ] || continue
    name=$(basename "$f")
    corpus="$root/tests/fuzz/corpus/${name%_fuzz}"
    work=$(mktemp -d)
    [ -d "$corpus" ] && cp -r "$corpus/." "$work/"
    echo "-- $name (${FUZZ_SECONDS}s)"
    if ! "$f" -max_total_time="$FUZZ_SECONDS" -max_len=26000 -print_final_stats=0 "$work" >"$work.log" 2>&1; then
      tail -n 40 "$work.log"; ok=1
    else
      grep -E "^(#[0-9]+ *DONE|Done)" "$work.log" | tail -1
    fi
    rm -rf "$work" "$work.log"
  done
  return $ok
}
layer "fuzzers" run_fuzzers

run_benchmarks() {
  [ -x build/bench/bench/qlx_bench ] || { echo "no benchmarks built"; return 0; }
  build/bench/bench/qlx_bench --benchmark_min_time=0.05
}
layer "benchmarks" run_benchmarks

echo
echo "layers: $passed passed, $failed failed"
[ "$failed" -eq 0 ] || { echo "failed: ${failed_layers[*]}"; exit 1; }
