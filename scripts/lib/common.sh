# Shared by scripts/run and scripts/test: packages, display and Wine prefix.
# shellcheck shell=bash

QF_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
export QF_ROOT
export WINEPREFIX="${QF_WINEPREFIX:-$QF_ROOT/build/wineprefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
# No Mono or Gecko installer dialogs when the prefix is made.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"

QF_PACKAGES=(
    cmake ninja-build g++ clang libclang-rt-14-dev clang-format
    libgtest-dev libgmock-dev googletest libbenchmark-dev zlib1g-dev libpng-dev
    g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64
    wine wine64 xvfb xauth xdotool x11-utils imagemagick
    debootstrap xserver-xephyr
    wixl msitools faketime zip unzip osslsigncode gnupg openssl perl git lintian locales
    libx11-dev libgl-dev libpng-dev libgl1-mesa-dri xscreensaver
    libxml2-utils dpkg-dev file strace procps
    mate-screensaver dbus-daemon libglib2.0-bin
    emscripten chromium nodejs
    pkg-config libwayland-dev wayland-protocols libegl-dev sway swayidle grim wtype weston
)

qf_log() { printf '[quillfrost] %s\n' "$*" >&2; }

# Emscripten's tools find their Node modules here (Node 20 looks nowhere else).
export NODE_PATH="${NODE_PATH:-/usr/share/nodejs}"

# Installs whatever of QF_PACKAGES is missing, from Debian's archive only.
qf_ensure_packages() {
    local missing=()
    local pkg
    for pkg in "${QF_PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' || missing+=("$pkg")
    done
    if [ ${#missing[@]} -gt 0 ]; then
        qf_log "installing: ${missing[*]}"
        local sudo=""
        [ "$(id -u)" -eq 0 ] || sudo=sudo
        $sudo apt-get update -qq
        DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
    fi
}

# Uses $DISPLAY when there is one; otherwise starts an Xvfb display that ends
# with the calling script, and that does not reset when its last client
# leaves (a client connecting meanwhile would be dropped).
qf_ensure_display() {
    if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
        return 0
    fi
    local n
    for n in $(seq 91 120); do
        [ -e "/tmp/.X${n}-lock" ] && continue
        Xvfb ":$n" -screen 0 1280x1024x24 -noreset -nolisten tcp >/dev/null 2>&1 &
        QF_XVFB_PID=$!
        export DISPLAY=":$n"
        local i
        for i in $(seq 1 50); do
            xdpyinfo >/dev/null 2>&1 && break
            sleep 0.1
        done
        if xdpyinfo >/dev/null 2>&1; then
            trap 'kill "$QF_XVFB_PID" 2>/dev/null || true' EXIT
            qf_log "started Xvfb on $DISPLAY"
            return 0
        fi
        kill "$QF_XVFB_PID" 2>/dev/null || true
    done
    qf_log "could not start Xvfb"
    return 1
}

# Makes the project's own Wine prefix once.
qf_ensure_wineprefix() {
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        qf_log "making the Wine prefix $WINEPREFIX"
        mkdir -p "$WINEPREFIX"
        wineboot -i >/dev/null 2>&1 || true
    fi
    qf_wine_unmanaged
    wineserver -w 2>/dev/null || true
}

# qf_own_wineprefix NAME KEY VALUE TYPE DATA
# For a test that needs a Wine set up otherwise: WINEPREFIX becomes
# build/wineprefix-NAME, made once with the registry value KEY\VALUE.
qf_own_wineprefix() {
    export WINEPREFIX="$QF_ROOT/build/wineprefix-$1"
    [ ! -f "$WINEPREFIX/.complete" ] || return 0
    rm -rf "$WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1 || true
    wine reg add "$2" /v "$3" /t "$4" /d "$5" /f >/dev/null 2>&1
    wineserver -w
    touch "$WINEPREFIX/.complete"
}

# No window manager runs on the test displays: Wine is told so, or it waits
# two seconds for one each time a full-screen window is hidden or destroyed.
qf_wine_unmanaged() {
    grep -qF '"Managed"="N"' "$WINEPREFIX/user.reg" 2>/dev/null ||
        wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 || true
}

# The browser tests' Node packages (tests/web/package-lock.json: playwright-core,
# pngjs, and Lighthouse with its chrome-launcher) from npm, once; they drive
# Debian's Chromium and download no browser of their own.
qf_ensure_web_tests() {
    if ! command -v npm >/dev/null; then
        local QF_PACKAGES=(npm)
        qf_ensure_packages
    fi
    if [ ! -f "$QF_ROOT/tests/web/node_modules/.package-lock.json" ] ||
        [ "$QF_ROOT/tests/web/package-lock.json" -nt "$QF_ROOT/tests/web/node_modules/.package-lock.json" ]; then
        qf_log "installing the browser tests' Node packages"
        PLAYWRIGHT_SKIP_BROWSER_DOWNLOAD=1 npm ci --prefix "$QF_ROOT/tests/web" --no-audit --no-fund \
            --loglevel=error >/dev/null
    fi
}
