#pragma once
// What the user does, as handlers get it: the events of the controls and
// windows, and the arguments of mouse and key events.
#include <functional>

namespace bv::ui {

struct MouseArgs {
    int button = 0;  // 1 left, 2 right, 4 middle
    int shift = 0;
    float x = 0, y = 0;  // twips, in the control
};

// A key as the window gets it: the platform's key code, the shift state
// as MouseArgs has it.
struct KeyArgs {
    int keyCode = 0;
    int shift = 0;
};
namespace Key {
inline constexpr int Enter = 0x0D;
inline constexpr int Space = 0x20;
inline constexpr int Apps = 0x5D;  // the context-menu key
inline constexpr int F10 = 0x79;
}  // namespace Key
inline constexpr int kShiftKey = 1, kCtrlKey = 2, kAltKey = 4;

using Event = std::function<void()>;
using MouseEvent = std::function<void(const MouseArgs&)>;
using KeyEvent = std::function<void(const KeyArgs&)>;

enum class EventKind { Click, MouseDown, MouseMove, Scroll, Timer, GotFocus };

}  // namespace bv::ui
