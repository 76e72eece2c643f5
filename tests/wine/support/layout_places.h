#pragma once
// Where a window's layout table puts a control, for tests that look at the
// screen: a row found by name, and its place in pixels at 96 dots per inch.
#include <windows.h>

#include <stdexcept>
#include <string>

#include "ui/layout.h"

namespace bv::testing {

inline const ui::ControlSpec& layoutRow(const ui::FormSpec& form, const char* name) {
    for (const ui::ControlSpec& c : form.controls)
        if (std::string(c.name) == name)
            return c;
    throw std::logic_error(std::string("no row ") + name);
}

// On the window's client area; `container` is the frame that holds the
// row, if any.
inline RECT pixelPlace(const ui::ControlSpec& c, const ui::ControlSpec* container = nullptr) {
    const float left = c.left + (container ? container->left : 0);
    const float top = c.top + (container ? container->top : 0);
    auto px = [](float twips) { return static_cast<LONG>(twips / 15); };
    return RECT{px(left), px(top), px(left + c.width), px(top + c.height)};
}

}  // namespace bv::testing
