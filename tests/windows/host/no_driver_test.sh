#!/usr/bin/env bash
# no_driver_test.sh SAVER WORK_DIR
# Quillfrost.scr /s on a machine with no 3D driver (a Wine prefix of the
# test's own whose Direct3D renderer is "no3d") started from a read-only
# current directory: the run ends with exit code 1 and the user's own log,
# %LOCALAPPDATA%\Nubrisk\Quillfrost\log.txt, holds a line naming the call
# that failed. The directory is a read-only bind mount in a mount namespace
# of the test's own, where Wine's server runs too (it is the one that opens
# files).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../../../scripts/lib/common.sh"
source "$here/../../support/checks.sh"
qf_own_wineprefix no3d 'HKCU\Software\Wine\Direct3D' renderer REG_SZ no3d
work=$(realpath -m "$2")
rm -rf "$work"
mkdir -p "$work/cwd"
log="$WINEPREFIX/drive_c/users/$(id -un)/AppData/Local/Nubrisk/Quillfrost/log.txt"
rm -f "$log"

status=0
unshare --mount --propagation private bash -c '
    mount --bind "$1" "$1" && mount -o remount,bind,ro "$1" || exit 90
    touch "$1/probe" 2>/dev/null && exit 91
    cd "$1" && wine "$2" /s
    status=$?
    wineserver -k 2>/dev/null
    exit $status' - "$work/cwd" "$(realpath "$1")" || status=$?
[ "$status" -ne 90 ] || fail "could not mount $work/cwd read-only"
[ "$status" -ne 91 ] || fail "$work/cwd is writable"
expect "exit code of /s with no 3D driver" "$status" 1
[ -z "$(ls -A "$work/cwd")" ] || fail "something was written to the read-only directory"
echo "the user's log: $(tr -d '\r' <"$log" 2>/dev/null)"
grep -qE '^(Direct3DCreate9 failed|CreateDevice failed)' "$log" ||
    fail "no line in $log names the failed call"
