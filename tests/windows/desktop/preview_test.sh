#!/usr/bin/env bash
# preview_test.sh SAVER PREVIEW_PARENT WORK_DIR
# A preview as the settings page shows one: preview_parent.exe (another
# process) makes a 320x240 window and starts "SAVER /p <its handle>", under
# Wine 10 on an Xephyr screen of its own. Within a minute the window's client
# area shows soft snow; a click on the preview (the saver's window gets it)
# and a key press (the focused parent gets it, as on Windows) do not end it;
# closing the window ends the saver with exit code 0. The screenshot stays in
# WORK_DIR/preview.png. With QF_D3D9=dxvk the saver draws with DXVK's
# Direct3D 9 (wine10_desktop), which logs no warning meanwhile.
set -euo pipefail
saver=$(realpath "$1")
parent=$(realpath "$2")
work=$(realpath -m "$3")
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../../../scripts/lib/common.sh"
source "$QF_ROOT/scripts/lib/wine10.sh"
source "$here/desktop.sh"
wine10_desktop "$work" 1024x768

# The file "close" tells preview_parent.exe to close its window. Wine sees
# the machine's files on drive Z:.
qf_wine10 "$work" wine "$parent" "Z:${saver//\//\\}" close \
    >"$work/parent.log" 2>"$work/wine.log" &
run=$!
line=""
for _ in $(seq 1 300); do
    line=$(grep -m 1 '^parent ' "$work/parent.log" | tr -d '\r' || true)
    [ -z "$line" ] && kill -0 "$run" 2>/dev/null || break
    sleep 0.2
done
if [ -z "$line" ]; then
    echo "no parent window within 60 seconds"
    cat "$work/parent.log"
    exit 1
fi
# parent HWND client LEFT TOP WIDTH HEIGHT
read -r _ _ _ left top width height <<<"$line"
echo "parent client area: ${width}x${height} at $left,$top"
status=0
snow_shows "$work/preview.png" 60 "preview:${width}x${height}+${left}+${top}:30" || status=1

# A click and a key in the middle of the preview, and the pointer moved away.
xdotool mousemove $((left + width / 2)) $((top + height / 2)) click 1 key space \
    mousemove $((left + width + 100)) $((top + height + 100))
sleep 3
if ! kill -0 "$run" 2>/dev/null; then
    echo "input ended the preview"
    status=1
fi

touch "$work/close"
wait_exit "$run" 30
cat "$work/parent.log"
[ "$exit_code" = 0 ] || status=1
[ "${QF_D3D9:-}" != dxvk ] || dxvk_quiet "$work" || status=1
exit $status
