#!/usr/bin/env bash
# exclusive_test.sh SAVER WORK_DIR
# Quillfrost.scr /s taking the display for itself (exclusive full screen,
# Windowed FALSE) under the machine's Wine, on an Xephyr screen of 1280x1024
# of its own, from the scratch directory WORK_DIR.
# The saver takes that path when its window's client area is at least
# SM_CXFULLSCREEN x SM_CYFULLSCREEN. Wine works SM_CYFULLSCREEN out as the
# screen height plus the caption height less twice the frame width: taller
# than the screen (1035 for 1024) with the default window metrics. A border
# width of 16 (BorderWidth, as the Windows appearance settings store it)
# brings it below the screen height (1005), so this test's Wine prefix has it.
# Wine's Direct3D trace names the full-screen set-up of the saver's window;
# once the window shows, the screen shows soft snow within 90 seconds; a key press
# ends the run with exit code 0, and log.txt gets no line.
set -euo pipefail
saver=$(realpath "$1")
work=$(realpath -m "$2")
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../../../scripts/lib/common.sh"
source "$here/desktop.sh"
qf_own_wineprefix wide-frames 'HKCU\Control Panel\Desktop\WindowMetrics' BorderWidth REG_SZ 16
rm -rf "$work"
mkdir -p "$work"
source "$QF_ROOT/scripts/lib/wine10.sh" # qf_start_xephyr
qf_start_xephyr 1280x1024
export DISPLAY=$QF_XEPHYR_DISPLAY
cleanup() {
    wineserver -k 2>/dev/null || true
    kill "$QF_XEPHYR_PID" 2>/dev/null || true
}
trap cleanup EXIT

cd "$work"
# First a run with Wine's Direct3D trace, which names the full-screen set-up
# of the window; the trace slows the drawing to a crawl, so it ends there.
(
    set +e
    WINEDEBUG=trace+d3d wine "$saver" /s 2>&1 |
        grep --line-buffered -E 'wined3d_swapchain_state_setup_fullscreen|wined3d_output_set_display_mode mode' \
            >"$work/d3d_trace.txt"
) &
traced=$!
wait_for_window "Screen Saver" "$traced" >/dev/null
for _ in $(seq 1 50); do
    grep -q 'setup_fullscreen' "$work/d3d_trace.txt" && break
    sleep 0.2
done
wineserver -k || true
wait "$traced" || true
wineserver -w
status=0
echo "Direct3D trace:"
cat "$work/d3d_trace.txt"
if ! grep -q 'setup_fullscreen Setting up window' "$work/d3d_trace.txt"; then
    echo "the device was not made for exclusive full screen"
    status=1
fi

# Then the run itself.
wine "$saver" /s &
run=$!
window=$(wait_for_window "Screen Saver" "$run")
snow_shows "$work/exclusive.png" 90 "screen:1280x1024+0+0:30" || status=1

end_with_key "$window" "$run" "$work" || status=1
exit $status
