#!/usr/bin/env bash
# Starts or stops the Xvfb display and persistent wineserver that one end-to-end test run uses.
set -euo pipefail

usage() {
    echo "usage: WINEPREFIX=DIR [E2E_DISPLAY=:87] $0 start|stop" >&2
    exit 2
}

[ $# -eq 1 ] || usage
: "${WINEPREFIX:?WINEPREFIX must name the test prefix}"
case "$WINEPREFIX" in /*) ;; *) WINEPREFIX="$PWD/$WINEPREFIX" ;; esac
export WINEPREFIX
display="${E2E_DISPLAY:-:87}"
num="${display#:}"
num="${num%%.*}"
[[ "$num" =~ ^[0-9]+$ ]] || { echo "wine_session: bad E2E_DISPLAY '$display'" >&2; exit 2; }
state_dir="$(dirname "$WINEPREFIX")"
pid_file="$state_dir/e2e-xvfb.pid"

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
    if command -v xdpyinfo >/dev/null; then
        xdpyinfo -display "$display" >/dev/null 2>&1
    else
        [ -S "/tmp/.X11-unix/X$num" ]
    fi
}

start() {
    local t0=$SECONDS
    kill_server
    kill_xvfb >/dev/null
    # Whatever fails from here on must not leave a display or server behind.
    trap 'if [ $? -ne 0 ]; then kill_server; kill_xvfb >/dev/null; fi' EXIT
    mkdir -p "$state_dir"
    local lock="/tmp/.X$num-lock"
    if [ -f "$lock" ]; then
        local other
        other="$(tr -d ' ' <"$lock")"
        if [[ "$other" =~ ^[0-9]+$ ]] && is_alive "$other"; then
            echo "wine_session: display $display is in use by pid $other" >&2
            exit 1
        fi
    fi
    Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp \
        </dev/null >"$state_dir/e2e-xvfb.log" 2>&1 &
    local xpid=$!
    echo "$xpid" >"$pid_file"
    for _ in $(seq 100); do
        display_up && break
        is_alive "$xpid" || break
        sleep 0.1
    done
    if ! display_up; then
        echo "wine_session: Xvfb on $display did not come up, see $state_dir/e2e-xvfb.log" >&2
        exit 1
    fi

    export DISPLAY="$display" WINEDEBUG=-all
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        WINEARCH=win32 WINEDLLOVERRIDES="mscoree,mshtml=" wineboot -i >/dev/null 2>&1
        wineserver -w
        echo "created prefix $WINEPREFIX"
    fi
    if ! grep -q '^#arch=win32' "$WINEPREFIX/system.reg"; then
        echo "wine_session: $WINEPREFIX is not a 32-bit prefix; delete it" >&2
        exit 1
    fi
    # With no window manager on Xvfb, Wine waits 2 s for each managed window to be withdrawn
    # (every closed message box); unmanaged windows close at once.
    if ! grep -q '^"Managed"="N"' "$WINEPREFIX/user.reg"; then
        wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
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
    echo "stopped wineserver for $WINEPREFIX"
}

case "$1" in
start) start ;;
stop) stop ;;
*) usage ;;
esac
