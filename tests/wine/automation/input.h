#pragma once
// Mouse and keyboard input for the tests. Posted input goes straight to a
// window, as its own handlers receive it, and does not depend on window
// placement or focus; real input goes through the system's input queue.
#include <windows.h>

#include <initializer_list>
#include <string>

namespace bv::automation {

// A click on a control: BM_CLICK for buttons, otherwise a left button press
// and release at the centre of its client area.
void click(HWND control);

// Point `at` is in the client coordinates of `window`.
void leftClickAt(HWND window, POINT at);
void rightClickAt(HWND window, POINT at);
void moveMouseTo(HWND window, POINT at);

// Real input, as the mouse and keyboard give it: the system routes it to the
// window under the pointer, or to the focus of the foreground window, and
// the platform's own controls and dialogs see it as a user's. Points are in
// screen coordinates.
void pointerTo(POINT screen);
void pointerClick(POINT screen);
void typeText(const std::wstring& text);
void pressKey(WORD virtualKey);
// Keys pressed together, in order, and let go in the reverse order
// (VK_SHIFT then VK_F10 for Shift+F10).
void pressKeys(std::initializer_list<WORD> virtualKeys);
// The centre of a window's client area, on the screen.
POINT centreOf(HWND window);

}  // namespace bv::automation
