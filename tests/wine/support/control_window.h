#pragma once
// A form's window and its controls' windows, found as another program would
// find them: through the window tree. The window layer gives each control's
// window the id of its row in the form's table (idOfRow); the window lies
// on the form's window or on a container's own window, so the search goes
// down the whole tree.
#include <windows.h>

#include "automation/controls.h"
#include "ui/backend.h"
#include "ui/form.h"
#include "ui/win32/win32_form.h"

namespace bv::testing {

// Null until the form's window is made, and once it is gone.
inline HWND formWindow(const ui::Form& form) {
    auto* peer = dynamic_cast<ui::win32::Win32Form*>(ui::BackEnd::peer(form));
    return peer ? peer->hwnd() : nullptr;
}

// Null for a control that has no window of its own.
inline HWND controlWindow(const ui::Form& form, const ui::Control& control) {
    HWND top = formWindow(form);
    if (!top)
        return nullptr;
    const auto& rows = form.controls();
    std::size_t row = 0;
    while (row < rows.size() && rows[row].get() != &control)
        ++row;
    if (row == rows.size())
        return nullptr;
    return automation::findControl(top, static_cast<int>(ui::win32::idOfRow(static_cast<int>(row))))
        .window;
}

inline HWND controlWindow(const ui::Form& form, const char* name) {
    return controlWindow(form, form.control(name));
}

}  // namespace bv::testing
