# Sourced by the desktop tests: the saver's window and exit, and what a
# screenshot shows.
# shellcheck shell=bash

source "$(dirname "${BASH_SOURCE[0]}")/../../support/snow_check.sh"

# wait_for_window TITLE PID
# Prints the X window of a visible window named TITLE on $DISPLAY once there
# is one, within 60 seconds while the process PID runs; fails otherwise.
wait_for_window() {
    local window
    for _ in $(seq 1 300); do
        window=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1 || true)
        if [ -n "$window" ]; then
            echo "$window"
            return 0
        fi
        if ! kill -0 "$2" 2>/dev/null; then
            echo "no window \"$1\": the program ended" >&2
            return 1
        fi
        sleep 0.2
    done
    echo "no window \"$1\" within 60 seconds" >&2
    return 1
}

# wait_exit PID SECONDS
# Waits up to SECONDS for the background job PID to end; sets exit_code to its
# exit status, or to "running".
wait_exit() {
    exit_code=running
    for _ in $(seq 1 $(($2 * 10))); do
        if ! kill -0 "$1" 2>/dev/null; then
            exit_code=0
            wait "$1" || exit_code=$?
            return
        fi
        sleep 0.1
    done
}

# end_with_key WINDOW PID WORK_DIR
# A key press on the saver's WINDOW, as a user ends a run: fails unless the
# job PID ends within 15 seconds with exit code 0 and the run left no line in
# WORK_DIR/log.txt (the saver logs only graphics trouble).
end_with_key() {
    local status=0
    xdotool windowfocus --sync "$1" 2>/dev/null || true
    xdotool key space
    wait_exit "$2" 15
    echo "exit code after the key press: $exit_code"
    [ "$exit_code" = 0 ] || status=1
    if [ -s "$3/log.txt" ]; then
        echo "log.txt:"
        cat "$3/log.txt"
        status=1
    fi
    return $status
}

# wine10_desktop WORK_DIR SIZE...
# For a test under Wine 10 (scripts/lib/wine10.sh, sourced first): the chroot
# and the tests' Wine prefix, a fresh WORK_DIR, and an Xephyr desktop of one
# monitor per SIZE as $DISPLAY; Wine and Xephyr end when the test does.
# With QF_D3D9=dxvk the prefix is "dxvk", whose system32 has DXVK's d3d9.dll
# (Direct3D 9 over Vulkan), and the runs load it and log to WORK_DIR; a run
# gets Wine's own Direct3D 9 back with WINEDLLOVERRIDES=d3d9=b.
wine10_desktop() {
    local work=$1
    shift
    export QF_WINE10_PREFIX=desktop-tests
    [ "${QF_D3D9:-}" != dxvk ] || QF_WINE10_PREFIX=dxvk
    qf_ensure_wine10
    rm -rf "$work"
    mkdir -p "$work"
    qf_wine10 "$work" true # the Wine prefix, made once
    if [ "${QF_D3D9:-}" = dxvk ]; then
        cp "$QF_WINE10_ROOT/usr/lib/dxvk/wine64/d3d9.dll.so" \
            "$QF_WINE10_ROOT/root/prefix-dxvk/drive_c/windows/system32/d3d9.dll"
        export WINEDLLOVERRIDES="d3d9=n;mscoree,mshtml=" DXVK_LOG_PATH=$work DXVK_LOG_LEVEL=info
    fi
    qf_start_xephyr "$@"
    export DISPLAY=$QF_XEPHYR_DISPLAY
    # shellcheck disable=SC2064 # the values of now
    trap "qf_wine10 '$work' wineserver -k >/dev/null 2>&1 || true
          kill $QF_XEPHYR_PID 2>/dev/null || true" EXIT
}

# dxvk_quiet WORK_DIR
# DXVK is strict about the API and says so in its log: fails, showing them,
# when the DXVK logs in WORK_DIR have a warning or an error, or there is none.
dxvk_quiet() {
    local logs=("$1"/*_d3d9.log)
    if [ ! -f "${logs[0]}" ]; then
        echo "DXVK wrote no log in $1"
        return 1
    fi
    if grep -E '^(warn|err):' "${logs[@]}"; then
        echo "DXVK warned (${logs[*]})"
        return 1
    fi
}
