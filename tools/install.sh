#!/usr/bin/env bash
# Installs what the build and the tests need, as root on Debian 12, and copes
# with a package archive that is out of step with itself.
#
#   bash tools/install.sh [PACKAGE...]    (extra packages to install as well)
#
# Afterwards it writes one line to stdout, read by tools/test.sh and
# tools/try.sh: "wine32: ok" when 32-bit Wine is installed and starts, else
# "wine32: " and why it cannot run the shipped programs here (not
# installable from the archive, refused by the kernel, or failing with the
# message it gave). Only a failure to install the build tools or any Wine at
# all makes it exit non-zero; a missing 32-bit Wine never does.
set -uo pipefail

tools=(
    cmake ninja-build g++ googletest libgtest-dev clang-format clang libclang-rt-14-dev
    gcc-mingw-w64-i686-win32 g++-mingw-w64-i686-win32 mingw-w64-i686-dev binutils-mingw-w64-i686
    gcc-mingw-w64-x86-64-win32 g++-mingw-w64-x86-64-win32 mingw-w64-x86-64-dev binutils-mingw-w64-x86-64
    xvfb xauth x11-utils imagemagick python3-pil "$@"
)
# Wine comes with its recommended packages (fonts, X extensions): the Wine
# tests are made against that, and text and layout depend on it.
wine64_packages=(wine wine64)
wine32_packages=(wine32:i386)

say() { echo "install: $*" >&2; }

installed() {
    [[ $(dpkg-query -W -f='${Status}' "$1" 2>/dev/null) == "install ok installed" ]]
}

missing_of() {
    local package
    for package in "$@"; do
        installed "$package" || echo "$package"
    done
}

wine32_state() {
    local loader=/usr/lib/wine/wine said
    if ! installed wine32:i386; then
        if installed wine64; then
            echo "wine32: 32-bit Wine (wine32:i386) could not be installed from the package archive"
        else
            echo "wine32: Wine is not installed"
        fi
        return
    fi
    said=$("$loader" --version 2>&1 | head -n 1)
    if [[ $said == wine-* ]]; then
        echo "wine32: ok"
    elif [[ $said == *"Exec format error"* ]]; then
        echo "wine32: this kernel refuses 32-bit Linux programs ($loader: Exec format error)"
    else
        echo "wine32: 32-bit Wine is installed but does not start ($loader: $said)"
    fi
}

mapfile -t missing_tools < <(missing_of "${tools[@]}")
mapfile -t missing_wine < <(missing_of "${wine64_packages[@]}" "${wine32_packages[@]}")
if ((${#missing_tools[@]} + ${#missing_wine[@]} == 0)); then
    wine32_state
    exit 0
fi
say "missing: ${missing_tools[*]} ${missing_wine[*]}"
if ((EUID != 0)); then
    say "run as root, or install them yourself"
    wine32_state
    exit 1
fi

export DEBIAN_FRONTEND=noninteractive
# Wine's 32-bit half comes from the i386 architecture.
dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386

# A mirror in the middle of a sync serves an index whose size does not match
# its Release file; apt then drops that one index and exits non-zero. Try
# again a few times, then go on with what was fetched: a lagging i386
# security index only means the 32-bit packages come from the main suite.
for attempt in 1 2 3; do
    apt-get update -q >&2 && break
    say "apt-get update failed (attempt $attempt of 3)"
    ((attempt < 3)) && sleep 10
done

apt_install() {
    apt-get install -y -q "$@" >&2
}

# Wine first: its i386 libraries must match the versions of their amd64
# twins, which the tools could otherwise pull in from a newer suite.
if ((${#missing_wine[@]})); then
    # The release's own suite ("bookworm"), whose amd64 and i386 indexes
    # always agree, is the fallback when the default choice mixes suites.
    release=$(. /etc/os-release && echo "${VERSION_CODENAME:-bookworm}")
    if apt_install "${wine64_packages[@]}" "${wine32_packages[@]}"; then
        :
    elif say "the default choice of Wine packages was refused; trying the $release suite" &&
        apt_install -t "$release" "${wine64_packages[@]}" "${wine32_packages[@]}"; then
        :
    else
        say "32-bit Wine (wine32:i386) cannot be installed from this archive today;" \
            "installing the 64-bit Wine alone"
        # From the release suite too, so that a later run can still add the
        # 32-bit half at the same versions.
        apt_install -t "$release" "${wine64_packages[@]}" || apt_install "${wine64_packages[@]}" ||
            say "no Wine could be installed"
    fi
fi

status=0
if ((${#missing_tools[@]})); then
    mapfile -t missing_tools < <(missing_of "${tools[@]}")
    if ((${#missing_tools[@]})) &&
        ! apt-get install -y -q --no-install-recommends "${missing_tools[@]}" >&2; then
        say "installing the build tools failed"
        status=1
    fi
fi
installed wine64 || status=1
wine32_state
exit $status
