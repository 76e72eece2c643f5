#!/usr/bin/env bash
# Builds everything and runs every test: the portable code and its unit tests
# natively, then the Windows programs and their tests under Wine, once for
# the 32-bit build (the shipped one) and once for the 64-bit build.
#
#   bash tools/test.sh
#
# Some kernels refuse 32-bit Linux programs; there install.sh has 32-bit Wine
# run under qemu's i386 emulator. Which flavours run is found by trying each
# loader: the 64-bit build's Wine tests run wherever wine64 starts; the 32-bit
# build's wherever 32-bit Wine starts, natively or emulated, and elsewhere the
# 32-bit build is still made and import-checked. A host that can run neither
# flavour fails.
#
# As root on a fresh Debian 12 it first installs what it needs
# (tools/install.sh, which copes with an archive out of step, and whose
# header lists what it changes on the machine and how to undo it;
# BV_NO_EMULATOR=1 refuses the emulator). After the tests, the benchmarks
# (label "bench") run on each flavour whose Wine starts and print their
# tables. Ends with the line "N passed, N failed", which counts the tests,
# that is what can fail: a benchmark is not counted, but one that breaks
# (crashes, hangs, never starts) is reported and counts as failed, as does a
# failed build. Exits non-zero if a build, a test or a benchmark failed.
set -uo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.." || exit 1

passed=0
failed=0
broken=()
built=()

