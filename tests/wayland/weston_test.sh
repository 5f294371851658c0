#!/bin/bash
# quillfrost-wayland under weston's headless back end, a compositor other than
# sway: it starts, draws frames (its frame rate, which counts the frames the
# compositor asked for and it drew, is above 0) and ends with 0 on SIGTERM.
# Usage: weston_test.sh PROGRAM
set -euo pipefail
source "$(dirname "$0")/wayland_test_lib.sh"

setup_session "$1"
start_as_user weston weston --backend=headless-backend.so --use-pixman --width=1024 --height=768 \
    --socket=wayland-qf --idle-time=0 --no-config
wait_for_socket

start_as_user saver quillfrost-wayland --fps
for _ in $(seq 1 1200); do
    grep -Eq ' [1-9][0-9.]* fps$' "$QF_HOME/saver.log" && break
    [ -s "$QF_HOME/saver.status" ] && fail "it ended: $(cat "$QF_HOME/saver.log")"
    sleep 0.05
done
grep -E ' [1-9][0-9.]* fps$' "$QF_HOME/saver.log" | head -n 1 ||
    fail "no frame drawn within 60 seconds: $(cat "$QF_HOME/saver.log")"
kill -TERM "$QF_PID"
expect "status after SIGTERM" "$(wait_for_status saver 10)" 0
