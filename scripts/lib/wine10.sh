# Wine 10 beside the machine's Wine 8: a Debian 13 (trixie) chroot under
# build/wine10, made once and reused. Needs common.sh (QF_ROOT, qf_log).
# shellcheck shell=bash

QF_WINE10_ROOT="${QF_WINE10_ROOT:-$QF_ROOT/build/wine10}"
# Wine's packages leave OpenGL (libgl1) to their recommends, and XComposite,
# without which Vulkan draws nothing in a child window (a preview). DXVK
# (Direct3D 9 over Vulkan) with Mesa's software Vulkan driver, for runs under
# a second Direct3D 9; only the desktop tests' prefix "dxvk" loads it
# (tests/windows/desktop/desktop.sh).
QF_WINE10_PACKAGES=(wine wine64 libgl1 libgl1-mesa-dri libglx-mesa0 libxcomposite1
    dxvk-wine64 libvulkan1 mesa-vulkan-drivers)
# Written last, with the package list, once the chroot is complete.
QF_WINE10_STAMP="$QF_WINE10_ROOT/.quillfrost-wine10-ready"

# Makes the chroot unless a complete one with the same packages is there; a
# partial or different one is removed and made again.
qf_ensure_wine10() {
    [ "$(cat "$QF_WINE10_STAMP" 2>/dev/null)" = "${QF_WINE10_PACKAGES[*]}" ] && return 0
    mkdir -p "$(dirname "$QF_WINE10_ROOT")"
    # Two scripts starting at once make it only once.
    local lock status=0
    exec {lock}>"$QF_WINE10_ROOT.lock"
    flock "$lock"
    if [ "$(cat "$QF_WINE10_STAMP" 2>/dev/null)" != "${QF_WINE10_PACKAGES[*]}" ]; then
        _qf_make_wine10 || status=1
    fi
    exec {lock}>&-
    return $status
}

_qf_make_wine10() {
    local log="$QF_WINE10_ROOT.log"
    qf_log "making the Wine 10 chroot $QF_WINE10_ROOT (Debian 13)"
    # Runs bind host directories only in mount namespaces of their own, so
    # nothing of the host is mounted in here; make sure before removing it.
    if grep -q " $QF_WINE10_ROOT/" /proc/mounts; then
        qf_log "something is mounted under $QF_WINE10_ROOT; not removing it"
        return 1
    fi
    rm -rf "$QF_WINE10_ROOT"
    if ! debootstrap --variant=minbase trixie "$QF_WINE10_ROOT" http://deb.debian.org/debian \
        >"$log" 2>&1 ||
        ! chroot "$QF_WINE10_ROOT" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin \
            DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends \
            "${QF_WINE10_PACKAGES[@]}" >>"$log" 2>&1; then
        tail -n 20 "$log" >&2
        qf_log "could not make the Wine 10 chroot (log: $log)"
        return 1
    fi
    chroot "$QF_WINE10_ROOT" apt-get clean
    echo "${QF_WINE10_PACKAGES[*]}" >"$QF_WINE10_STAMP"
    qf_log "Wine 10 chroot ready: wine $(chroot "$QF_WINE10_ROOT" dpkg-query -W -f='${Version}' wine)"
}

# qf_wine10 DIR COMMAND [ARGS...]
# Runs COMMAND (wine, wineserver, ...) in the chroot with DIR as working
# directory, on the host's $DISPLAY, and waits until every Wine process it
# started has ended. /proc, /sys, /dev, the X sockets, QF_ROOT, DIR and the
# directories in the array QF_WINE10_BINDS appear at their own paths inside.
# The Wine prefix is /root/prefix-$QF_WINE10_PREFIX in the chroot (default
# "default"), made on first use: "qf_wine10 DIR true" makes it alone. Returns
# COMMAND's exit status (Wine's: the low 8 bits of the Windows exit code).
qf_wine10() {
    local dir=$1
    shift
    # The project first: the chroot lies inside it, and its copy there should
    # not carry the system binds.
    local binds=("$QF_ROOT" "$dir")
    [ -z "${QF_WINE10_BINDS+set}" ] || binds+=("${QF_WINE10_BINDS[@]}")
    binds+=(/proc /sys /dev /tmp/.X11-unix)
    # The binds live in a mount namespace of this run alone: they never show
    # on the host, and go with the run however it ends.
    WINEPREFIX="/root/prefix-${QF_WINE10_PREFIX:-default}" \
        unshare --mount --propagation private "$QF_ROOT/scripts/lib/wine10-enter" \
        "$QF_WINE10_ROOT" "$dir" "${binds[@]}" -- "$@"
}

# qf_start_xephyr SIZE...     e.g. qf_start_xephyr 1024x768 1024x768
# Starts Xephyr nested in $DISPLAY on a free display number, one screen per
# size, side by side as monitors of one desktop (Xinerama). Sets
# QF_XEPHYR_DISPLAY and QF_XEPHYR_PID; the caller ends it.
qf_start_xephyr() {
    local screens=() size n lock
    if ! xdpyinfo >/dev/null 2>&1; then
        qf_log "no display to nest Xephyr in (DISPLAY=${DISPLAY:-})"
        return 1
    fi
    # Their windows side by side on the outer display too.
    local x=0
    for size in "$@"; do
        screens+=(-screen "$size+$x+0")
        x=$((x + ${size%x*}))
    done
    for n in $(seq 160 199); do
        # A lock whose server is gone is the X server's to clear.
        lock="/tmp/.X${n}-lock"
        [ -e "$lock" ] && kill -0 "$(tr -d ' ' <"$lock" 2>/dev/null)" 2>/dev/null && continue
        Xephyr ":$n" +xinerama "${screens[@]}" -nolisten tcp >/dev/null 2>&1 &
        QF_XEPHYR_PID=$!
        QF_XEPHYR_DISPLAY=":$n"
        for _ in $(seq 1 50); do
            DISPLAY=$QF_XEPHYR_DISPLAY xdpyinfo >/dev/null 2>&1 && return 0
            kill -0 "$QF_XEPHYR_PID" 2>/dev/null || break
            sleep 0.1
        done
        kill "$QF_XEPHYR_PID" 2>/dev/null || true
        wait "$QF_XEPHYR_PID" 2>/dev/null || true
    done
    qf_log "could not start Xephyr on $DISPLAY"
    return 1
}
