#!/usr/bin/env bash
# Runs a Windows program under Wine inside the test harness: the prefix and
# the X display that the `wine` fixture made (harness.sh setup). It is the
# cross build's emulator, so CTest runs every Windows test program through it.
#
#   run-in-wine.sh PROGRAM.exe [ARG...]
#
# Returns the program's exit code, or 124 when it ran longer than
# BV_WINE_TIMEOUT seconds (default 300). BV_WINE_DIR names the harness state
# folder; by default it is "wine" in the build folder that holds the program.
set -uo pipefail

if (($# < 1)); then
    echo "usage: $0 PROGRAM.exe [ARG...]" >&2
    exit 2
fi
program=$1
shift

state=${BV_WINE_DIR:-}
if [[ -z $state ]]; then
    dir=$(cd "$(dirname "$program")" && pwd)
    while [[ $dir != / && ! -f $dir/CMakeCache.txt ]]; do
        dir=$(dirname "$dir")
    done
    state=$dir/wine
fi
build=$(dirname "$state")

if [[ ! -f $state/prefix/system.reg || ! -s $state/display ]]; then
    echo "run-in-wine: no harness in $state; run the wine_setup test first" \
        "(ctest runs it for any Wine test)" >&2
    exit 2
fi

arch=$(cat "$state/arch" 2>/dev/null || echo win32)
# shellcheck source=wine-env.sh
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh" || exit 2
DISPLAY=:$(cat "$state/display")
export DISPLAY

# Screenshots of the tests, as a Windows path (Wine's Z: is the Unix root).
shots=$build/screenshots
mkdir -p "$shots"
export BV_SCREENSHOT_DIR="Z:${shots//\//\\}"

# Wine's helper processes (services, the desktop window) outlive the program
# and inherit its output handles; on a pipe they would keep ctest waiting, so
# the output goes through files.
out=$(mktemp)
err=$(mktemp)
trap 'rm -f "$out" "$err"' EXIT

limit=${BV_WINE_TIMEOUT:-300}
timeout -k 10 "$limit" "$wine" "$program" "$@" </dev/null >"$out" 2>"$err"
rc=$?
cat "$out"
cat "$err" >&2
if ((rc == 124 || rc == 137)); then
    echo "run-in-wine: $(basename "$program") stopped after ${limit} s" >&2
fi
exit "$rc"
