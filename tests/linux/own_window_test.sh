#!/usr/bin/env bash
# own_window_test.sh HACK
# HACK with no window named opens its own, titled Quillfrost, on the display
# that -display names and with the size and place -geometry gives; once it
# draws, Escape pressed in it ends the hack with status 0 within 5 seconds.
set -euo pipefail
hack=$1
source "$(dirname "$0")/hack_test_lib.sh"

start_xvfb 1024x768
env -u DISPLAY "$hack" -display "$DISPLAY" -geometry 640x480+30+40 &
hack_pid=$!
window=""
for _ in $(seq 1 100); do
    window=$(xdotool search --onlyvisible --name '^Quillfrost$' 2>/dev/null | head -n 1 || true)
    [ -z "$window" ] || break
    kill -0 "$hack_pid" 2>/dev/null || fail "the hack ended before its window showed"
    sleep 0.1
done
[ -n "$window" ] || fail "no window titled Quillfrost"
placed=$(xwininfo -id "$window" |
    awk '/Absolute upper-left X/ { x = $NF } /Absolute upper-left Y/ { y = $NF }
         /^ *Width/ { w = $NF } /^ *Height/ { h = $NF } END { print w "x" h "+" x "+" y }')
[ "$placed" = 640x480+30+40 ] || fail "the window is at $placed, not at 640x480+30+40"
wait_for_drawing 640x480+30+40 "$hack_pid"

# A key press as from the keyboard (XTEST), with the window focused.
xdotool windowfocus --sync "$window" key Escape
wait_for_exit "$hack_pid" 5
status=0
wait "$hack_pid" || status=$?
[ "$status" -eq 0 ] || fail "the hack ended with status $status"
echo "ok: the hack's own window at 640x480+30+40 on -display $DISPLAY; Escape ended it with status 0"
