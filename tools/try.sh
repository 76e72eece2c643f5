#!/usr/bin/env bash
# Shows the whole system working: builds the programs and the package, makes
# a fresh Wine prefix of its own with the folders of Windows XP, runs setup
# from the package, then starts the agent from the Startup folder as a
# log-on would.
#
#   bash tools/try.sh
#
# Each Windows window is a window of its own on the X server, and the
# wallpaper that the programs set is painted as the X screen's background.
# With a display ($DISPLAY set) it leaves the first run, the configuration
# tool and the save to you. Without one it plays the user itself on a
# private X server: it draws ten sample bitmaps, picks them in the
# configuration tool through its file-open dialog, saves, starts the agent
# again and records the desktop while the wallpaper cycles: an animated GIF
# and PNG screenshots under build/try/.
#
# It never touches your own Wine prefix: everything lives in build/try/.
# Outside the checkout it changes only what tools/install.sh changes (its
# header lists each change and its undo; BV_NO_EMULATOR=1 refuses the
# emulator, and then, where the kernel refuses 32-bit programs, it shows the
# 64-bit test build).
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
root=$PWD
try=$root/build/try

say() { echo "try: $*"; }
die() {
    echo "try: $*" >&2
    exit 1
}

install=$(bash tools/install.sh) || die "installing the build tools or Wine failed"

# The shipped 32-bit build where 32-bit Wine starts, else the 64-bit test build.
if [[ $install == "wine32: ok"* ]]; then
    preset=windows arch=win32
    say "showing the shipped 32-bit programs${install#wine32: ok}"
else
    preset=windows-x64 arch=win64
    say "NOT THE SHIPPED PROGRAMS: showing the 64-bit test build (${install#wine32: })"
fi
say "building ($preset)"
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" --parallel 2 \
    --target installer_package try_driver
build=$root/build/$preset

rm -rf "$try"
mkdir -p "$try"
cp -r "$build/package/BrenloVistrel" "$try/package"

# Our own prefix and, without a display, our own X server.
state=$try/wine
mkdir -p "$state"
# shellcheck source=../tests/wine/wine-env.sh
source "$root/tests/wine/wine-env.sh"
xvfb="" watcher=""
cleanup() {
    wineserver -k 2>/dev/null || true
    [[ -n $watcher ]] && kill "$watcher" 2>/dev/null || true
    [[ -n $xvfb ]] && kill "$xvfb" 2>/dev/null || true
}
trap cleanup EXIT
headless=false
if [[ -z ${DISPLAY:-} ]]; then
    headless=true
    fifo=$state/displayfd
    rm -f "$fifo" && mkfifo "$fifo"
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$fifo" \
        </dev/null >"$state/xvfb.log" 2>&1 &
    xvfb=$!
    display=$(timeout 20 head -n 1 "$fifo") || die "Xvfb did not start (see $state/xvfb.log)"
    rm -f "$fifo"
    export DISPLAY=:$display
    say "private X server on $DISPLAY"
fi

say "making a fresh Wine prefix in $WINEPREFIX"
mkdir -p "$WINEPREFIX"
"$wine" wineboot -i >"$state/wineboot.log" 2>&1
# No Wine desktop window: it paints the wallpaper over every window at each
# change. With no window manager on our own X server, Wine draws the frames.
if $headless; then
    "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
fi
wineserver -w
drive_c=$WINEPREFIX/drive_c
mkdir -p "$drive_c/Documents and Settings/All Users/Start Menu/Programs/Startup"
cp -r "$try/package" "$drive_c/BrenloVistrel"
agent='C:\Documents and Settings\All Users\Start Menu\Programs\Startup\brenlo_kel_vo.exe'

# The X screen's background: Wine's desktop colour with the wallpaper
# setting's file, if any, centred as Windows shows it; again at each change.
paint_wallpapers() {
    local file="" screen colour='rgb(37,111,149)'
    screen=$(xdpyinfo | awk '/dimensions:/ { print $2 }')
    while :; do
        # display says 1 even when it painted: its status tells nothing.
        convert -size "$screen" "xc:$colour" ${file:+"$file" -gravity center -composite} miff:- |
            display -window root - || true
        IFS= read -r file || return 0
        file=${file%$'\r'}
    done
}
"$wine" "$build/tests/wine/installer/try_driver.exe" --wallpaper 2>"$state/wallpaper.log" |
    paint_wallpapers &
watcher=$!

if ! $headless; then
    say "setup runs: answer its questions"
    (cd "$drive_c/BrenloVistrel" && "$wine" setup.exe) || true
    say "the agent starts from the Startup folder, as at a log-on"
    "$wine" "$agent" &
    say "click through the first run, pick ten bitmaps in the configuration tool and save;"
    say "then start the agent again: $wine '$agent' (WINEPREFIX=$WINEPREFIX)"
    say "press Enter here when done: it ends every program of this Wine prefix"
    read -r || true
    exit 0
fi

say "drawing ten sample bitmaps"
samples=$drive_c/samples
mkdir -p "$samples"
hues=(0 36 72 108 144 180 216 252 288 324)
for n in $(seq 1 10); do
    hue=${hues[$((n - 1))]}
    dots=""
    for d in $(seq 1 "$n"); do
        x=$((40 + d * 86))
        dots+="circle $x 384 $((x + 30)) 384 "
    done
    convert -size 1024x768 "gradient:hsl($hue,80%,55%)-hsl($(((hue + 60) % 360)),80%,25%)" \
        -fill white -draw "$dots" -type TrueColor "BMP3:$samples/$n.bmp"
done

shots=$try/screenshots
mkdir -p "$shots"
export BV_SCREENSHOT_DIR="Z:${shots//\//\\}"
say "playing the user: setup, the agent's first start, ten picks and Save in the configuration tool, the agent again"
# Through a file: the agent that the driver leaves running inherits its
# output and would hold a pipe open.
if ! "$wine" "$build/tests/wine/installer/try_driver.exe" 'C:\BrenloVistrel' 'C:\samples' \
    >"$try/driver.log" 2>&1; then
    grep -v fixme "$try/driver.log" >&2
    die "the run did not go through (see $try/driver.log)"
fi
grep '^try:' "$try/driver.log"

say "recording the desktop while the wallpaper cycles"
frames=$try/frames
mkdir -p "$frames"
sleep 2
for i in $(seq -w 1 40); do
    import -display "$DISPLAY" -window root "$frames/$i.png"
    sleep 0.5
done
convert -delay 50 -loop 0 "$frames"/*.png -resize 50% "$try/wallpaper.gif"
for bmp in "$shots"/*.bmp; do
    convert "$bmp" "${bmp%.bmp}.png" && rm -f "$bmp"
done
cp "$frames/01.png" "$try/desktop-first.png"
cp "$frames/20.png" "$try/desktop-later.png"

say "recording:   $try/wallpaper.gif"
say "screenshots: $try/desktop-first.png $try/desktop-later.png"
for png in "$shots"/*.png; do
    say "             $png"
done