# Adds a ctest run's summary line ("X% tests passed, F tests failed out of T").
count() {
    local summary total fails
    summary=$(grep -E '[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$1" | tail -n 1)
    if [[ -z $summary ]]; then
        return 0
    fi
    fails=$(sed -E 's/.* ([0-9]+) tests? failed out of.*/\1/' <<<"$summary")
    total=$(sed -E 's/.*out of ([0-9]+).*/\1/' <<<"$summary")
    passed=$((passed + total - fails))
    failed=$((failed + fails))
}

# run_preset PRESET [CTEST ARG...]
run_preset() {
    local preset=$1 log started=$SECONDS
    shift
    log=$(mktemp)
    echo "== $preset: configure and build"
    if ! cmake --preset "$preset" || ! cmake --build --preset "$preset" --parallel 2; then
        echo "test.sh: the $preset build failed" >&2
        broken+=("$preset build")
        rm -f "$log"
        return
    fi
    built+=("$preset")
    echo "== $preset: tests"
    ctest --preset "$preset" --parallel 2 "$@" 2>&1 | tee "$log"
    local status=${PIPESTATUS[0]}
    count "$log"
    if ((status != 0)) && ! grep -qE '[0-9]+% tests passed' "$log"; then
        broken+=("$preset tests")
    fi
    rm -f "$log"
    echo "== $preset: $((SECONDS - started)) s"
}

# run_benchmarks PRESET: the benchmarks after the tests, with their figures.
# They assert nothing, so a failure is a benchmark that broke.
run_benchmarks() {
    local preset=$1 log started=$SECONDS last=build/$1/Testing/Temporary/LastTest.log
    [[ " ${built[*]} " == *" $preset "* ]] || return 0
    log=$(mktemp)
    echo "== $preset: benchmarks (not counted as tests)"
    # Their own pass line would read like a count of tests.
    ctest --preset "$preset" -L bench 2>&1 | tee "$log" | grep -vE '^[0-9]+% tests passed'
    if ((PIPESTATUS[0] != 0)); then
        local names
        names=$(sed -n '/tests FAILED:/,$p' "$log" | sed -nE 's/^[[:space:]]+[0-9]+ - ([^ ]+).*/\1/p')
        broken+=("$preset benchmark: ${names//$'\n'/ }")
    fi
    rm -f "$log"
    if [[ -f $last ]] && grep -q '^== benchmark' "$last"; then
        echo "== benchmark under Wine, $preset build:"
        sed -n '/^== benchmark/,/^== end of benchmark/p' "$last" | grep -v '^== end'
    fi
    if [[ -f $last ]] && grep -q 'config preview' "$last"; then
        echo "== configuration tool preview benchmark under Wine, $preset build"
        grep -A4 'config preview' "$last" | sed -E 's/^[0-9]+: //'
        grep -E 'without a picture|repaint of the preview' "$last" | sed -E 's/^[0-9]+: //'
        grep -A3 "the tool's working set" "$last" | sed -E 's/^[0-9]+: //'
    fi
    echo "== $preset benchmarks: $((SECONDS - started)) s"
}

# True if the Wine loader $1 starts here. Trying is the only sure test: the
# kernel's support for 32-bit programs shows in nothing simpler.
wine_starts() {
    local out
    out=$("$1" --version 2>&1) && [[ $out == wine-* ]]
}

started=$SECONDS
if ! install=$(bash tools/install.sh); then
    echo "test.sh: installing the build tools or Wine failed" >&2
    echo "0 passed, 0 failed"
    exit 1
fi

# Should ctest be interrupted, its Wine fixtures' Xvfb and wineserver (the
# shared prefix's and the resolution tests' own) must not outlive this script.
stop_wine() {
    local flavour state
    for flavour in windows windows-x64; do
        for state in wine wine-dpi; do
            bash tests/wine/harness.sh cleanup "$PWD/build/$flavour/$state" >/dev/null 2>&1
        done
    done
}
trap stop_wine EXIT

wine32=${BV_WINE32_LOADER:-/usr/lib/wine/wine}
wine64=${BV_WINE64_LOADER:-/usr/lib/wine/wine64}
flavours=()
shipped_not_run=""
emulated=""
if wine_starts "$wine32"; then
    flavours+=("32-bit")
    [[ $install == "wine32: ok, emulated: "* ]] && emulated=${install#wine32: ok, emulated: }
else
    shipped_not_run=${install#wine32: }
    [[ $shipped_not_run == ok ]] && shipped_not_run="$wine32 does not start"
fi
wine_starts "$wine64" && flavours+=("64-bit")
echo "== Wine flavours that start here: ${flavours[*]:-none}"
[[ -n $shipped_not_run ]] && echo "== 32-bit Wine cannot run here: $shipped_not_run"
[[ -n $emulated ]] && echo "== 32-bit Wine runs emulated here: $emulated"
if ((${#flavours[@]} == 0)); then
    broken+=("Wine: neither $wine32 nor $wine64 starts on this host")
fi

run_preset native -LE bench
if [[ " ${flavours[*]} " == *" 32-bit "* ]]; then
    run_preset windows -LE bench
else
    echo "== the 32-bit build is made and import-checked only; its Wine tests run on the 64-bit build"
    run_preset windows -LE wine
fi
if [[ " ${flavours[*]} " == *" 64-bit "* ]]; then
    run_preset windows-x64 -LE bench
else
    run_preset windows-x64 -LE wine
fi

# The benchmarks need Wine (label "wine" too).
[[ " ${flavours[*]} " == *" 32-bit "* ]] && run_benchmarks windows
[[ " ${flavours[*]} " == *" 64-bit "* ]] && run_benchmarks windows-x64

echo "== Wine tests ran on: ${flavours[*]:-nothing}"
if [[ -n $emulated ]]; then
    echo "== The shipped 32-bit programs ran under 32-bit Wine on an emulated CPU: $emulated."
    echo "== Their timing and memory figures here are the emulator's, not Windows'."
fi
if [[ -n $shipped_not_run ]]; then
    echo "== THE SHIPPED 32-BIT PROGRAMS WERE NOT RUN: $shipped_not_run."
    echo "== This run proves the 64-bit test build only; run it where 32-bit Wine starts."
fi
echo "== total: $((SECONDS - started)) s"
for what in "${broken[@]}"; do
    echo "test.sh: FAILED: $what" >&2
done
# A build that failed, or a host that runs no Wine, counts as a failure too.
echo "$passed passed, $((failed + ${#broken[@]})) failed"
((failed == 0 && ${#broken[@]} == 0))
