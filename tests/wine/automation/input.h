#pragma once
// Mouse input posted straight to a window, as its own handlers receive it.
// Posting skips the X server and the window manager, so tests do not depend
// on window placement or focus.
#include <windows.h>

namespace bv::automation {

// A click on a control: BM_CLICK for buttons, otherwise a left button press
// and release at the centre of its client area.
void click(HWND control);

// Point `at` is in the client coordinates of `window`.
void leftClickAt(HWND window, POINT at);
void rightClickAt(HWND window, POINT at);
void moveMouseTo(HWND window, POINT at);

}  // namespace bv::automation
