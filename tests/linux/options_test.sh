#!/usr/bin/env bash
# options_test.sh HACK
# Every kind of bad command line ends HACK with status 2, a first line on
# standard error that names the bad argument (and its value), and the usage.
# No display is needed: the command line is read before the display opens.
set -euo pipefail
hack=$1
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
[ "$failures" -eq 0 ] || exit 1
