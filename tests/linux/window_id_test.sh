#!/usr/bin/env bash
# window_id_test.sh HACK TEST_WINDOW
# HACK --window-id draws soft snow inside a window of another program
# (TEST_WINDOW), and ends with status 0 within 5 seconds of that window's end.
# Given what it cannot draw into (an InputOnly window, a pixmap, a window
# larger than OpenGL draws), it ends with status 1 and says why.
set -euo pipefail
hack=$1 test_window=$2
source "$(dirname "$0")/hack_test_lib.sh"

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
wait_for_exit "$hack_pid" 5
status=0
wait "$hack_pid" || status=$?
[ "$status" -eq 0 ] || fail "the hack ended with status $status"
echo "ok: snow in window $window, and its end ended the hack with status 0"

# expect_refused WHAT MESSAGE TEST_WINDOW_ARGUMENT...
expect_refused() {
    local what=$1 message=$2 id status=0 err
    shift 2
    coproc refused_maker { "$test_window" "$@"; }
    local maker=$refused_maker_PID
    read -r id <&"${refused_maker[0]}" || fail "no $what made"
    err=$(timeout 20 "$hack" --window-id "$id" 2>&1 >/dev/null) || status=$?
    echo >&"${refused_maker[1]}"
    wait "$maker"
    [ "$status" -eq 1 ] || fail "$what: status $status: $err"
    [[ "$err" == "quillfrost: "*"$message"* ]] || fail "$what: '$err' says nothing of '$message'"
    echo "ok: $what: $err"
}
expect_refused "an InputOnly window" "is InputOnly" 320x200+0+0 input-only
expect_refused "a pixmap" "is a pixmap, not a window" 320x200+0+0 pixmap
# Wider than any OpenGL here draws (Mesa's software path: 16384).
expect_refused "a window 32000 pixels wide" "is 32000 x 16 and OpenGL here draws at most" 32000x16+0+0
