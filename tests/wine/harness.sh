#!/usr/bin/env bash
# Fixtures of the Wine tests: one fresh prefix and one private X server per
# test run, shared by every Wine test of that run.
#
#   harness.sh setup   STATE_DIR win32|win64 [WxH]  fresh prefix in STATE_DIR/prefix
#                                              of that flavour, Xvfb started
#                                              (1024x768 unless WxH is given)
#   harness.sh dpi     STATE_DIR N             programs started from now on in
#                                              that prefix get N dots per inch
#   harness.sh cleanup STATE_DIR               wineserver and Xvfb stopped
#
# STATE_DIR is normally <build>/wine. It also holds the flavour ("arch"), the
# display number ("display"), the Xvfb process id ("xvfb.pid") and the logs.
# run-in-wine.sh reads the same files. Both verbs are safe to repeat; setup first stops what
# an interrupted earlier run may have left.
set -euo pipefail

readonly verb=${1:-}
if [[ -z $verb || -z ${2:-} ]]; then
    echo "usage: $0 setup STATE_DIR win32|win64 [WxH], $0 dpi STATE_DIR N or $0 cleanup STATE_DIR" >&2
    exit 2
fi
state=$(realpath -m "$2")
readonly state

readonly prefix=$state/prefix
readonly log=$state/setup.log

say() { echo "harness: $*"; }
fail() {
    echo "harness: $*" >&2
    if [[ -f $log ]]; then
        echo "--- last lines of $log:" >&2
        tail -n 30 "$log" >&2
    fi
    exit 1
}

wine_env() {
    # shellcheck source=wine-env.sh
    source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh" || fail "no Wine flavour"
}

# True if PID is a live Xvfb (the pid file may be stale and its number reused;
# a zombie that no one has reaped yet counts as gone).
is_our_xvfb() {
    local pid=$1 stat
    [[ $pid =~ ^[0-9]+$ ]] || return 1
    stat=$(cat "/proc/$pid/stat" 2>/dev/null) || return 1
    [[ $stat == "$pid (Xvfb) "[^Z]* ]]
}

stop_xvfb() {
    local pid
    [[ -f $state/xvfb.pid ]] || return 0
    pid=$(cat "$state/xvfb.pid")
    if is_our_xvfb "$pid"; then
        kill "$pid" 2>/dev/null || true
        for _ in $(seq 50); do
            is_our_xvfb "$pid" || break
            sleep 0.1
        done
        if is_our_xvfb "$pid"; then
            kill -9 "$pid" 2>/dev/null || true
        fi
        say "stopped Xvfb (pid $pid)"
    fi
    rm -f "$state/xvfb.pid" "$state/display"
}

stop_wineserver() {
    [[ -d $prefix ]] || return 0
    arch=$(cat "$state/arch" 2>/dev/null || echo win32)
    wine_env
    # -k ends every Wine process of this prefix, then the server itself.
    wineserver -k 2>/dev/null || true
    timeout 20 wineserver -w 2>/dev/null || true
}

start_xvfb() {
    local fifo=$state/displayfd display pid
    rm -f "$fifo"
    mkfifo "$fifo"
    # -displayfd lets Xvfb pick a free display and report it once it accepts
    # connections. Output goes to a log: a daemon holding the test's pipe
    # would keep ctest waiting.
    Xvfb -displayfd 3 -screen 0 "${screen}x24" -nolisten tcp -noreset \
        3>"$fifo" </dev/null >"$state/xvfb.log" 2>&1 &
    pid=$!
    echo "$pid" >"$state/xvfb.pid"
    if ! display=$(timeout 20 head -n 1 "$fifo"); then
        rm -f "$fifo"
        fail "Xvfb did not report a display (see $state/xvfb.log)"
    fi
    rm -f "$fifo"
    [[ $display =~ ^[0-9]+$ ]] || fail "Xvfb reported no display number: '$display'"
    is_our_xvfb "$pid" || fail "Xvfb exited at start (see $state/xvfb.log)"
    echo "$display" >"$state/display"
    say "Xvfb on :$display (pid $pid)"
}

