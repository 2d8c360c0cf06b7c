#!/usr/bin/env bash
# Runs every test: the platform-free rules natively under AddressSanitizer and UBSan, the program
# and its GUI under Wine (64-bit), and the 32-bit build (compiled and linked; it cannot run here).
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/deps.sh

jobs=$(nproc)

echo "== Native rules (sanitizers)"
cmake -S . -B build/native -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTOLLIVAR_WERROR=ON
cmake --build build/native -j "$jobs"
(cd build/native && ctest --output-on-failure)

echo "== Fuzz targets (clang, libFuzzer, sanitizers; a few seconds each)"
./scripts/fuzz.sh

echo "== Windows x86-64 under Wine"
cmake -S . -B build/win64 -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake \
    -DCMAKE_BUILD_TYPE=Release -DTOLLIVAR_WERROR=ON
cmake --build build/win64 -j "$jobs"
./scripts/check-pe.sh build/win64/src/tollguard.exe "PE32+ executable (GUI) x86-64" x86_64-w64-mingw32-objdump
./scripts/check-pe.sh build/win64/src/updater/KVRUpdate.exe "PE32+ executable (GUI) x86-64" x86_64-w64-mingw32-objdump
(cd build/win64 && ctest --output-on-failure)

echo "== Windows x86 (build only)"
cmake -S . -B build/win32 -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake \
    -DCMAKE_BUILD_TYPE=Release -DTOLLIVAR_WERROR=ON
cmake --build build/win32 -j "$jobs"
./scripts/check-pe.sh build/win32/src/tollguard.exe "PE32 executable (GUI) Intel 80386" i686-w64-mingw32-objdump
./scripts/check-pe.sh build/win32/src/updater/KVRUpdate.exe "PE32 executable (GUI) Intel 80386" i686-w64-mingw32-objdump

echo "== All tests passed. Installer: build/win64/installer/tollivar-setup.exe. Screenshots: build/win64/screenshots/"
