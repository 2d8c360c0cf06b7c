#!/usr/bin/env bash
# Builds Tollivar, lays out a demo install folder and a simulated infected USB stick (E:), and starts
# tollguard.exe under Wine: on the current display, or on a private Xvfb with a screenshot saved.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/deps.sh

cmake -S . -B build/win64 -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake -DCMAKE_BUILD_TYPE=Release
cmake --build build/win64 --target tollguard KVRUpdate tollivar_help -j "$(nproc)"

bench=$PWD/build/demo
shots=$bench/screenshots
if [ -n "${DISPLAY:-}" ]; then export TOLLIVAR_DISPLAY=$DISPLAY; fi
./bench/wine-bench.sh start "$bench"
trap './bench/wine-bench.sh stop "$bench" >/dev/null' EXIT

# The demo install folder C:\Program Files\Tollivar, laid out as the installer does: the shipped
# files of data/, the program, the update program and the help file.
install="$bench/prefix/drive_c/Program Files/Tollivar"
rm -rf "$install"
mkdir -p "$install/quarantine"
cp -r data/. "$install/"
cp build/win64/src/tollguard.exe build/win64/src/updater/KVRUpdate.exe "build/win64/help/Tollivar Help.chm" "$install/"

# The simulated stick on the removable drive E:, with its worm files hidden as a worm leaves them.
stick=$bench/drives/e
rm -rf "$stick"
cp -r demo/stick "$stick"
if command -v setfattr >/dev/null; then
    setfattr -n user.DOSATTRIB -v '"0x2"' "$stick/autorun.inf" "$stick/RECYCLER/autorun.exe" || true
fi

eval "$(./bench/wine-bench.sh env "$bench")"
echo "Starting C:\\Program Files\\Tollivar\\tollguard.exe (display $DISPLAY); stick E: = $stick"
/usr/lib/wine/wine64 'C:\Program Files\Tollivar\tollguard.exe' </dev/null >"$bench/logs/tollguard.log" 2>&1 &
app=$!

if [ -n "${TOLLIVAR_DISPLAY:-}" ]; then
    echo "Tollivar runs in its window and the tray; choose \"Shutdown Security\" from the tray menu to end the demo."
    wait "$app" || true
else
    sleep 6
    mkdir -p "$shots"
    /usr/bin/import -display "$DISPLAY" -window root "$shots/tollivar.png"
    echo "No display here: Tollivar ran on Xvfb $DISPLAY. Screenshot: $shots/tollivar.png"
    kill "$app" 2>/dev/null || true
fi
