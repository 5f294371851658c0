#!/usr/bin/env bash
# window_id_test.sh HACK TEST_WINDOW
# HACK --window-id draws soft snow inside a window of another program
# (TEST_WINDOW), and ends with status 0 within 2 seconds of that window's end.
set -euo pipefail
hack=$1 test_window=$2
source "$(dirname "$0")/hack_test_lib.sh"
# The native build's AddressSanitizer reports a few bytes that Mesa's driver
# keeps at exit as leaks; memory errors still end the hack with a failure.
export ASAN_OPTIONS=detect_leaks=0

start_xvfb 1024x768
geometry=480x360+200+150
coproc window_maker { "$test_window" "$geometry"; }
read -r window <&"${window_maker[0]}" || fail "no window made"

"$hack" --window-id "$window" &
hack_pid=$!
wait_for_drawing "$geometry" "$hack_pid"
sleep 5
import -window root "$PWD/window-id-snow.png"
snow_check "snow in $geometry" "$PWD/window-id-snow.png" "$geometry" 10 0.75 8 || fail "no snow"

echo >&"${window_maker[1]}" # the window's end
wait_for_exit "$hack_pid" 2
status=0
wait "$hack_pid" || status=$?
[ "$status" -eq 0 ] || fail "the hack ended with status $status"
echo "ok: snow in window $window, and its end ended the hack with status 0"
