# Sourced by the tests of the quillfrost hack: a display of their own, what a
# screenshot shows, and how the hack ends.
# shellcheck shell=bash

source "$(dirname "${BASH_SOURCE[0]}")/../support/snow_check.sh"
source "$(dirname "${BASH_SOURCE[0]}")/../support/checks.sh"

# The native build's AddressSanitizer reports a few bytes that Mesa's driver
# keeps at exit as leaks; memory errors still end the hack with a failure.
export ASAN_OPTIONS=detect_leaks=0

# start_xvfb WxH
# Starts an Xvfb on the first free display from :180 on, open to every local
# user (-ac), exports DISPLAY and stops it when the test ends. It never resets
# (-noreset): a server whose last client leaves resets, and drops a client
# that connects meanwhile, as a test that starts program after program does.
start_xvfb() {
    local n
    for n in $(seq 180 260); do
        [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
        Xvfb ":$n" -screen 0 "$1x24" -ac -noreset -nolisten tcp >/dev/null 2>&1 &
        QF_TEST_XVFB=$!
        for _ in $(seq 1 50); do
            xdpyinfo -display ":$n" >/dev/null 2>&1 && break
            kill -0 "$QF_TEST_XVFB" 2>/dev/null || break
            sleep 0.1
        done
        if xdpyinfo -display ":$n" >/dev/null 2>&1; then
            export DISPLAY=":$n"
            trap 'kill "$QF_TEST_XVFB" 2>/dev/null || true' EXIT
            return 0
        fi
        kill "$QF_TEST_XVFB" 2>/dev/null || true
    done
    fail "no free display for Xvfb"
}

# wait_for_drawing GEOMETRY PID
# Waits, for up to 60 seconds while the process PID runs, until the area
# GEOMETRY (WxH+X+Y) of the screen is no longer all black.
wait_for_drawing() {
    for _ in $(seq 1 120); do
        kill -0 "$2" 2>/dev/null || fail "the hack ended before it drew"
        [ "$(import -window root -crop "$1" +repage png:- 2>/dev/null |
            convert - -format '%[fx:maxima]' info:)" = 0 ] || return 0
        sleep 0.5
    done
    fail "nothing drawn within 60 seconds"
}

# wait_for_exit PID SECONDS
# Waits up to SECONDS for the process PID to end; fails if it still runs.
wait_for_exit() {
    for _ in $(seq 1 $(($2 * 20))); do
        kill -0 "$1" 2>/dev/null || return 0
        sleep 0.05
    done
    fail "process $1 still runs $2 seconds later"
}
