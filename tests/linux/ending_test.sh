#!/usr/bin/env bash
# ending_test.sh HACK TEST_WINDOW
# However the hack's run ends, it ends with status 0 within 5 seconds and
# leaves nothing running:
# - HACK --window-id draws at full speed (--quantity 100 --delay 0) into a
#   1280x1024 window of another program (TEST_WINDOW), which destroys it at a
#   random moment 0.2 to 1.5 seconds after the start; 30 times, back to back;
# - the same with --delay 10000000, whose wait the window's end cuts short;
# - SIGTERM comes at a random moment 0 to 100 ms into the run, 50 times:
#   while the hack opens the display and starts OpenGL, or draws.
set -euo pipefail
hack=$1 test_window=$2
source "$(dirname "$0")/hack_test_lib.sh"

start_xvfb 1280x1024

# random_seconds LOW_MS HIGH_MS: a random time between the two, in seconds.
random_seconds() {
    local ms=$(($1 + RANDOM % ($2 - $1 + 1)))
    printf '%d.%03d' $((ms / 1000)) $((ms % 1000))
}

# expect_clean_end PID WHAT: PID ends within 5 seconds, with status 0.
expect_clean_end() {
    wait_for_exit "$1" 5
    local status=0
    wait "$1" || status=$?
    [ "$status" -eq 0 ] || fail "$2: the hack ended with status $status"
}

# window_ends_under_the_hack LOW_MS HIGH_MS HACK_OPTION...
window_ends_under_the_hack() {
    local low=$1 high=$2 maker window hack_pid
    shift 2
    coproc window_maker { "$test_window" 1280x1024+0+0; }
    maker=$window_maker_PID
    read -r window <&"${window_maker[0]}" || fail "no window made"
    "$hack" --window-id "$window" "$@" &
    hack_pid=$!
    sleep "$(random_seconds "$low" "$high")"
    echo >&"${window_maker[1]}" # the window's end
    wait "$maker"
    expect_clean_end "$hack_pid" "window $window destroyed under '$*'"
}

for trial in $(seq 1 30); do
    window_ends_under_the_hack 200 1500 --quantity 100 --delay 0
done
echo "ok: 30 windows destroyed while the hack drew into them, each end clean"
window_ends_under_the_hack 500 1000 --delay 10000000
echo "ok: the end of the window cut a 10 s wait short"

# A run starts with the hack's own first instruction, after which the kernel
# shows SIGTERM caught: before that (exec, the loader, the sanitizer's
# runtime) the signal's default action holds for any program.
hack_path=$(readlink -f "$hack")
for trial in $(seq 1 50); do
    "$hack" --quantity 100 --delay 0 &
    hack_pid=$!
    until [ "$(readlink "/proc/$hack_pid/exe" 2>/dev/null)" = "$hack_path" ] &&
        grep -q '^SigCgt:.*[4-7c-f][0-9a-f]\{3\}$' "/proc/$hack_pid/status" 2>/dev/null; do
        kill -0 "$hack_pid" 2>/dev/null || fail "the hack ended before SIGTERM"
    done
    sleep "$(random_seconds 0 100)"
    kill -TERM "$hack_pid"
    expect_clean_end "$hack_pid" "SIGTERM in the run's first 100 ms"
done
echo "ok: SIGTERM in the first 100 ms of 50 runs, each end clean"
