#!/bin/bash
# Linker launcher for the 32-bit MinGW programs: "$@" is the link command.
#
# ld's PE script keeps all of .eh_frame (KEEP(*(.eh_frame*))), and an unwind
# entry refers to its function, so section garbage collection never drops a
# function that has one: every explicit template instantiation of a library
# object stays (libstdc++'s two string classes alone are about 60 KB). Inline
# and template functions have their entries in sections of their own named
# after the function (.eh_frame$NAME next to .text$NAME). Here such an entry
# is kept exactly when its function is: link with those entries left to the
# collector, note the functions that stay, keep their entries and link again,
# until a link keeps no function the previous one did not, so that every
# function kept has its unwind entry.
set -euo pipefail

out=
args=("$@")
for ((i = 0; i + 1 < ${#args[@]}; i++)); do
    [[ ${args[i]} == -o ]] && out=${args[i + 1]}
done
if [[ -z $out || " $* " != *--gc-sections* ]]; then
    exec "$@"
fi

work=$out.unwind
rm -rf "$work"
mkdir -p "$work"
# A failed link leaves no program behind, as an earlier pass may have made one.
trap 'rm -f "$out"' ERR

# The script ld uses for this very link.
"$@" -Wl,--verbose >"$work/verbose"
sed -n '/^=====/,/^=====/{/^=====/d;p}' "$work/verbose" >"$work/default.x"
all='KEEP(*(.eh_frame*))'
if ! grep -qF "$all" "$work/default.x"; then
    echo "unwind-gc-link.sh: ld's script has no $all; $out linked as is" >&2
    rm -rf "$work"
    exit 0
fi

# Names of the .text$NAME (.eh_frame$NAME) sections in a link map; with
# "kept", only those the link kept (a dropped section has address zero).
sections() {
    awk -v prefix=" .$1\$" -v kept="${3-}" '
        index($0, prefix) == 1 { name = substr($1, length(prefix)); if (NF < 3) next; addr = $2 }
        index($0, prefix) != 1 { if (name == "" || $1 !~ /^0x/) { name = ""; next }; addr = $1 }
        { if (kept == "" || addr !~ /^0x0+$/) print name; name = "" }' "$2" | LC_ALL=C sort -u
}

: >"$work/keep"
for pass in 1 2 3 4 5 6 7 8; do
    list=$(sed 's/.*/".eh_frame$&"/' "$work/keep" | tr '\n' ' ')
    keep='KEEP(*(.eh_frame))'
    [[ -n $list ]] && keep+=" KEEP(*($list))"
    script=$(cat "$work/default.x")
    printf '%s\n' "${script//"$all"/"$keep *(.eh_frame*)"}" >"$work/link.x"
    "$@" -Wl,-T,"$work/link.x" -Wl,-Map,"$work/map"
    if ((pass == 1)); then
        # Each entry section must be named after a function section, or
        # keeping by name would lose entries: then the plain link.
        sections text "$work/map" >"$work/functions"
        if [[ -n $(sections eh_frame "$work/map" | LC_ALL=C comm -23 - "$work/functions") ]]; then
            echo "unwind-gc-link.sh: unwind entries not named after their function; $out linked as is" >&2
            rm -rf "$work"
            exec "$@"
        fi
    fi
    sections text "$work/map" kept >"$work/kept"
    if [[ -z $(LC_ALL=C comm -13 "$work/keep" "$work/kept") ]]; then
        rm -rf "$work"
        exit 0
    fi
    LC_ALL=C sort -u -o "$work/keep" "$work/keep" "$work/kept"
done
echo "unwind-gc-link.sh: the kept functions of $out did not settle after $pass links" >&2
false
