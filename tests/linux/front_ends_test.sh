#!/usr/bin/env bash
# front_ends_test.sh DEB_DIR VERSION README
# The package as a new user meets it. The .deb that deb_test.sh made in
# DEB_DIR is installed with dpkg, and a new unprivileged user, qf-fresh, who
# has no ~/.xscreensaver, runs the line that README gives such a user (and
# the README's line for a ~/.xscreensaver that xscreensaver-settings wrote,
# run twice on one, adds the entry once); then,
# on an Xvfb display of the test's own:
# - xscreensaver-settings lists Quillfrost and previews it: snow in the
#   window it gives the hack;
# - mate-screensaver-preferences, with Quillfrost chosen, lists and previews
#   it: snow in the window it names in $XSCREENSAVER_WINDOW;
# - mate-screensaver, told to blank, shows the snow over the screen.
# At the end the package and the user are gone and nothing of theirs runs.
# Each program runs in a mount namespace of its own in which the folders of
# display modes hold only the installed quillfrost: xscreensaver-settings
# starts by previewing one of its list at random, and only Quillfrost may run.
set -euo pipefail
deb_dir=$1 version=$2 readme=$3
deb=$deb_dir/quillfrost_${version}_$(dpkg --print-architecture).deb
source "$(dirname "$0")/hack_test_lib.sh"

if [ "$(id -u)" -ne 0 ]; then
    echo "skipped: installs a package and adds a user, which takes root"
    exit 77
fi
if dpkg-query -W -f='${Status}' quillfrost 2>/dev/null | grep -q 'ok installed'; then
    fail "quillfrost is installed on this machine; the test installs and removes its own"
fi

user=qf-fresh
start_xvfb 1024x768
installed=false home=""
finish() {
    local pid
    for pid in $(pgrep -u "$user" 2>/dev/null || true); do
        kill "$pid" 2>/dev/null || true
    done
    for _ in $(seq 1 50); do
        pgrep -u "$user" >/dev/null 2>&1 || break
        sleep 0.1
    done
    ! id "$user" >/dev/null 2>&1 || userdel "$user" || true
    [ -z "$home" ] || rm -rf "$home"
    ! $installed || dpkg --purge quillfrost >/dev/null || true
    kill "$QF_TEST_XVFB" 2>/dev/null || true
}
trap finish EXIT
# A user of that name is one that an ended run left behind.
! id "$user" >/dev/null 2>&1 || userdel "$user"
home=$(mktemp -d /tmp/quillfrost-fresh.XXXXXX)
chmod 755 "$home"
useradd --create-home --home-dir "$home/$user" --shell /bin/bash "$user"
user_home=$home/$user

installed=true
dpkg -i "$deb" >/dev/null
install -m 755 /usr/libexec/xscreensaver/quillfrost "$home/quillfrost"

# as_user SCRIPT: the sh SCRIPT as the user in a D-Bus session of its own,
# in the mount namespace with no display mode but Quillfrost.
as_user() {
    # shellcheck disable=SC2016 # the inner shell expands them
    unshare --mount --propagation private sh -c '
        mount -t tmpfs none /usr/libexec/xscreensaver
        install -m 755 "$0" /usr/libexec/xscreensaver/quillfrost
        mount -t tmpfs none /usr/lib/mate-screensaver/mate-screensaver
        exec "$@"' "$home/quillfrost" \
        runuser -u "$user" -- env -i DISPLAY="$DISPLAY" HOME="$user_home" PATH=/usr/bin:/bin \
        NO_AT_BRIDGE=1 dbus-run-session -- sh -c "$1"
}

# running PID: whether the process PID runs (a zombie has ended).
running() {
    local state
    state=$(ps -o stat= -p "$1") && [[ $state != Z* ]]
}

# user_runs: whether any process of the user runs.
user_runs() {
    local pid
    for pid in $(pgrep -u "$user" || true); do
        ! running "$pid" || return 0
    done
    return 1
}

