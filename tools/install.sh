#!/usr/bin/env bash
# Installs what the build and the tests need, as root on Debian 12, and copes
# with a package archive that is out of step with itself.
#
#   bash tools/install.sh [PACKAGE...]    (extra packages to install as well)
#
# It changes the machine, outside the checkout, as follows (each with its undo):
#   - Debian packages: the build tools, Wine and what they pull in (listed
#     below). Undo: apt-get remove PACKAGE..., then apt-get autoremove.
#   - The i386 architecture, for 32-bit Wine. Undo: remove every :i386
#     package, then dpkg --remove-architecture i386.
# Only where the kernel refuses 32-bit Linux programs, as root, and unless
# BV_NO_EMULATOR=1 refuses it, 32-bit Wine runs under qemu's i386 emulator:
#   - A permanent apt source for the release's backports suite, when no
#     backports source exists: /etc/apt/sources.list.d/<release>-backports.sources.
#     Undo: rm that file, then apt-get update.
#   - qemu-user from that suite. Undo: apt-get remove qemu-user.
#   - binfmt_misc mounted on /proc/sys/fs/binfmt_misc, if it was not.
#     Undo: umount /proc/sys/fs/binfmt_misc.
#   - A system-wide handler, the binfmt_misc entry "bv-i386", that runs every
#     32-bit x86 program of the machine, not only Wine, under the emulator
#     until the next boot. Undo: echo -1 > /proc/sys/fs/binfmt_misc/bv-i386.
# BV_NO_EMULATOR=1 also takes that handler away (as root) if an earlier run
# left it. On such a kernel the shipped 32-bit programs then do not run:
# test.sh and try.sh say so in capitals and use the 64-bit build.
#
# The 32-bit Wine loader is BV_WINE32_LOADER if set, as for test.sh and the
# Wine tests, else /usr/lib/wine/wine.
#
# Afterwards it writes one line to stdout, read by tools/test.sh and
# tools/try.sh: "wine32: ok" when 32-bit Wine is installed and starts,
# "wine32: ok, emulated: <why>" when it starts under the emulator, else
# "wine32: " and why it cannot run the shipped programs here (not
# installable from the archive, refused by the kernel with no emulator, or
# failing with the message it gave). Only a failure to install the build
# tools or any Wine at all makes it exit non-zero; a missing 32-bit Wine
# never does.
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

readonly loader=${BV_WINE32_LOADER:-/usr/lib/wine/wine}
readonly emulator=/usr/bin/qemu-i386
readonly binfmt=/proc/sys/fs/binfmt_misc
readonly binfmt_name=bv-i386
readonly binfmt_entry=$binfmt/$binfmt_name
# What the handler matches: the first 20 bytes of the ELF header of a 32-bit
# little-endian x86 program (executable or shared object: e_type 2 or 3,
# e_machine 3), and the bits of them that count; any OS/ABI byte. The kernel
# reads the \x escapes itself.
readonly i386_elf_magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
readonly i386_elf_mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
release=$(. /etc/os-release && echo "${VERSION_CODENAME:-bookworm}")
readonly release

emulated() {
    [[ -f $binfmt_entry ]] && grep -qx enabled "$binfmt_entry"
}

emulator_refused() {
    [[ -n ${BV_NO_EMULATOR:-} && ${BV_NO_EMULATOR} != 0 ]]
}

# A loader of one's own is judged by running it; Debian's by its package too.
wine32_installed() {
    [[ -n ${BV_WINE32_LOADER:-} ]] || installed wine32:i386
}

wine32_state() {
    local said
    if ! wine32_installed; then
        if installed wine64; then
            echo "wine32: 32-bit Wine (wine32:i386) could not be installed from the package archive"
        else
            echo "wine32: Wine is not installed"
        fi
        return
    fi
    said=$("$loader" --version 2>&1 | head -n 1)
    if [[ $said == wine-* ]] && emulated; then
        echo "wine32: ok, emulated: this kernel refuses 32-bit Linux programs, so they run" \
            "under $("$emulator" --version | head -n 1)"
    elif [[ $said == wine-* ]]; then
        echo "wine32: ok"
    elif [[ $said == *"Exec format error"* ]] && emulator_refused; then
        echo "wine32: this kernel refuses 32-bit Linux programs ($loader: Exec format error)," \
            "and BV_NO_EMULATOR=$BV_NO_EMULATOR refused the i386 emulator for them"
    elif [[ $said == *"Exec format error"* ]]; then
        echo "wine32: this kernel refuses 32-bit Linux programs ($loader: Exec format error)," \
            "and no i386 emulator could be set up for them"
    else
        echo "wine32: 32-bit Wine is installed but does not start ($loader: $said)"
    fi
}

