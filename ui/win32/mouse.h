#pragma once
// The mouse as handlers see it: buttons, shift keys, twips in the control.
#include <windows.h>

#include "ui/control.h"
#include "ui/win32/metrics.h"

namespace bv::ui::win32 {

inline int shiftState() {
    int shift = 0;
    if (GetKeyState(VK_SHIFT) < 0)
        shift |= 1;
    if (GetKeyState(VK_CONTROL) < 0)
        shift |= 2;
    if (GetKeyState(VK_MENU) < 0)
        shift |= 4;
    return shift;
}

// Button: the buttons held, as MouseMove reports them; MouseDown puts the
// one pressed in their place.
inline MouseArgs mouseArgs(WPARAM keys, POINT at, const RECT& control) {
    MouseArgs args;
    if (keys & MK_LBUTTON)
        args.button |= 1;
    if (keys & MK_RBUTTON)
        args.button |= 2;
    if (keys & MK_MBUTTON)
        args.button |= 4;
    args.shift = shiftState();
    args.x = pixelsToTwipsX(at.x - control.left);
    args.y = pixelsToTwipsY(at.y - control.top);
    return args;
}

}  // namespace bv::ui::win32
