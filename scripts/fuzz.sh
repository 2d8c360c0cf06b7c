#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, AddressSanitizer, UBSan) and runs each one.
#   ./scripts/fuzz.sh          each target for 5 s (what the test command runs)
#   ./scripts/fuzz.sh 300      each target for five minutes
#   ./scripts/fuzz.sh 300 autorun_inf   one target
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-5}
only=${2:-}
if ! command -v clang++ >/dev/null; then
    echo "== Fuzz targets skipped: clang++ is not installed"
    exit 0
fi
cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTOLLIVAR_WERROR=ON -DTOLLIVAR_FUZZ=ON \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DTOLLIVAR_FUZZ_SECONDS="$seconds" >/dev/null
cmake --build build/fuzz -j "$(nproc)"
# A longer run prints every target's final figures (executions, coverage).
verbose=()
[ "$seconds" -gt 5 ] && verbose=(-V)
if [ -n "$only" ]; then
    (cd build/fuzz && ctest --output-on-failure "${verbose[@]}" -R "^fuzz\.${only}$")
else
    (cd build/fuzz && ctest --output-on-failure "${verbose[@]}" -R '^fuzz\.')
fi
