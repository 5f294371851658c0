#!/usr/bin/env bash
# scripts/run --linux [options]
# Builds the xscreensaver hack quillfrost (Release, in build/linux or
# QF_LINUX_BUILD_DIR) and runs it with the given options: in a window of its
# own unless they say --root or --window-id. With a working $DISPLAY it runs
# there until it ends (Escape, q or the close box of its own window). With
# none, it runs on an Xvfb display of its own: once the screen is no longer
# all black it draws QF_RUN_SECONDS more (default 5), a screenshot is saved to
# quillfrost-linux.png, and SIGTERM ends it as the xscreensaver daemon does.
# Either way its exit code is printed.
set -euo pipefail
source "$(dirname "$0")/common.sh"
cd "$QF_ROOT"

run_seconds="${QF_RUN_SECONDS:-5}"
build_dir="${QF_LINUX_BUILD_DIR:-build/linux}"

qf_ensure_packages
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQF_SANITIZE=OFF >/dev/null
cmake --build "$build_dir" --target quillfrost
hack=$(cd "$build_dir" && pwd)/src/linux/quillfrost

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    code=0
    "$hack" "$@" || code=$?
    echo "exit code $code"
    exit "$code"
fi

unset DISPLAY
qf_ensure_display
"$hack" "$@" &
hack_pid=$!
running() { kill -0 "$hack_pid" 2>/dev/null; }

# The flakes drift in one by one: wait until something is drawn, then let it
# snow a while.
screen_blank() {
    [ "$(import -window root png:- 2>/dev/null | convert - -format '%[fx:maxima]' info: 2>/dev/null)" = "0" ]
}
for _ in $(seq 1 60); do
    if ! running || ! screen_blank; then
        break
    fi
    sleep 0.5
done
for _ in $(seq 1 $((run_seconds * 10))); do
    running || break
    sleep 0.1
done

if running; then
    # Its own window when it has one, else the whole screen.
    window=$(xdotool search --onlyvisible --name '^Quillfrost$' 2>/dev/null | head -n 1 || true)
    import -window "${window:-root}" "$QF_ROOT/quillfrost-linux.png"
    qf_log "saved quillfrost-linux.png"
    kill -TERM "$hack_pid"
    for _ in $(seq 1 150); do
        running || break
        sleep 0.1
    done
    if running; then
        qf_log "quillfrost did not end within 15 seconds of SIGTERM; killing it"
        kill -KILL "$hack_pid"
    fi
else
    qf_log "quillfrost ended before the screenshot"
fi
code=0
wait "$hack_pid" || code=$?
echo "exit code $code"
exit "$code"
