#!/usr/bin/env bash
# dxvk_test.sh SAVER D3D_SNAPSHOT WORK_DIR
# The saver under a second Direct3D 9: DXVK's, over Vulkan on Mesa's software
# driver, in the Wine 10 prefix of wine10_desktop with QF_D3D9=dxvk, on an
# Xephyr screen of 1024x768. The prefix has the wide window frames of
# exclusive_test.sh (BorderWidth 16), which bring Wine 10's SM_CYFULLSCREEN
# below the screen height, so /s takes the display for itself.
# - D3D_SNAPSHOT draws the fixed scene the same with DXVK as with Wine's own
#   Direct3D 9, by the picture test's measure: the same light in all within
#   2 %, and after a 3 x 3 mean at most 0.1 % of the pixels more than 3
#   levels apart.
# - /s: DXVK makes a full-screen device (its log: "Windowed: false"), the
#   screen shows soft snow within 90 seconds, and a key press ends the run
#   with exit code 0 and no line in log.txt.
# - DXVK logs no warning or error meanwhile.
# - /s under Wine's own Direct3D 9, full screen as well: another program's
#   window (Notepad) coming to the front loses the device (Wine's trace names
#   the deactivation of the full-screen device) and ends the run with exit
#   code 0, as a loss of activation does, with no line in log.txt.
set -euo pipefail
saver=$(realpath "$1")
snapshot=$(realpath "$2")
work=$(realpath -m "$3")
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../../../scripts/lib/common.sh"
source "$QF_ROOT/scripts/lib/wine10.sh"
source "$here/desktop.sh"
export QF_D3D9=dxvk
wine10_desktop "$work" 1024x768
if ! grep -q '"BorderWidth"="16"' "$QF_WINE10_ROOT/root/prefix-dxvk/user.reg"; then
    qf_wine10 "$work" wine reg add 'HKCU\Control Panel\Desktop\WindowMetrics' /v BorderWidth \
        /t REG_SZ /d 16 /f >/dev/null 2>&1
fi
status=0

# The fixed scene both ways.
if ! qf_wine10 "$work" env WINEDLLOVERRIDES=d3d9=b wine "$snapshot" "Z:$work/wine.pgm" \
    >"$work/snapshot.log" 2>&1 ||
    ! qf_wine10 "$work" wine "$snapshot" "Z:$work/dxvk.pgm" >>"$work/snapshot.log" 2>&1; then
    tail -n 20 "$work/snapshot.log"
    echo "the fixed scene was not drawn both ways"
    exit 1
fi
light=$(convert "$work/wine.pgm" "$work/dxvk.pgm" -format '%[fx:mean] ' info:)
for name in wine dxvk; do
    convert "$work/$name.pgm" -statistic Mean 3x3 "$work/$name-mean.miff"
done
apart=$(compare -metric AE -fuzz 1.1765% "$work/wine-mean.miff" "$work/dxvk-mean.miff" null: \
    2>&1 || true)
read -r wine dxvk <<<"$light"
echo "fixed scene: mean light $wine (Wine's), $dxvk (DXVK's); $apart pixels more than 3 levels apart"
if [[ ! "$apart" =~ ^[0-9]+$ ]] || ! awk -v w="$wine" -v d="$dxvk" -v a="$apart" \
    'BEGIN { exit !(w > 0 && d / w > 0.98 && d / w < 1.02 && a <= 640 * 480 / 1000) }'; then
    echo "DXVK draws the fixed scene differently"
    status=1
fi

# The full-screen run with DXVK.
qf_wine10 "$work" wine "$saver" /s >"$work/saver.log" 2>&1 &
run=$!
window=$(wait_for_window "Screen Saver" "$run")
snow_shows "$work/dxvk.png" 90 "screen:1024x768+0+0:30" || status=1
end_with_key "$window" "$run" "$work" || status=1
grep -E 'Windowed:|Setting display mode' "$work/Quillfrost.scr_d3d9.log" || true
if ! grep -q 'Windowed: *false' "$work/Quillfrost.scr_d3d9.log"; then
    echo "DXVK did not make a full-screen device"
    status=1
fi
dxvk_quiet "$work" || status=1

# The lost device, under Wine's own Direct3D 9. The trace slows the frames
# down; the run writes its exit code to a file, as the wait for Notepad's end
# would otherwise hold it back.
(
    set +e
    # shellcheck disable=SC2016 # the status of the inner shell
    WINEDLLOVERRIDES=d3d9=b WINEDEBUG=trace+d3d9 qf_wine10 "$work" \
        sh -c 'wine "$0" /s; echo $? >lost_status' "$saver" 2>&1 |
        grep --line-buffered 'device_parent_activate' >"$work/lost_trace.txt"
) &
run=$!
wait_for_window "Screen Saver" "$run" >/dev/null
qf_wine10 "$work" wine notepad >/dev/null 2>&1 &
for _ in $(seq 1 300); do
    [ -s "$work/lost_status" ] && break
    sleep 0.2
done
qf_wine10 "$work" wineserver -k || true
wait "$run" || true
echo "Wine's trace:"
cat "$work/lost_trace.txt"
echo "exit code after Notepad came to the front: $(cat "$work/lost_status" 2>/dev/null)"
if ! grep -q 'activate 0' "$work/lost_trace.txt"; then
    echo "the full-screen device was not deactivated"
    status=1
fi
[ "$(cat "$work/lost_status" 2>/dev/null)" = 0 ] || status=1
if [ -s "$work/log.txt" ]; then
    cat "$work/log.txt"
    status=1
fi
exit $status
