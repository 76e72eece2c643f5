# Soak: under Wine, the agent cycling at a 10 ms speed for COUNT ticks, then
# the configuration tool's preview hovered COUNT times over alternating slots
# (default 20000 each), with memory and object counts printed at tenths of
# each run; they should stay flat. Takes some minutes; CI does not run it.
#
#   bash tools/soak.sh [COUNT] [windows|windows-x64] [agent|tool|both]
#
# Uses the preset's build (built here if needed) and a Wine prefix and X
# server of its own in build/<preset>/soak, stopped again at the end. The
# tool gets real mouse moves posted to its slot boxes Text1 ... Text10, each
# showing that slot's bitmap; its resident memory comes from /proc. Besides
# what the agent reports through Wine, its VmRSS is read from /proc every 20 s.
set -uo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.." || exit 1

ticks=${1:-20000}
preset=${2:-windows}
which=${3:-both}
usage() { echo "usage: $0 [COUNT] [windows|windows-x64] [agent|tool|both]" >&2; exit 2; }
[[ $ticks =~ ^[0-9]+$ ]] || usage
case $preset in
    windows) arch=win32 ;;
    windows-x64) arch=win64 ;;
    *) usage ;;
esac
case $which in
    agent) targets=(agent_soak) ;;
    tool) targets=(config_soak) ;;
    both) targets=(agent_soak config_soak) ;;
    *) usage ;;
esac
build=build/$preset
state=$PWD/$build/soak

cmake --preset "$preset" >/dev/null && cmake --build --preset "$preset" --parallel 2 \
    --target "${targets[@]}" >/dev/null || exit 1

bash tests/wine/harness.sh setup "$state" "$arch" >/dev/null || exit 1
sampler=
cleanup() {
    [[ -n $sampler ]] && kill "$sampler" 2>/dev/null
    bash tests/wine/harness.sh cleanup "$state" >/dev/null 2>&1
}
trap cleanup EXIT

# The agent of this prefix: its Wine process carries the prefix in its environment.
agent_pid() {
    local dir
    for dir in /proc/[0-9]*; do
        if tr '\0' ' ' 2>/dev/null <"$dir/cmdline" | grep -q 'brenlo_kel_vo\.exe' &&
            tr '\0' '\n' 2>/dev/null <"$dir/environ" | grep -qx "WINEPREFIX=$state/prefix"; then
            echo "${dir#/proc/}"
            return
        fi
    done
}
status=0
if [[ $which != tool ]]; then
    (
        started=$SECONDS
        while sleep 20; do
            pid=$(agent_pid)
            [[ -n $pid ]] && echo "/proc: $((SECONDS - started)) s  agent VmRSS $(awk '/^VmRSS/ {print $2, $3}' "/proc/$pid/status")"
        done
    ) &
    sampler=$!

    echo "== agent soak: $ticks ticks at 10 ms ($preset build)"
    BV_WINE_DIR=$state BV_WINE_TIMEOUT=$((ticks / 10 + 300)) \
        bash tests/wine/run-in-wine.sh "$build/tests/wine/soak/agent_soak.exe" "$ticks" || status=1
    kill "$sampler" 2>/dev/null
    sampler=
fi

if [[ $which != agent ]]; then
    echo "== configuration tool soak: $ticks preview hovers over alternating slots ($preset build)"
    BV_WINE_DIR=$state BV_WINE_TIMEOUT=$((ticks / 10 + 300)) \
        bash tests/wine/run-in-wine.sh "$build/tests/wine/soak/config_soak.exe" "$ticks" || status=1
fi
exit $status
