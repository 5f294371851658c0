#!/usr/bin/env bash
# daemon_test.sh HACK
# The hack as Debian's xscreensaver runs it: the daemon, on an Xvfb display
# of the test's own and with a home whose only display mode is HACK --root,
# is told to blank; the first picture the hack shows is soft snow in the top,
# middle and bottom thirds of the screen alike, not a black sky. Told to
# unblank, the daemon sends the hack SIGTERM and takes its window away, and the
# hack ends on whichever it sees first with status 0 within 5 seconds, as
# strace, attached to it, sees. At the end the daemon exits and nothing of it
# or the hack is left running.
# xscreensaver runs no display modes as root: then the daemon runs as the
# unprivileged user qf-saver, made here when missing. Its home, with a copy of
# HACK, is a folder in /tmp, which that user reaches wherever the build is.
set -euo pipefail
source "$(dirname "$0")/hack_test_lib.sh"

log=$PWD/daemon-xscreensaver.log
trace=$PWD/daemon-hack.strace
rm -f "$trace"
start_xvfb 1024x768
runner="" home=""
finish() {
    if [ -n "$runner" ]; then
        as_user xscreensaver-command -exit >/dev/null 2>&1 || true
        wait "$runner" 2>/dev/null || true
    fi
    kill "$QF_TEST_XVFB" 2>/dev/null || true
    [ -z "$home" ] || rm -rf "$home"
}
trap finish EXIT
home=$(mktemp -d /tmp/quillfrost-daemon.XXXXXX)
chmod 755 "$home"
hack=$home/quillfrost
install -m 755 "$1" "$hack"
# The native build's AddressSanitizer reports a few bytes that Mesa's driver
# keeps at exit as leaks; memory errors still end the hack with a failure.
environment=(HOME="$home" PATH=/usr/bin:/bin ASAN_OPTIONS=detect_leaks=0)
if [ "$(id -u)" -eq 0 ]; then
    user=qf-saver
    id "$user" >/dev/null 2>&1 ||
        useradd --system --no-create-home --home-dir /nonexistent --shell /usr/sbin/nologin "$user"
    as_user() { runuser -u "$user" -- env -i DISPLAY="$DISPLAY" "${environment[@]}" "$@"; }
else
    user=$(id -un)
    as_user() { env -i DISPLAY="$DISPLAY" "${environment[@]}" "$@"; }
fi

# One display mode, blanking only when told to, without locking or fading.
cat >"$home/.xscreensaver" <<CONFIG
timeout:	0:30:00
cycle:		0:00:00
lock:		False
fade:		False
unfade:		False
splash:		False
dpmsEnabled:	False
mode:		one
selected:	0
programs:	GL: $hack --root \\n\\

CONFIG
chown -R "$user" "$home"

as_user xscreensaver -no-splash -verbose >"$log" 2>&1 &
runner=$!
for _ in $(seq 1 100); do
    as_user xscreensaver-command -version >/dev/null 2>&1 && break
    if ! kill -0 "$runner" 2>/dev/null; then
        cat "$log"
        status=0
        wait "$runner" || status=$?
        fail "the daemon ended with status $status"
    fi
    sleep 0.1
done

as_user xscreensaver-command -activate
activated=$(date +%s%N)
# xscreensaver-gfx logs the display mode it starts: '0: forked "..." in pid N'.
hack_pid=""
for _ in $(seq 1 100); do
    hack_pid=$(sed -n 's/.*: forked ".*" in pid \([0-9]*\) .*/\1/p' "$log" | tail -n 1)
    [ -z "$hack_pid" ] || break
    sleep 0.1
done
[ -n "$hack_pid" ] || { cat "$log"; fail "the daemon started no display mode"; }
gfx_pid=$(ps -o ppid= -p "$hack_pid" | tr -d ' ')
[ "$(ps -o args= -p "$hack_pid")" = "$hack --root" ] || fail "pid $hack_pid is no '$hack --root'"
strace -q -e trace=none -p "$hack_pid" -o "$trace" &
tracer=$!
echo "the daemon's xscreensaver-gfx (pid $gfx_pid) runs the hack in pid $hack_pid"

wait_for_drawing 1024x768+0+0 "$hack_pid"
import -window root "$PWD/daemon-snow.png"
echo "the hack drew by $((($(date +%s%N) - activated) / 1000000)) ms after the activation"
for third in top:1024x256+0+0 middle:1024x256+0+256 bottom:1024x256+0+512; do
    snow_check "snow in the ${third%%:*} third" "$PWD/daemon-snow.png" "${third#*:}" 30 0.5 8 ||
        fail "the first picture shows no soft snow in the ${third%%:*} third"
done

as_user xscreensaver-command -deactivate
wait_for_exit "$hack_pid" 5
wait "$tracer" || true
cat "$trace"
# The signal waits while a frame is drawn: a frame that finds the window gone
# ends the run before the signal is taken.
if grep -q "^--- SIGTERM {.*si_pid=$gfx_pid," "$trace"; then
    ended_by="SIGTERM from xscreensaver-gfx"
else
    ended_by="its window's end"
fi
[ "$(tail -n 1 "$trace")" = "+++ exited with 0 +++" ] || fail "the hack did not end with status 0"

as_user xscreensaver-command -exit
wait_for_exit "$runner" 5
# The daemon and whatever it started carry its home in their environment.
for pid in $(pgrep -u "$user" || true); do
    if { tr '\0' '\n' <"/proc/$pid/environ"; } 2>/dev/null | grep -qxF "HOME=$home"; then
        fail "left running: $(ps -o pid=,args= -p "$pid" || true)"
    fi
done
echo "ok: snow under xscreensaver, and $ended_by ended the hack with status 0"
