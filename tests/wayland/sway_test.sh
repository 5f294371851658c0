#!/bin/bash
# quillfrost-wayland under a headless sway with two outputs, one of them at
# scale 2: snow over each output, drawn at the output's full resolution; an
# output made while it runs gets snow, one disabled leaves it running on the
# others; a key press ends it with 0, and so does SIGTERM; swayidle starts it
# after the idle time. Without a compositor, or with a bad option, it says so.
# Usage: sway_test.sh PROGRAM
set -euo pipefail
source "$(dirname "$0")/wayland_test_lib.sh"

setup_session "$1"
set +e
message=$(as_user quillfrost-wayland 2>&1)
status=$?
set -e
expect "status without a compositor" "$status" 1
expect "what it says without a compositor" "$message" \
    "quillfrost-wayland: no Wayland compositor: WAYLAND_DISPLAY is not set"
set +e
message=$(as_user quillfrost-wayland --speed 101 2>&1)
status=$?
set -e
expect "status after a bad option" "$status" 2
expect "what it says of a bad option" "${message%%$'\n'*}" \
    "quillfrost-wayland: bad value for --speed: '101'"

cat >"$QF_HOME/config" <<'CONFIG'
output * bg #5080b0 solid_color
output HEADLESS-1 scale 2
CONFIG
start_as_user sway env WLR_BACKENDS=headless WLR_HEADLESS_OUTPUTS=2 WLR_LIBINPUT_NO_DEVICES=1 \
    WLR_RENDERER=pixman sway -c "$QF_HOME/config"
wait_for_socket
QF_SWAYSOCK=$(find "$QF_HOME/run" -maxdepth 1 -name 'sway-ipc.*' | head -n 1)
# A keyboard that stays, as a real one does: wtype's own comes and goes with
# each call, too soon for a client to take it up.
start_as_user keyboard wtype -s 3600000 x

# shot_shows_snow OUTPUT IMAGE SECONDS: a screenshot of the output shows
# snow over its whole area (each quarter) within SECONDS.
shot_shows_snow() {
    local started=$SECONDS size w h quarters
    while :; do
        as_user grim -o "$1" - >"$2" || true
        if [ -s "$2" ]; then
            size=$(identify -format '%w %h' "$2")
            w=$((${size% *} / 2)) h=$((${size#* } / 2))
            quarters=("top left:${w}x${h}+0+0:15" "top right:${w}x${h}+$w+0:15"
                "bottom left:${w}x${h}+0+$h:15" "bottom right:${w}x${h}+$w+$h:15")
            local shown=true region what geometry spots
            for region in "${quarters[@]}"; do
                IFS=: read -r what geometry spots <<<"$region"
                snow_check "$1 $what" "$2" "$geometry" "$spots" >"$2.txt" || shown=false
            done
            $shown && return 0
        fi
        [ $((SECONDS - started)) -lt "$3" ] || {
            cat "$2.txt"
            fail "$1 shows no snow within $3 seconds"
        }
        sleep 1
    done
}

start_as_user saver quillfrost-wayland
saver=$QF_PID
shot_shows_snow HEADLESS-1 "$QF_HOME/one.png" 60
shot_shows_snow HEADLESS-2 "$QF_HOME/two.png" 60
echo "ok: snow over both outputs"

# At scale 2 the flakes are drawn at the output's pixels: the picture has as
# much detail below 2 x 2 pixels as at scale 1, where an upscaled half-size
# picture has next to none (its blocks of 2 x 2 pixels are alike).
detail() {
    convert "$1" -channel G -separate +channel \( +clone -sample 50% -sample 200% \) \
        -compose difference -composite -format '%[fx:mean * 1000]' info:
}
scaled=$(detail "$QF_HOME/one.png")
plain=$(detail "$QF_HOME/two.png")
awk -v s="$scaled" -v p="$plain" 'BEGIN { exit !(s > p / 2) }' ||
    fail "detail below 2 x 2 pixels at scale 2: $scaled, at scale 1: $plain (upscaled)"
echo "ok: detail below 2 x 2 pixels at scale 2: $scaled, at scale 1: $plain"

as_user swaymsg create_output >/dev/null
shot_shows_snow HEADLESS-3 "$QF_HOME/three.png" 60
echo "ok: an output made while it runs gets snow"

as_user swaymsg output HEADLESS-2 disable >/dev/null
as_user grim -o HEADLESS-1 - >"$QF_HOME/before.png"
for _ in $(seq 1 100); do
    as_user grim -o HEADLESS-1 - >"$QF_HOME/after.png"
    cmp -s "$QF_HOME/before.png" "$QF_HOME/after.png" || break
    sleep 0.1
done
cmp -s "$QF_HOME/before.png" "$QF_HOME/after.png" && fail "the snow stopped when an output went"
[ -s "$QF_HOME/saver.status" ] && fail "it ended when an output went: $(cat "$QF_HOME/saver.log")"
echo "ok: the snow goes on when an output is disabled"

keyed=$(date +%s%N)
as_user wtype a
expect "status after a key press" "$(wait_for_status saver 10)" 0
echo "the key press ended it within $((($(date +%s%N) - keyed) / 1000000)) ms"

start_as_user saver quillfrost-wayland
shot_shows_snow HEADLESS-1 "$QF_HOME/one.png" 60
kill -TERM "$QF_PID"
expect "status after SIGTERM" "$(wait_for_status saver 10)" 0

start_as_user idle swayidle -w timeout 2 quillfrost-wayland
shot_shows_snow HEADLESS-1 "$QF_HOME/idle.png" 60
echo "ok: swayidle started the snow after the idle time"
