#!/usr/bin/env bash
# Builds everything and runs every test: the portable code and its unit tests
# natively, then the Windows programs and their tests under Wine, once for
# the 32-bit build (the shipped one) and once for the 64-bit build.
#
#   bash tools/test.sh
#
# Some kernels refuse 32-bit Linux programs, so 32-bit Wine cannot start
# there. Which flavours run is found by trying each loader: the 64-bit build's
# Wine tests run wherever wine64 starts; the 32-bit build's wherever 32-bit
# Wine starts, and elsewhere the 32-bit build is still made and import-checked.
# A host that can run neither flavour fails.
#
# As root on a fresh Debian 12 it first installs what it needs (skipped when
# all of it is there already). Ends with the line "N passed, N failed" summed
# over every test run; exits non-zero if a build or a test failed.
set -uo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.." || exit 1

tools=(
    cmake ninja-build g++ googletest libgtest-dev clang-format clang libclang-rt-14-dev
    gcc-mingw-w64-i686-win32 g++-mingw-w64-i686-win32 mingw-w64-i686-dev binutils-mingw-w64-i686
    gcc-mingw-w64-x86-64-win32 g++-mingw-w64-x86-64-win32 mingw-w64-x86-64-dev binutils-mingw-w64-x86-64
    xvfb xauth x11-utils imagemagick python3-pil
)
# Wine comes with its recommended packages (fonts, X extensions): the Wine
# tests are made against that, and text and layout depend on it.
wine=(wine wine32:i386 wine64)

installed() {
    [[ $(dpkg-query -W -f='${Status}' "$1" 2>/dev/null) == "install ok installed" ]]
}

missing_of() {
    local package
    for package in "$@"; do
        installed "$package" || echo "$package"
    done
}

install_packages() {
    local missing_tools missing_wine
    mapfile -t missing_tools < <(missing_of "${tools[@]}")
    mapfile -t missing_wine < <(missing_of "${wine[@]}")
    ((${#missing_tools[@]} + ${#missing_wine[@]} == 0)) && return 0
    echo "== installing: ${missing_tools[*]} ${missing_wine[*]}"
    if ((EUID != 0)); then
        echo "test.sh: missing packages; run as root or install them:" \
            "${missing_tools[*]} ${missing_wine[*]}" >&2
        return 1
    fi
    # Wine's 32-bit half comes from the i386 architecture.
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        dpkg --add-architecture i386 || return 1
    fi
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -q || return 1
    if ((${#missing_tools[@]})); then
        apt-get install -y -q --no-install-recommends "${missing_tools[@]}" || return 1
    fi
    if ((${#missing_wine[@]})); then
        apt-get install -y -q "${missing_wine[@]}" || return 1
    fi
}

passed=0
failed=0
broken=()

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

# True if the Wine loader $1 starts here. Trying is the only sure test: the
# kernel's support for 32-bit programs shows in nothing simpler.
wine_starts() {
    local out
    out=$("$1" --version 2>&1) && [[ $out == wine-* ]]
}

started=$SECONDS
if ! install_packages; then
    echo "test.sh: installing the build tools failed" >&2
    echo "0 passed, 0 failed"
    exit 1
fi

# Should ctest be interrupted, its Wine fixtures' Xvfb and wineserver must
# not outlive this script.
trap 'for flavour in windows windows-x64; do
    bash tests/wine/harness.sh cleanup "$PWD/build/$flavour/wine" >/dev/null 2>&1
done' EXIT

wine32=${BV_WINE32_LOADER:-/usr/lib/wine/wine}
wine64=${BV_WINE64_LOADER:-/usr/lib/wine/wine64}
flavours=()
wine_starts "$wine32" && flavours+=("32-bit")
wine_starts "$wine64" && flavours+=("64-bit")
echo "== Wine flavours that start here: ${flavours[*]:-none}"
if ((${#flavours[@]} == 0)); then
    broken+=("Wine: neither $wine32 nor $wine64 starts on this host")
fi

run_preset native
if [[ " ${flavours[*]} " == *" 32-bit "* ]]; then
    run_preset windows
else
    echo "== 32-bit Wine cannot start here: the 32-bit build is made and import-checked, its Wine tests run on the 64-bit build"
    run_preset windows -LE wine
fi
if [[ " ${flavours[*]} " == *" 64-bit "* ]]; then
    run_preset windows-x64
else
    run_preset windows-x64 -LE wine
fi

# The benchmarks' figures, for the record (they assert none).
for flavour in windows windows-x64; do
    bench=build/$flavour/Testing/Temporary/LastTest.log
    if [[ -f $bench ]] && grep -q '^== benchmark' "$bench"; then
        echo "== benchmark under Wine, $flavour build:"
        sed -n '/^== benchmark/,/^== end of benchmark/p' "$bench" | grep -v '^== end'
    fi
    if [[ -f $bench ]] && grep -q 'config preview' "$bench"; then
        echo "== configuration tool preview benchmark under Wine, $flavour build"
        grep -A4 'config preview' "$bench" | sed -E 's/^[0-9]+: //'
    fi
done

echo "== Wine tests ran on: ${flavours[*]:-nothing}"
echo "== total: $((SECONDS - started)) s"
for what in "${broken[@]}"; do
    echo "test.sh: FAILED: $what" >&2
done
# A build that failed, or a host that runs no Wine, counts as a failure too.
echo "$passed passed, $((failed + ${#broken[@]})) failed"
((failed == 0 && ${#broken[@]} == 0))