make_prefix() {
    local started=$SECONDS
    wine_env
    DISPLAY=:$(cat "$state/display")
    export DISPLAY
    rm -rf "$prefix"
    # Wine refuses a prefix that the current user does not own, so make it
    # here rather than letting a stale one from another user linger.
    mkdir -p "$prefix"
    if ! timeout 120 "$wine" wineboot -i </dev/null >>"$log" 2>&1; then
        # In a 64-bit prefix wineboot ends by installing the 32-bit half
        # (syswow64) with the 32-bit loader, wherever wine32 is installed.
        # That step is Wine's own and can fail on its own ("could not load
        # kernel32.dll"); the 64-bit programs never use that half, so only
        # the 64-bit system files decide.
        [[ $arch == win64 && -f $prefix/drive_c/windows/system32/kernel32.dll &&
            -f $prefix/drive_c/windows/system32/user32.dll ]] || fail "wineboot -i failed"
        say "wineboot failed in the prefix's 32-bit half, which the 64-bit programs do not use"
        # Whatever that step left running goes; the server saves the
        # registry as it ends.
        wineserver -k >>"$log" 2>&1 || true
        timeout 60 wineserver -w >>"$log" 2>&1 || true
    fi
    # There is no window manager on the test display. Wine waits up to two
    # seconds for one whenever a managed window is hidden or destroyed;
    # unmanaged windows skip that wait and stay exactly where they are put.
    timeout 60 "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f \
        </dev/null >>"$log" 2>&1 || fail "cannot set Wine's X11 options"
    # The registry reaches disk only when the server ends.
    timeout 120 wineserver -w >>"$log" 2>&1 || fail "wineserver did not finish"
    [[ -f $prefix/system.reg ]] || fail "no registry in the new prefix"
    say "prefix made in $((SECONDS - started)) s: $prefix"
}

# The fixed folders that the programs expect of a Windows XP in English and
# that Wine's newer layout lacks. The Start Menu folder "Brenlo_kelvo" is
# left out on purpose: setup creates it.
make_xp_folders() {
    local c=$prefix/drive_c
    [[ -d $c/windows/system32 ]] || fail "prefix has no C:\\WINDOWS\\system32"
    mkdir -p "$c/Documents and Settings/All Users/Start Menu/Programs/Startup"
}

start_wineserver() {
    # A persistent server keeps the prefix warm between test programs; the
    # cleanup fixture ends it.
    wineserver -p </dev/null >>"$log" 2>&1 || fail "wineserver -p failed"
}

case $verb in
    setup)
        mkdir -p "$state"
        stop_wineserver
        stop_xvfb
        arch=${3:-win32}
        screen=${4:-1024x768}
        [[ $screen =~ ^[0-9]+x[0-9]+$ ]] || fail "screen size '$screen' is not WxH"
        echo "$arch" >"$state/arch"
        : >"$log"
        # A half-made fixture leaves nothing running behind it.
        trap 'stop_wineserver; stop_xvfb' EXIT
        start_xvfb
        make_prefix
        make_xp_folders
        start_wineserver
        say "Wine flavour $arch: $("$wine" --version 2>&1)"
        trap - EXIT
        ;;
    dpi)
        [[ ${3:-} =~ ^[1-9][0-9]*$ ]] || fail "dots per inch '${3:-}' is not a number"
        [[ -f $prefix/system.reg && -s $state/display ]] || fail "no prefix in $state: run setup first"
        arch=$(cat "$state/arch")
        wine_env
        DISPLAY=:$(cat "$state/display")
        export DISPLAY
        # Wine reads the user's setting; the server is started anew so that
        # nothing started at the old resolution lives on.
        timeout 60 "$wine" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD \
            /d "$3" /f </dev/null >>"$log" 2>&1 || fail "cannot set the resolution"
        stop_wineserver
        start_wineserver
        say "programs in $prefix now get $3 dots per inch"
        ;;
    cleanup)
        stop_wineserver
        stop_xvfb
        ;;
    *)
        echo "usage: $0 setup|dpi|cleanup STATE_DIR" >&2
        exit 2
        ;;
esac
