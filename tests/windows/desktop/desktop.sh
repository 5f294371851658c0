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
wine10_desktop() {
    local work=$1
    shift
    export QF_WINE10_PREFIX=desktop-tests
    qf_ensure_wine10
    rm -rf "$work"
    mkdir -p "$work"
    qf_wine10 "$work" true # the Wine prefix, made once
    qf_start_xephyr "$@"
    export DISPLAY=$QF_XEPHYR_DISPLAY
    # shellcheck disable=SC2064 # the values of now
    trap "qf_wine10 '$work' wineserver -k >/dev/null 2>&1 || true
          kill $QF_XEPHYR_PID 2>/dev/null || true" EXIT
}
