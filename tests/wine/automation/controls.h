#pragma once
// The child controls of a window as a test reads them.
#include <windows.h>

#include <string>
#include <vector>

namespace bv::automation {

struct Control {
    HWND window = nullptr;
    int id = 0;  // the control id, as GetDlgCtrlID gives it
    std::wstring className;
    std::wstring text;
    DWORD style = 0;
    RECT rect{};  // in the client coordinates of the window that was searched
};

// Every descendant control of `parent`, in Z order (front to back as laid out).
std::vector<Control> childControls(HWND parent);

// The first descendant of that class and exact text; a null window if none.
Control findControl(HWND parent, const std::wstring& className, const std::wstring& text);

// The first descendant with that control id; a null window if none.
Control findControl(HWND parent, int id);

// The thumb of a trackbar, in its client coordinates, also one of another
// process: the trackbar writes the answer in its own process's memory.
RECT sliderThumb(HWND slider);

}  // namespace bv::automation
