#!/usr/bin/env bash
# two_monitors_test.sh SAVER WORK_DIR
# Quillfrost.scr /s under Wine 10 on a desktop of two 1024x768 monitors side
# by side (Xephyr with Xinerama, nested in $DISPLAY), from the scratch
# directory WORK_DIR: 25 seconds after its window shows, each monitor shows
# soft snow; a key press ends the run with exit code 0, and log.txt gets no
# line. The screenshot stays in WORK_DIR/two_monitors.png.
set -euo pipefail
saver=$(realpath "$1")
work=$(realpath -m "$2")
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../../scripts/lib/common.sh"
source "$QF_ROOT/scripts/lib/wine10.sh"
source "$here/desktop.sh"
export QF_WINE10_PREFIX=desktop-tests

qf_ensure_wine10
rm -rf "$work"
mkdir -p "$work"
qf_wine10 "$work" true # the Wine prefix, made once
qf_start_xephyr 1024x768 1024x768
export DISPLAY=$QF_XEPHYR_DISPLAY
cleanup() {
    qf_wine10 "$work" wineserver -k >/dev/null 2>&1 || true
    kill "$QF_XEPHYR_PID" 2>/dev/null || true
}
trap cleanup EXIT

qf_wine10 "$work" wine "$saver" /s &
run=$!
window=$(wait_for_window "Screen Saver" "$run")
sleep 25
import -window root "$work/two_monitors.png"
status=0
snow_check "left monitor" "$work/two_monitors.png" 1024x768+0+0 30 || status=1
snow_check "right monitor" "$work/two_monitors.png" 1024x768+1024+0 30 || status=1

xdotool windowfocus --sync "$window" 2>/dev/null || true
xdotool key space
wait_exit "$run" 15
echo "exit code after the key press: $exit_code"
[ "$exit_code" = 0 ] || status=1
if [ -s "$work/log.txt" ]; then
    echo "log.txt:"
    cat "$work/log.txt"
    status=1
fi
exit $status
