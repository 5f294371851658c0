#!/usr/bin/env bash
# options_test.sh HACK VERSION
# Every kind of bad command line ends HACK with status 2, a first line on
# standard error that names the bad argument (and its value), and the usage.
# The options that the framework passes every display mode are taken, and
# --version prints the project's VERSION. No display is needed: the command
# line is read before the display opens. Without DISPLAY, the hack ends with
# 1 and says that it is not set.
set -euo pipefail
hack=$1 version=$2
unset DISPLAY
failures=0

# expect_rejected ARG...: one bad command line, every argument of it named.
expect_rejected() {
    local status=0 err first arg
    err=$(timeout 10 "$hack" "$@" 2>&1 >/dev/null) || status=$?
    first=$(head -n 1 <<<"$err")
    local problem=""
    [ "$status" -eq 2 ] || problem="status $status"
    for arg in "$@"; do
        [[ "$first" == "quillfrost: "*"$arg"* ]] || problem="${problem:+$problem, }no '$arg' in the message"
    done
    grep -q '^usage: quillfrost ' <<<"$err" || problem="${problem:+$problem, }no usage"
    if [ -n "$problem" ]; then
        echo "FAILED: quillfrost $*: $problem: $first"
        failures=$((failures + 1))
    else
        echo "ok: quillfrost $*: $first"
    fi
}

expect_rejected --snow                    # unknown
expect_rejected -fractal_wind             # unknown, one dash
expect_rejected --fractal-wind=no         # unknown: no value to an on/off option
expect_rejected root                      # no dash
expect_rejected --quantity 101            # out of range
expect_rejected -speed 250                # out of range, one dash
expect_rejected --delay 10000001          # out of range
expect_rejected --speed 99999999999999999999999 # past any integer
expect_rejected --quantity ten            # not a number
expect_rejected --speed -5                # signed
expect_rejected --delay 1.5               # not whole
expect_rejected --quantity ""             # empty
expect_rejected --window-id 0xZZ          # not hexadecimal
expect_rejected --window-id 12abc         # trailing text
expect_rejected --delay                   # missing value
expect_rejected --window-id               # missing value
expect_rejected --display ""              # empty
expect_rejected -display                  # missing value
expect_rejected -geometry 640x            # no height
expect_rejected --geometry 640x480+10     # no y
expect_rejected -geometry 0x0             # no size
expect_rejected --geometry 40000x100      # larger than any window
expect_rejected -geometry 640x480+1+2px   # trailing text
expect_rejected -visual Truecolour        # no such class
expect_rejected --visual 0xZZ             # not hexadecimal

# The framework's options, with one dash or two, then --help: the program
# reads the whole command line, prints the usage and ends with 0.
status=0
err=$(timeout 10 "$hack" -display :7 -geometry 640x480-10+20 --visual TrueColor -visual 0x21 \
    --install -visual default --help 2>&1 >/dev/null) || status=$?
if [ "$status" -ne 0 ]; then
    echo "FAILED: the framework's options: status $status: $err"
    failures=$((failures + 1))
else
    echo "ok: -display, -geometry, -visual and -install taken"
fi
printed=$(timeout 10 "$hack" --version) || true
if [ "$printed" != "quillfrost $version" ]; then
    echo "FAILED: --version printed '$printed', expected 'quillfrost $version'"
    failures=$((failures + 1))
else
    echo "ok: --version: $printed"
fi
status=0
err=$(timeout 10 "$hack" 2>&1 >/dev/null) || status=$?
if [ "$status" -ne 1 ] || [ "$err" != "quillfrost: cannot open the display: DISPLAY is not set" ]; then
    echo "FAILED: without DISPLAY: status $status: $err"
    failures=$((failures + 1))
else
    echo "ok: without DISPLAY: $err"
fi
[ "$failures" -eq 0 ] || exit 1
