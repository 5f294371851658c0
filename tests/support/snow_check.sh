# Sourced by the shell tests that judge a screenshot of the snow.
# shellcheck shell=bash

# snow_check WHAT IMAGE GEOMETRY MIN_SPOTS [MIN_BLACK_SHARE] [CONNECTIVITY]
# Succeeds when the part GEOMETRY (WxH+X+Y) of IMAGE shows soft snow on black,
# judged on the green channel (the flakes are white) as the Windows snow
# tests judge a capture:
# - at least MIN_SPOTS separate spots, patches brighter than 40 of 255 (the
#   dimmest far flakes stay below it), CONNECTIVITY 4 (default) or 8;
# - more than MIN_BLACK_SHARE (default 0.5) of the pixels black (below 8):
#   flakes are sparse;
# - more than four partly lit pixels (8 to 199) for each spot: the glow around
#   a soft flake, which a hard-edged dot does not have.
# Prints the figures either way, and what failed.
snow_check() {
    local what=$1 image=$2 geometry=$3 min_spots=$4 min_black=${5:-0.5}
    local connectivity=${6:-4} spots figures black soft
    spots=$(convert "$image" -crop "$geometry" +repage -channel G -separate +channel \
        -threshold 15.9% -define connected-components:verbose=true \
        -connected-components "$connectivity" null: | grep -c 'gray(255)' || true)
    figures=$(convert "$image" -crop "$geometry" +repage -channel G -separate +channel \
        -depth 8 -format %c histogram:info:- |
        awk '{ n = $1 + 0; split($2, v, "[(),]"); all += n;
               if (v[2] < 8) black += n; else if (v[2] < 200) soft += n }
             END { printf "%.3f %d", black / all, soft }')
    black=${figures% *} soft=${figures#* }
    echo "$what: $spots spots, black share $black, $soft softly lit pixels"
    if [ "$spots" -lt "$min_spots" ]; then
        echo "$what: fewer than $min_spots bright spots"
        return 1
    fi
    if ! awk -v b="$black" -v m="$min_black" 'BEGIN { exit !(b > m) }'; then
        echo "$what: not mostly black"
        return 1
    fi
    if [ "$soft" -le $((spots * 4)) ]; then
        echo "$what: the spots do not glow softly"
        return 1
    fi
}

# snow_shows IMAGE LIMIT WHAT:GEOMETRY:MIN_SPOTS...
# Captures the screen into IMAGE every 2 seconds until every region named
# shows soft snow (snow_check, with its defaults) in one capture, or LIMIT
# seconds have passed: the flakes drift in, slower on a busy machine. Prints
# the figures of the last capture; fails when the snow did not show.
snow_shows() {
    local image=$1 limit=$2 started=$SECONDS region what geometry spots report shown
    shift 2
    while :; do
        import -window root "$image"
        report="" shown=true
        for region in "$@"; do
            IFS=: read -r what geometry spots <<<"$region"
            report+=$(snow_check "$what" "$image" "$geometry" "$spots")$'\n' || shown=false
        done
        if $shown || [ $((SECONDS - started)) -ge "$limit" ]; then
            printf '%s' "$report"
            $shown
            return
        fi
        sleep 2
    done
}
