#pragma once
// What screen readers find in a window of the layer. Labels and images have
// no window of their own, so the platform sees one blank client area; the
// form, each picture box and each frame answer instead with a client object
// of their own that lists their controls in layout order, names and places
// the drawn ones and presses the drawn buttons. The accessibility library is
// looked up at run time: without it the windows answer as before.
#include <windows.h>

namespace bv::ui {
class Timer;
}

namespace bv::ui::win32 {

class Child;
class Win32Form;

namespace accessible {

// Posted by a screen reader's press, so that its call returns before the
// press runs (the menu button opens a modal menu).
inline constexpr UINT kPress = WM_APP + 2;

// WM_GETOBJECT for the client object, and kPress, on the form's window
// (holder null) or a surface's. False: the default handling applies.
bool onMessage(Win32Form& form, Child* holder, HWND window, UINT msg, WPARAM wp, LPARAM lp,
               LRESULT& result);

// The form's windows end: every object given out for them fails from now on.
void disconnect(Win32Form& form);

// A drawn control's caption, visibility or state changed (EVENT_OBJECT_...).
void changed(const Child& child, DWORD event);

// A timer started or stopped: the buttons that show its state say so.
void runningChanged(Win32Form& form, const Timer& timer);

}  // namespace accessible

}  // namespace bv::ui::win32
