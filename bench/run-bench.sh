#!/usr/bin/env bash
# Runs a benchmark program on its own Wine bench and stops the bench again.
#   run-bench.sh BENCH_DIR PROGRAM.exe
set -euo pipefail
here=$(dirname "$0")
bench=$1 program=$2
mkdir -p "$bench/drives/e" "$bench/drives/g"
"$here/wine-bench.sh" start "$bench" >/dev/null
trap '"$here/wine-bench.sh" stop "$bench" >/dev/null' EXIT
"$here/wine-bench.sh" run "$bench" "$program"
