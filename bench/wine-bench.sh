#!/usr/bin/env bash
# The Wine bench: a private prefix, simulated drives, a display and a persistent Wine server,
# all inside one folder of the build tree.
#
#   wine-bench.sh start BENCH_DIR      create the prefix once, start a display and the server, warm it
#   wine-bench.sh stop BENCH_DIR       stop what start started (by PID)
#   wine-bench.sh run BENCH_DIR PROG [ARGS...]   run a Windows program on the bench
#   wine-bench.sh env BENCH_DIR        print the environment for running Wine by hand
#
# Drives: E: is a removable drive mapped to BENCH_DIR/drives/e; the stick is "inserted" while that
# folder exists and "pulled" when it is removed (the letter stays listed as removable). F: is a fixed
# drive mapped to BENCH_DIR/drives/f. G: is a second removable drive (BENCH_DIR/drives/g), pulled
# unless a test inserts it. C: is the prefix's drive_c.
# The display is $TOLLIVAR_DISPLAY when set, otherwise a private Xvfb.
set -euo pipefail

WINE=/usr/lib/wine/wine64
SERVER=/usr/lib/wine/wineserver64
# Bump when the prefix's configuration below changes: an older prefix is then made again.
PREFIX_LAYOUT=4

usage() { sed -n '2,14p' "$0" >&2; exit 2; }
[ $# -ge 2 ] || usage
command=$1
bench=$(realpath -m "$2")
shift 2

run_dir=$bench/run
log_dir=$bench/logs
export WINEPREFIX=$bench/prefix
export HOME=$bench/home
export XDG_CACHE_HOME=$HOME/.cache XDG_CONFIG_HOME=$HOME/.config XDG_DATA_HOME=$HOME/.local/share
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml="
export TOLLIVAR_BENCH=$bench
# Debian's Wine keeps its server socket under TMPDIR: keep that in the bench too.
export TMPDIR=$bench/tmp

pid_alive() { [ -n "${1:-}" ] && kill -0 "$1" 2>/dev/null; }
read_pid() { [ -f "$run_dir/$1" ] && cat "$run_dir/$1" || true; }

server_socket_exists() {
    local ids socket
    ids=$(stat -c '%d %i' "$WINEPREFIX")
    # shellcheck disable=SC2086
    for socket in "$TMPDIR"/wine-*/"$(printf 'server-%x-%x' $ids)"/socket \
        "/tmp/.wine-$(id -u)/$(printf 'server-%x-%x' $ids)/socket"; do
        [ -S "$socket" ] && return 0
    done
    return 1
}

use_display() {
    if [ -f "$run_dir/display" ]; then
        DISPLAY=$(cat "$run_dir/display")
        export DISPLAY
    fi
}

start_display() {
    if [ -n "${TOLLIVAR_DISPLAY:-}" ]; then
        echo "$TOLLIVAR_DISPLAY" > "$run_dir/display"
        return
    fi
    local fd_file=$run_dir/xvfb.displayfd
    rm -f "$fd_file"
    setsid Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset \
        3>"$fd_file" </dev/null >>"$log_dir/xvfb.log" 2>&1 &
    echo $! > "$run_dir/xvfb.pid"
    for _ in $(seq 100); do
        [ -s "$fd_file" ] && break
        sleep 0.05
    done
    [ -s "$fd_file" ] || { echo "wine-bench: Xvfb did not start (see $log_dir/xvfb.log)" >&2; exit 1; }
    echo ":$(tr -d '\n' < "$fd_file")" > "$run_dir/display"
}

start_server() {
    setsid "$SERVER" -f -p </dev/null >>"$log_dir/wineserver.log" 2>&1 &
    echo $! > "$run_dir/server.pid"
    for _ in $(seq 200); do
        server_socket_exists && return 0
        sleep 0.05
    done
    echo "wine-bench: the Wine server did not start (see $log_dir/wineserver.log)" >&2
    exit 1
}

stop_server() {
    local pid
    pid=$(read_pid server.pid)
    if pid_alive "$pid"; then
        "$SERVER" -k >/dev/null 2>&1 || true
        for _ in $(seq 100); do pid_alive "$pid" || break; sleep 0.05; done
        pid_alive "$pid" && kill -9 "$pid" 2>/dev/null || true
    fi
    rm -f "$run_dir/server.pid"
}

stop_display() {
    local pid
    pid=$(read_pid xvfb.pid)
    if pid_alive "$pid"; then
        kill "$pid" 2>/dev/null || true
        for _ in $(seq 50); do pid_alive "$pid" || break; sleep 0.05; done
        pid_alive "$pid" && kill -9 "$pid" 2>/dev/null || true
    fi
    rm -f "$run_dir/xvfb.pid" "$run_dir/display" "$run_dir/xvfb.displayfd"
}

# Replaces a link to the real home with a folder of our own.
make_real_folder() {
    local path=$1
    if [ -L "$path" ]; then rm -f "$path"; fi
    mkdir -p "$path"
}

configure_prefix() {
    local users=$WINEPREFIX/drive_c/users
    local user
    for user in "$users"/*; do
        [ -d "$user" ] || continue
        for folder in Desktop Documents Downloads Music Pictures Videos Templates; do
            make_real_folder "$user/$folder"
        done
    done
    rm -f "$WINEPREFIX/dosdevices/z:"
    ln -sfn "$bench/drives/e" "$WINEPREFIX/dosdevices/e:"
    ln -sfn "$bench/drives/f" "$WINEPREFIX/dosdevices/f:"
    ln -sfn "$bench/drives/g" "$WINEPREFIX/dosdevices/g:"
    local reg=$bench/bench-settings.reg
    printf 'REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]\r\n"Managed"="N"\r\n"Decorated"="Y"\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\Wine\\Drives]\r\n"e:"="floppy"\r\n"f:"="hd"\r\n"g:"="floppy"\r\n\r\n' > "$reg"
    cp "$reg" "$WINEPREFIX/drive_c/bench-settings.reg"
    "$WINE" regedit /S 'C:\bench-settings.reg' </dev/null >>"$log_dir/prefix.log" 2>&1
}

create_prefix() {
    local stamp=$WINEPREFIX/.tollivar-layout
    if [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$PREFIX_LAYOUT" ]; then return; fi
    echo "wine-bench: creating the Wine prefix in $WINEPREFIX (once)"
    rm -rf "$WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    start_server
    "$WINE" wineboot -i </dev/null >>"$log_dir/prefix.log" 2>&1
    configure_prefix
    stop_server
    echo "$PREFIX_LAYOUT" > "$stamp"
}

cmd_start() {
    cmd_stop >/dev/null 2>&1 || true
    mkdir -p "$run_dir" "$log_dir" "$HOME" "$TMPDIR" "$bench/drives/f"
    start_display
    use_display
    create_prefix
    # H: and I: are added through the mount manager while the server runs; they start undefined.
    rm -f "$WINEPREFIX/dosdevices/h:" "$WINEPREFIX/dosdevices/i:"
    # Drive types are read when the server starts, so the server starts after the prefix is ready.
    start_server
    "$WINE" wineboot </dev/null >/dev/null 2>&1
    echo "wine-bench: ready (display $DISPLAY, prefix $WINEPREFIX)"
}

cmd_stop() {
    stop_server
    stop_display
    echo "wine-bench: stopped"
}

cmd_run() {
    [ $# -ge 1 ] || usage
    use_display
    exec "$WINE" "$@"
}

cmd_env() {
    use_display
    echo "export WINEPREFIX='$WINEPREFIX' HOME='$HOME' DISPLAY='${DISPLAY:-}' WINEDEBUG='$WINEDEBUG'" \
        "WINEDLLOVERRIDES='$WINEDLLOVERRIDES' TMPDIR='$TMPDIR' TOLLIVAR_BENCH='$bench'"
}

case "$command" in
    start) cmd_start ;;
    stop) cmd_stop ;;
    run) cmd_run "$@" ;;
    env) cmd_env ;;
    *) usage ;;
esac
