#!/usr/bin/env bash
# two_monitors_test.sh SAVER WORK_DIR
# Quillfrost.scr /s under Wine 10 on a desktop of two 1024x768 monitors side
# by side (Xephyr with Xinerama, nested in $DISPLAY), from the scratch
# directory WORK_DIR: once its window shows, each monitor shows soft snow
# within 90 seconds; a key press ends the run with exit code 0, and log.txt
# gets no line. The screenshot stays in WORK_DIR/two_monitors.png.
set -euo pipefail
saver=$(realpath "$1")
work=$(realpath -m "$2")
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../../../scripts/lib/common.sh"
source "$QF_ROOT/scripts/lib/wine10.sh"
source "$here/desktop.sh"
wine10_desktop "$work" 1024x768 1024x768

qf_wine10 "$work" wine "$saver" /s &
run=$!
window=$(wait_for_window "Screen Saver" "$run")
status=0
snow_shows "$work/two_monitors.png" 90 "left monitor:1024x768+0+0:30" \
    "right monitor:1024x768+1024+0:30" || status=1

end_with_key "$window" "$run" "$work" || status=1
exit $status
