#!/usr/bin/env bash
# One run of the resolution tests: the harness in STATE_DIR set to N dots per
# inch, then PROGRAM run there under Wine, told the resolution in BV_DPI.
#
#   at-dpi.sh STATE_DIR N PROGRAM.exe [ARG...]
set -euo pipefail

if (($# < 3)); then
    echo "usage: $0 STATE_DIR N PROGRAM.exe [ARG...]" >&2
    exit 2
fi
here=$(dirname "${BASH_SOURCE[0]}")
state=$1
dpi=$2
shift 2
bash "$here/../harness.sh" dpi "$state" "$dpi"
export BV_WINE_DIR=$state BV_DPI=$dpi
exec bash "$here/../run-in-wine.sh" "$@"
