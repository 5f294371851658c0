# Sourced by the shell tests: how a check fails, and one that compares.
# shellcheck shell=bash

fail() {
    echo "FAILED: $*" >&2
    exit 1
}

# expect WHAT ACTUAL EXPECTED
expect() {
    [ "$2" = "$3" ] || fail "$1: '$2', expected '$3'"
    echo "ok: $1 = $3"
}
