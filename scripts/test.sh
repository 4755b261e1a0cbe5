#!/usr/bin/env bash
# Installs what the tests need, builds every target and the release files
# and runs every test layer: native unit tests (ASan/UBSan), Wine end-to-end
# tests, a bounded run of each fuzzer and a short run of the benchmarks.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
FUZZ_SECONDS=${QLX_FUZZ_SECONDS:-20}

bash scripts/install-deps.sh
scripts/build.sh native win fuzz bench || { echo "build failed"; exit 1; }
# The release files, which the Wine suite test_release installs and runs.
scripts/package.sh --no-build || { echo "packaging failed"; exit 1; }

passed=0; failed=0; failed_layers=()
layer() {  # name, command...
  local name=$1; shift
  echo; echo "==== $name"
  if "$@"; then passed=$((passed + 1)); else failed=$((failed + 1)); failed_layers+=("$name"); fi
}

layer "unit tests" ctest --test-dir build/native -L unit --output-on-failure -j "$(nproc)"
layer "wine end-to-end tests" env QLX_WIN_BUILD="$root/build/win" \
  ctest --test-dir build/native -L wine --output-on-failure -j 1

# Each fuzzer for a short bounded time from its seed corpus (scripts/fuzz.sh
# runs them longer and prints executions and coverage).
run_fuzzers() { QLX_FUZZ_NO_BUILD=1 scripts/fuzz.sh "$FUZZ_SECONDS"; }
layer "fuzzers" run_fuzzers

run_benchmarks() {
  [ -x build/bench/bench/qlx_bench ] || { echo "no benchmarks built"; return 0; }
  build/bench/bench/qlx_bench --benchmark_min_time=0.05
}
layer "benchmarks" run_benchmarks

echo
echo "layers: $passed passed, $failed failed"
[ "$failed" -eq 0 ] || { echo "failed: ${failed_layers[*]}"; exit 1; }
