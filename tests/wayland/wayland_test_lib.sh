# Sourced by the tests of quillfrost-wayland: a compositor of the test's own,
# run by an unprivileged user (sway refuses root), and the program under it.
# shellcheck shell=bash

source "$(dirname "${BASH_SOURCE[0]}")/../support/snow_check.sh"
source "$(dirname "${BASH_SOURCE[0]}")/../support/checks.sh"

# setup_session PROGRAM
# A home in /tmp that the user reaches wherever the build is, with a copy of
# PROGRAM and a private runtime folder; QF_USER runs everything. The
# compositor and every process started with start_as_user end with the test.
setup_session() {
    QF_HOME=$(mktemp -d /tmp/qf-wayland.XXXXXX)
    chmod 755 "$QF_HOME"
    cp "$1" "$QF_HOME/quillfrost-wayland"
    mkdir -m 700 "$QF_HOME/run"
    if [ "$(id -u)" -eq 0 ]; then
        QF_USER=qf-saver
        # Another test may be adding the same user at the same moment.
        id "$QF_USER" >/dev/null 2>&1 ||
            useradd --system --no-create-home --home-dir /nonexistent --shell /usr/sbin/nologin \
                "$QF_USER" 2>/dev/null || id "$QF_USER" >/dev/null
        chown "$QF_USER" "$QF_HOME" "$QF_HOME/run"
    else
        QF_USER=$(id -un)
    fi
    QF_PIDS=()
    trap end_session EXIT
}

end_session() {
    local pid
    for pid in "${QF_PIDS[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
    wait 2>/dev/null || true # the wrappers, which write the statuses
    rm -rf "$QF_HOME"
}

# as_user VARIABLE=VALUE... COMMAND...: in the session's environment.
as_user() {
    local environment=(HOME="$QF_HOME" PATH="$QF_HOME:/usr/bin:/bin" XDG_RUNTIME_DIR="$QF_HOME/run"
        ASAN_OPTIONS=detect_leaks=0 ${QF_WAYLAND_DISPLAY:+WAYLAND_DISPLAY=$QF_WAYLAND_DISPLAY}
        ${QF_SWAYSOCK:+SWAYSOCK=$QF_SWAYSOCK})
    if [ "$QF_USER" = "$(id -un)" ]; then
        env -i "${environment[@]}" "$@"
    else
        runuser -u "$QF_USER" -- env -i "${environment[@]}" "$@"
    fi
}

# start_as_user NAME COMMAND...: in the background; its pid in QF_PID, ended
# with the test. Its output goes to $QF_HOME/NAME.log, and its status to
# $QF_HOME/NAME.status once it ends.
start_as_user() {
    local name=$1
    shift
    rm -f "$QF_HOME/$name.pid" "$QF_HOME/$name.status"
    as_user sh -c '"$@" > "$0.log" 2>&1 & echo $! > "$0.new"; mv "$0.new" "$0.pid"
        wait $!; echo $? > "$0.status"' "$QF_HOME/$name" "$@" 2>/dev/null &
    for _ in $(seq 1 200); do
        [ -s "$QF_HOME/$name.pid" ] && break
        sleep 0.05
    done
    QF_PID=$(cat "$QF_HOME/$name.pid")
    QF_PIDS+=("$QF_PID")
}

# wait_for_socket: the compositor's socket appears in the runtime folder.
wait_for_socket() {
    for _ in $(seq 1 200); do
        QF_WAYLAND_DISPLAY=$(find "$QF_HOME/run" -maxdepth 1 -name 'wayland-*' ! -name '*.lock' -printf '%f\n' | head -n 1)
        [ -n "$QF_WAYLAND_DISPLAY" ] && return 0
        sleep 0.05
    done
    fail "the compositor made no socket within 10 seconds"
}

# wait_for_status NAME SECONDS: the status the command NAME ended with.
wait_for_status() {
    for _ in $(seq 1 $(($2 * 20))); do
        [ -s "$QF_HOME/$1.status" ] && {
            cat "$QF_HOME/$1.status"
            return 0
        }
        sleep 0.05
    done
    fail "$1 still runs $2 seconds later"
}
