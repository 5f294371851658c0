#!/usr/bin/env bash
# scripts/run --web [query]
# Builds the browser's page (build/web) and serves its static folder on
# http://127.0.0.1:PORT/ (QF_WEB_PORT, default 8631) with Python's
# http.server. With a working $DISPLAY it opens the page, with the query
# (say '?quantity=80&fps=1') if given, in Chromium there and serves it until
# that window is closed. With none, headless Chromium loads it and saves a
# screenshot to quillfrost-web.png once the snow shows (and QF_RUN_SECONDS
# more, default 2). Either way its exit code is printed.
set -euo pipefail
source "$(dirname "$0")/common.sh"
cd "$QF_ROOT"

query="${1:-}"
port="${QF_WEB_PORT:-8631}"
qf_ensure_packages
qf_ensure_web_tests
cmake --preset web >/dev/null
cmake --build --preset web --target web_site
site=$QF_ROOT/build/web/src/web/site

python3 -m http.server "$port" --bind 127.0.0.1 --directory "$site" >/dev/null 2>&1 &
server=$!
trap 'kill "$server" 2>/dev/null || true' EXIT
for _ in $(seq 1 50); do
    python3 -c "import urllib.request; urllib.request.urlopen('http://127.0.0.1:$port/')" \
        2>/dev/null && break
    sleep 0.1
done
url="http://127.0.0.1:$port/$query"
qf_log "the page is served on $url"

code=0
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    profile=$(mktemp -d)
    # Root runs Chromium only without its sandbox.
    sandbox=()
    [ "$(id -u)" -ne 0 ] || sandbox=(--no-sandbox)
    chromium "${sandbox[@]}" --user-data-dir="$profile" --no-first-run \
        --disable-background-networking "$url" || code=$?
    rm -rf "$profile"
else
    node scripts/lib/web-screenshot.mjs "$url" "$QF_ROOT/quillfrost-web.png" \
        "${QF_RUN_SECONDS:-2}" || code=$?
fi
echo "exit code $code"
exit "$code"
