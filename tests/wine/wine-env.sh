# Sourced by harness.sh and run-in-wine.sh: the environment of one Wine
# flavour. Expects $state (the harness folder) and $arch (win32 or win64) and
# sets $wine, the loader to start Windows programs with.
#
# win32 runs the 32-bit programs with Debian's 32-bit loader; win64 runs the
# 64-bit build with wine64 alone, which also works on hosts whose kernel
# refuses 32-bit Linux programs.

case $arch in
    win32) wine=${BV_WINE32_LOADER:-/usr/lib/wine/wine} ;;
    win64)
        wine=${BV_WINE64_LOADER:-/usr/lib/wine/wine64}
        # Without it, wine64 would look for a 32-bit loader for its helpers.
        export WINELOADER=$wine
        ;;
    *)
        echo "wine-env: unknown Wine flavour '$arch' (win32 or win64)" >&2
        return 2
        ;;
esac
export WINEPREFIX=$state/prefix WINEARCH=$arch WINEDEBUG=-all
# No Mono or Gecko download prompts: nothing here needs .NET or HTML.
export WINEDLLOVERRIDES="mscoree,mshtml="
# CI may run without HOME; Wine wants one for the user's shell folders.
if [[ -z ${HOME:-} ]]; then
    HOME=$(getent passwd "$(id -u)" | cut -d: -f6)
    export HOME
fi
