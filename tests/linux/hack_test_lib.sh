# Sourced by the tests of the quillfrost hack: a display of their own, what a
# screenshot shows, and how the hack ends.
# shellcheck shell=bash

fail() {
    echo "FAILED: $*" >&2
    exit 1
}

# start_xvfb WxH
# Starts an Xvfb on the first free display from :180 on, open to every local
# user (-ac), exports DISPLAY and stops it when the test ends.
start_xvfb() {
    local n
    for n in $(seq 180 260); do
        [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
        Xvfb ":$n" -screen 0 "$1x24" -ac -nolisten tcp >/dev/null 2>&1 &
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

# snow_check IMAGE GEOMETRY MIN_SPOTS
# Succeeds when the area GEOMETRY of IMAGE shows soft snow on black, judged on
# its grey levels: at least MIN_SPOTS separate spots (eight-connected patches
# brighter than 40 of 255), more than 3 of 4 pixels black (below 8), and
# more than four softly lit pixels (8 to 199) for each spot, the glow around
# a soft flake that a hard-edged dot does not have. Prints the figures.
snow_check() {
    local spots figures black soft
    spots=$(convert "$1" -crop "$2" +repage -colorspace gray -threshold 15.9% \
        -define connected-components:verbose=true -connected-components 8 null: |
        grep -c 'gray(255)' || true)
    figures=$(convert "$1" -crop "$2" +repage -colorspace gray -depth 8 \
        -format %c histogram:info:- |
        awk '{ n = $1 + 0; split($2, v, "[(),]"); all += n;
               if (v[2] < 8) black += n; else if (v[2] < 200) soft += n }
             END { printf "%.3f %d", black / all, soft }')
    black=${figures% *} soft=${figures#* }
    echo "snow in $2: $spots spots, black share $black, $soft softly lit pixels"
    [ "$spots" -ge "$3" ] || fail "fewer than $3 bright spots"
    awk -v b="$black" 'BEGIN { exit !(b > 0.75) }' || fail "the screen is not mostly black"
    [ "$soft" -gt $((spots * 4)) ] || fail "the spots do not glow softly"
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