# A mirror in the middle of a sync serves an index whose size does not match
# its Release file; apt then drops that one index and exits non-zero. Try
# again a few times, then go on with what was fetched: a lagging i386
# security index only means the 32-bit packages come from the main suite.
apt_update() {
    local attempt
    for attempt in 1 2 3; do
        apt-get update -q "$@" >&2 && return 0
        say "apt-get update failed (attempt $attempt of 3)"
        ((attempt < 3)) && sleep 10
    done
    return 1
}

# Some kernels (seen on virtual machines whose kernel is built with 32-bit
# support) still refuse every 32-bit program. The shipped programs run there
# all the same: 32-bit Wine under qemu's i386 user-mode emulator, which the
# kernel starts for every 32-bit x86 program once registered. Wine reserves
# its address space with MAP_FIXED_NOREPLACE, which qemu honours from 8.1 on;
# under bookworm's 7.2 a fresh prefix fails with "failed to map the shared
# user data". The release's backports suite has a newer one, a static
# program with no dependencies, which apt takes from there only on request.
emulator_fit() {
    local version major minor
    version=$("$emulator" --version 2>/dev/null | sed -nE '1s/.*version ([0-9]+)\.([0-9]+).*/\1 \2/p')
    [[ -n $version ]] && { read -r major minor <<<"$version"; ((major > 8 || (major == 8 && minor >= 1))); }
}

install_emulator() {
    local list=/etc/apt/sources.list.d/$release-backports.sources
    local only_new=()
    if ! grep -rqs -- "$release-backports" /etc/apt/sources.list /etc/apt/sources.list.d; then
        # From the mirror the release itself comes from.
        local mirror
        mirror=$(grep -rhoE '(^URIs:|^deb)[[:space:]]+[^[:space:]]+/debian/?([[:space:]]|$)' \
            /etc/apt/sources.list /etc/apt/sources.list.d 2>/dev/null | awk '{print $2; exit}')
        say "adding the $release-backports suite for qemu's i386 emulator"
        printf '%s\n' "Types: deb" "URIs: ${mirror:-http://deb.debian.org/debian}" \
            "Suites: $release-backports" "Components: main" \
            "Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg" >"$list"
        # The other indexes were fetched a moment ago, or will be next time.
        only_new=(-o "Dir::Etc::SourceList=$list" -o "Dir::Etc::SourceParts=-"
            -o "APT::Get::List-Cleanup=0")
    fi
    apt_update "${only_new[@]}"
    apt-get install -y -q --no-install-recommends -t "$release-backports" qemu-user >&2
}

# Takes away the handler an earlier run left, when the emulator is refused.
refuse_emulator() {
    [[ -f $binfmt_entry ]] || return 0
    if ((EUID == 0)) && echo -1 >"$binfmt_entry"; then
        say "BV_NO_EMULATOR: removed the emulator entry $binfmt_entry"
    else
        say "BV_NO_EMULATOR: the emulator entry $binfmt_entry stays; as root: echo -1 > $binfmt_entry"
    fi
}

emulate_i386() {
    if emulator_refused; then
        refuse_emulator
        return 0
    fi
    wine32_installed || return 0
    emulated && return 0
    [[ $("$loader" --version 2>&1) == *"Exec format error"* ]] || return 0
    if ((EUID != 0)); then
        say "this kernel refuses 32-bit programs; as root, this script sets up an emulator for them"
        return 0
    fi
    emulator_fit || install_emulator || say "qemu's i386 emulator could not be installed"
    emulator_fit || { say "no qemu i386 emulator of version 8.1 or later"; return 0; }
    [[ -f $binfmt/register ]] || mount -t binfmt_misc binfmt_misc "$binfmt" ||
        { say "cannot mount $binfmt"; return 0; }
    # An entry left disabled, or naming another emulator, makes way.
    [[ -f $binfmt_entry ]] && echo -1 >"$binfmt_entry"
    # F opens the emulator now, so that it serves every mount namespace.
    printf '%s' ":$binfmt_name:M::$i386_elf_magic:$i386_elf_mask:$emulator:F" \
        >"$binfmt/register" || say "the kernel refused to register the emulator"
    emulated && say "32-bit programs now run under $emulator"
}

mapfile -t missing_tools < <(missing_of "${tools[@]}")
mapfile -t missing_wine < <(missing_of "${wine64_packages[@]}" "${wine32_packages[@]}")
if ((${#missing_tools[@]} + ${#missing_wine[@]} == 0)); then
    emulate_i386
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

apt_update

apt_install() {
    apt-get install -y -q "$@" >&2
}

# Wine first: its i386 libraries must match the versions of their amd64
# twins, which the tools could otherwise pull in from a newer suite.
if ((${#missing_wine[@]})); then
    # The release's own suite ("bookworm"), whose amd64 and i386 indexes
    # always agree, is the fallback when the default choice mixes suites.
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
emulate_i386
wine32_state
exit $status
