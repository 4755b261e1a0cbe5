#!/usr/bin/env bash
# Runs every fuzzer (or the ones named) for a given time each, starting from
# its seed corpus in tests/fuzz/corpus/<name without _fuzz>, and prints for each one the
# executions, executions per second and coverage (edges and features) that
# libFuzzer reports. Exits non-zero when a fuzzer finds a crash (its input
# is kept in build/fuzz/crashes/<name>/) or ends below the coverage its source
# states in a line "// Coverage floor: N edges": a fuzzer that reaches
# nothing (no seeds found, a reader it never gets into) does not pass.
# Usage: scripts/fuzz.sh [seconds-per-target] [fuzzer-name...]   (default 60, all)
# Set QLX_FUZZ_NO_BUILD=1 to use the fuzzers as built.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
seconds=${1:-60}
shift || true
[ "${QLX_FUZZ_NO_BUILD:-}" = 1 ] || scripts/build.sh fuzz >/dev/null || { echo "fuzz build failed"; exit 1; }

names=("$@")
if [ ${#names[@]} -eq 0 ]; then
  for f in build/fuzz/tests/fuzz/*_fuzz; do [ -x "$f" ] && names+=("$(basename "$f")"); done
fi

status=0
printf '%-22s %8s %14s %10s %8s %6s %9s  %s\n' fuzzer seconds executions "exec/s" edges floor features result
for name in "${names[@]}"; do
  bin="build/fuzz/tests/fuzz/$name"
  [ -x "$bin" ] || { echo "$name: not built"; status=1; continue; }
  work=$(mktemp -d)
  crashes="$root/build/fuzz/crashes/$name"
  mkdir -p "$crashes"
  corpus="tests/fuzz/corpus/${name%_fuzz}"
  [ -d "$corpus" ] && cp -r "$corpus/." "$work/"
  log="$work.log"
  "$bin" -max_total_time="$seconds" -max_len=26000 -print_final_stats=1 \
    -artifact_prefix="$crashes/" "$work" >"$log" 2>&1
  rc=$?
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
  last=$(grep -E '^#[0-9]+' "$log" | grep -E 'cov: ' | tail -1)
  edges=$(sed -n 's/.* cov: \([0-9]*\).*/\1/p' <<<"$last")
  features=$(sed -n 's/.* ft: \([0-9]*\).*/\1/p' <<<"$last")
  floor=$(sed -n 's|^// Coverage floor: \([0-9]*\) edges.*|\1|p' "tests/fuzz/$name.cpp" 2>/dev/null | head -1)
  result=ok
  if [ $rc -ne 0 ]; then
    result="FAILED (exit $rc)"
    status=1
    tail -n 40 "$log"
  elif [ -z "$floor" ]; then
    result="FAILED (tests/fuzz/$name.cpp states no coverage floor)"
    status=1
  elif [ "${edges:-0}" -lt "$floor" ]; then
    result="FAILED (${edges:-0} edges, under its floor of $floor)"
    status=1
  fi
  printf '%-22s %8s %14s %10s %8s %6s %9s  %s\n' "$name" "$seconds" "${execs:-?}" "${rate:-?}" \
    "${edges:-?}" "${floor:-?}" "${features:-?}" "$result"
  rm -rf "$work" "$log"
done
exit $status