# shows_snow WHAT MIN_SPOTS: waits up to 60 seconds for the user's quillfrost,
# then for snow in the window it draws into (the one named by --window-id or
# else by $XSCREENSAVER_WINDOW), and ends the program that started it. Its
# window goes with it, and so must quillfrost.
shows_snow() {
    local what=$1 min_spots=$2 pid="" window="" geometry="" figures="" shown=false candidate parent
    local image=$PWD/front-ends-$what.png
    for _ in $(seq 1 120); do
        for candidate in $(pgrep -u "$user" -x quillfrost || true); do
            ! running "$candidate" || pid=$candidate
        done
        [ -z "$pid" ] || break
        sleep 0.5
    done
    [ -n "$pid" ] || fail "$what: started no quillfrost"
    window=$(ps -o args= -p "$pid" | sed -n 's/.*--window-id \([^ ]*\).*/\1/p')
    [ -n "$window" ] ||
        window=$(tr '\0' '\n' <"/proc/$pid/environ" | sed -n 's/^XSCREENSAVER_WINDOW=//p')
    [ -n "$window" ] || fail "$what: quillfrost was given no window: $(ps -o args= -p "$pid")"
    echo "$what: $(ps -o args= -p "$pid") draws into $window"
    for _ in $(seq 1 120); do
        running "$pid" || fail "$what: quillfrost ended"
        # Where the window is now: a preview may still be laid out.
        geometry=$(xwininfo -id "$window" | awk '
            /Absolute upper-left X/ { x = $NF } /Absolute upper-left Y/ { y = $NF }
            /Width:/ { w = $NF } /Height:/ { h = $NF }
            END { printf "%dx%d+%d+%d", w, h, x, y }')
        import -window root "$image"
        figures=$(snow_check "$what" "$image" "$geometry" "$min_spots" 0.75 8) && shown=true && break
        sleep 0.5
    done
    echo "$figures (in $geometry)"
    $shown || fail "$what: no snow within 60 seconds"

    parent=$(ps -o ppid= -p "$pid" | tr -d ' ')
    kill "$parent"
    for _ in $(seq 1 100); do
        ! running "$parent" && ! running "$pid" && return 0
        sleep 0.05
    done
    running "$parent" && fail "$what still runs 5 seconds after SIGTERM"
    fail "$what: quillfrost still runs 5 seconds after its window went"
}

[ ! -e "$user_home/.xscreensaver" ] || fail "the new user has a ~/.xscreensaver"
line=$(sed -n 's|^ *\(echo .* > ~/\.xscreensaver\)$|\1|p' "$readme")
[ -n "$line" ] || fail "the README gives a new user no line for ~/.xscreensaver"
echo "the new user runs: $line"
runuser -u "$user" -- env HOME="$user_home" sh -c "$line"
# A ~/.xscreensaver as xscreensaver-settings writes it, the system-wide list
# under "programs:": the README's line for it, run twice, adds the entry once.
written=$home/written
mkdir "$written"
sed -n '/^\*programs:/,/[^\\]$/s/^\*//p' /etc/X11/app-defaults/XScreenSaver >"$written/.xscreensaver"
line=$(sed -n 's|^ *\(grep .* ~/\.xscreensaver\)$|\1|p' "$readme")
[ -n "$line" ] || fail "the README gives no line for a ~/.xscreensaver that xscreensaver-settings wrote"
HOME=$written sh -c "$line" && HOME=$written sh -c "$line"
[ "$(grep -c '^  GL: quillfrost --root \\n\\$' "$written/.xscreensaver")" -eq 1 ] ||
    fail "the README's line, run twice, did not leave one entry: $(grep -n quillfrost "$written/.xscreensaver")"

as_user 'exec xscreensaver-settings' &
session=$!
# No daemon runs: xscreensaver-settings offers to start one in a dialog
# over its preview, which Escape closes.
dialog=$(timeout 30 xdotool search --sync --name '^Warning$' | head -n 1) ||
    fail "xscreensaver-settings did not ask about the daemon"
xdotool windowfocus "$dialog" key Escape
shows_snow "xscreensaver-settings" 30
wait "$session" || true

# Quillfrost chosen as the theme list of mate-screensaver-preferences
# chooses it, with no locking.
chosen="set -e
    gsettings set org.mate.screensaver mode single
    gsettings set org.mate.screensaver themes \"['screensavers-quillfrost']\"
    gsettings set org.mate.screensaver lock-enabled false"
as_user "$chosen
    exec mate-screensaver-preferences" &
session=$!
shows_snow "mate-screensaver-preferences" 30
wait "$session" || true

as_user "$chosen
    mate-screensaver --no-daemon &
    until mate-screensaver-command --query >/dev/null 2>&1; do sleep 0.1; done
    mate-screensaver-command --activate >/dev/null
    wait" &
session=$!
shows_snow "mate-screensaver" 100
wait "$session" || true

for _ in $(seq 1 50); do
    user_runs || break
    sleep 0.1
done
! user_runs || fail "left running: $(pgrep -a -u "$user")"
echo "ok: the new user's xscreensaver-settings, mate-screensaver-preferences and mate-screensaver show Quillfrost"
