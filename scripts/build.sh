#!/usr/bin/env bash
# Builds one or more targets: native (unit tests, ASan/UBSan), win (QUILX.EXE,
# QLXHOOK.DLL and the Wine test programs), fuzz (clang libFuzzer), bench.
# Usage: scripts/build.sh [native] [win] [fuzz] [bench]   (default: native win)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
kinds=("$@"); [ ${#kinds[@]} -gt 0 ] || kinds=(native win)
jobs=$(nproc)
for kind in "${kinds[@]}"; do
  dir="$root/build/$kind"
  case "$kind" in
    native) cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Debug >/dev/null ;;
    win)    cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release \
              -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" >/dev/null ;;
    fuzz)   cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQLX_FUZZ=ON \
              -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null ;;
    bench)  cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQLX_BENCH=ON >/dev/null ;;
    *) echo "unknown build kind: $kind" >&2; exit 2 ;;
  esac
  echo "== building $kind"
  cmake --build "$dir" -j "$jobs"
done
