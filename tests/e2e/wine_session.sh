#!/usr/bin/env bash
# Starts or stops the Xvfb display and persistent wineserver that one end-to-end test run uses.
#
# Each run takes its own prefix's lock (a second run of the same prefix waits for the first to
# stop) and a display no one else uses: Xvfb picks a free number itself, written to
# e2e-display beside the prefix, where the tests read it. E2E_DISPLAY=:N asks for display N.
# WINE_LOADER and WINEARCH are the lane's (tests/e2e/wine_lane.py): "wine" and win32, or
# Wine's 64-bit loader and win64 where the 32-bit one cannot run.
set -euo pipefail

usage() {
    echo "usage: WINEPREFIX=DIR [WINE_LOADER=CMD WINEARCH=win32|win64] [E2E_DISPLAY=:N] $0 start|stop" >&2
    exit 2
}

[ $# -eq 1 ] || usage
: "${WINEPREFIX:?WINEPREFIX must name the test prefix}"
WINE_LOADER="${WINE_LOADER:-wine}"
export WINEARCH="${WINEARCH:-win32}"
case "$WINEPREFIX" in /*) ;; *) WINEPREFIX="$PWD/$WINEPREFIX" ;; esac
export WINEPREFIX
state_dir="$(dirname "$WINEPREFIX")"
pid_file="$state_dir/e2e-xvfb.pid"
display_file="$state_dir/e2e-display"
lock_file="$state_dir/e2e.lock"
display="${E2E_DISPLAY:-}"
if [ -z "$display" ] && [ -f "$display_file" ]; then
    display="$(cat "$display_file")"
fi
display_number() { local n="${display#:}"; echo "${n%%.*}"; }
[ -z "$display" ] || [[ "$(display_number)" =~ ^[0-9]+$ ]] ||
    { echo "wine_session: bad display '$display'" >&2; exit 2; }

is_alive() { # pid; a zombie does not count
    [ -r "/proc/$1/stat" ] && ! awk '{ exit $3 == "Z" ? 0 : 1 }' "/proc/$1/stat" 2>/dev/null
}

is_our_xvfb() { # pid
    [ -r "/proc/$1/cmdline" ] && tr '\0' ' ' <"/proc/$1/cmdline" | grep -q '^[^ ]*Xvfb '
}

kill_server() {
    if [ -d "$WINEPREFIX" ]; then
        wineserver -k >/dev/null 2>&1 || true
        wineserver -w >/dev/null 2>&1 || true
    fi
}

kill_xvfb() {
    [ -f "$pid_file" ] || return 0
    local pid
    pid="$(cat "$pid_file")"
    if [[ "$pid" =~ ^[0-9]+$ ]] && is_our_xvfb "$pid"; then
        kill "$pid" 2>/dev/null || true
        for _ in $(seq 50); do is_our_xvfb "$pid" || break; sleep 0.1; done
        if is_our_xvfb "$pid"; then kill -9 "$pid" 2>/dev/null || true; fi
        echo "stopped Xvfb pid $pid"
    fi
    rm -f "$pid_file"
}

display_up() {
    [ -n "$display" ] || return 1
    if command -v xdpyinfo >/dev/null; then
        xdpyinfo -display "$display" >/dev/null 2>&1
    else
        [ -S "/tmp/.X11-unix/X$(display_number)" ]
    fi
}

start() {
    local t0=$SECONDS
    # The prefix's lock, held by Xvfb (which inherits it) until stop ends it: a second run of
    # the same prefix waits here for the first to stop, rather than taking its session away.
    mkdir -p "$state_dir"
    exec 9>"$lock_file"
    flock -w 900 9 || { echo "wine_session: $WINEPREFIX stays in use by another run" >&2; exit 1; }
    kill_server
    kill_xvfb >/dev/null
    # Whatever fails from here on must not leave a display or server behind.
    trap 'if [ $? -ne 0 ]; then kill_server; kill_xvfb >/dev/null; fi' EXIT
    mkdir -p "$state_dir"
    rm -f "$display_file"
    if [ -n "${E2E_DISPLAY:-}" ]; then
        display="$E2E_DISPLAY"
        Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp \
            </dev/null >"$state_dir/e2e-xvfb.log" 2>&1 &
    else
        # Xvfb takes the first free display and writes its number to descriptor 8.
        display=""
        Xvfb -displayfd 8 -screen 0 1024x768x24 -nolisten tcp \
            </dev/null >"$state_dir/e2e-xvfb.log" 2>&1 8>"$state_dir/e2e-display.number" &
    fi
    local xpid=$!
    exec 9>&-
    echo "$xpid" >"$pid_file"
    for _ in $(seq 100); do
        if [ -z "${E2E_DISPLAY:-}" ] && [ -s "$state_dir/e2e-display.number" ]; then
            display=":$(tr -dc '0-9' <"$state_dir/e2e-display.number")"
        fi
        display_up && break
        is_alive "$xpid" || break
        sleep 0.1
    done
    if ! display_up; then
        echo "wine_session: Xvfb on ${display:-a free display} did not come up, see $state_dir/e2e-xvfb.log" >&2
        exit 1
    fi
    echo "$display" >"$display_file"

    export DISPLAY="$display" WINEDEBUG=-all
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        # A new win64 prefix tries once to start syswow64's rundll32, fails, and works.
        WINEDLLOVERRIDES="mscoree,mshtml=" $WINE_LOADER wineboot -i >/dev/null 2>&1 || true
        wineserver -w
        [ -f "$WINEPREFIX/system.reg" ] || { echo "wine_session: wineboot made no prefix" >&2; exit 1; }
        echo "created prefix $WINEPREFIX"
    fi
    if ! grep -q "^#arch=$WINEARCH" "$WINEPREFIX/system.reg"; then
        echo "wine_session: $WINEPREFIX is not a $WINEARCH prefix; delete it" >&2
        exit 1
    fi
    # With no window manager on Xvfb, Wine waits 2 s for each managed window to be withdrawn
    # (every closed message box); unmanaged windows close at once.
    if ! grep -q '^"Managed"="N"' "$WINEPREFIX/user.reg"; then
        $WINE_LOADER reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
        wineserver -w
    fi
    # Daemonizes by itself; its descriptors must not keep the caller's pipes open.
    wineserver -p </dev/null >/dev/null 2>&1
    trap - EXIT
    echo "started Xvfb $display (pid $xpid) and wineserver for $WINEPREFIX in $((SECONDS - t0)) s"
}

stop() {
    kill_server
    kill_xvfb
    rm -f "$display_file" "$state_dir/e2e-display.number"
    echo "stopped wineserver for $WINEPREFIX"
}

case "$1" in
start) start ;;
stop) stop ;;
*) usage ;;
esac
