#!/usr/bin/env bash
# pause_test.sh HACK
# The time a hack is stopped does not pass for its snow. xscreensaver stops
# a display mode (SIGSTOP) while the monitor sleeps and continues it
# (SIGCONT) later: HACK, stopped for 30 seconds once its snow is even, shows
# even snow again 1 second after it continues, as bright as before.
#
# Even: the mean brightness (green) of the top, middle and bottom thirds of
# the picture within a factor of 3 of each other. Running on, the thirds of
# this snow stayed within 1.5 of each other in one run (measured every 2.5 s
# from 15 to 75 s after the start), and came 2.3 apart in another while the
# last flakes still fell in from the top; a hack that took the 30 s as one
# step showed black thirds (0.0006, 0.00002 and 0.0004 against 0.03 before)
# and then a band.
# As bright: the mean of the three at least half of what it was before.
set -euo pipefail
hack=$1
source "$(dirname "$0")/hack_test_lib.sh"

start_xvfb 1024x768
"$hack" &
hack_pid=$!
trap 'kill "$hack_pid" 2>/dev/null && wait "$hack_pid"; kill "$QF_TEST_XVFB" 2>/dev/null || true' EXIT

# thirds: the mean brightness of the screen's top, middle and bottom thirds.
thirds() {
    import -window root "$PWD/pause-snow.png"
    local y
    for y in 0 256 512; do
        convert "$PWD/pause-snow.png" -crop 1024x256+0+$y +repage -format '%[fx:mean.g] ' info:
    done
}

# even THIRDS... [LEAST_MEAN]: the thirds within a factor of 3 of each other
# and their mean above LEAST_MEAN (default 0.01, a faint snow).
even() {
    awk -v least="${4:-0.01}" -v a="$1" -v b="$2" -v c="$3" 'BEGIN {
        lo = a; hi = a
        if (b < lo) lo = b; if (c < lo) lo = c
        if (b > hi) hi = b; if (c > hi) hi = c
        exit !(lo > 0 && hi <= 3 * lo && (a + b + c) / 3 >= least) }'
}

# The flakes fall in from the top for the first seconds.
before=""
for _ in $(seq 1 90); do
    kill -0 "$hack_pid" 2>/dev/null || fail "the hack ended"
    read -r -a before <<<"$(thirds)"
    even "${before[@]}" && break
    before=()
    sleep 1
done
[ ${#before[@]} -eq 3 ] || fail "the snow was not even within 90 seconds"
echo "before the stop: thirds ${before[*]}"

kill -STOP "$hack_pid"
sleep 30
kill -CONT "$hack_pid"
sleep 1
read -r -a after <<<"$(thirds)"
echo "1 s after it continued: thirds ${after[*]}"
least=$(awk -v a="${before[0]}" -v b="${before[1]}" -v c="${before[2]}" \
    'BEGIN { print (a + b + c) / 6 }')
even "${after[@]}" "$least" || fail "the snow is not as even and as bright as before the stop"

kill -TERM "$hack_pid"
wait_for_exit "$hack_pid" 5
status=0
wait "$hack_pid" || status=$?
[ "$status" -eq 0 ] || fail "the hack ended with status $status"
echo "ok: after 30 s stopped, the snow went on as even as before"
