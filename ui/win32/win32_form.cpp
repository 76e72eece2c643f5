// Making a window and its controls, showing, hiding and closing it, and
// its popup menu.
#include "ui/win32/win32_form.h"

#include <string>

#include "datastore/failure.h"
#include "datastore/wide.h"
#include "ui/win32/controls/surfaces.h"
#include "ui/win32/metrics.h"
#include "ui/win32/win32_platform.h"

namespace bv::ui::win32 {

namespace {
constexpr wchar_t kFormClass[] = L"BvForm";
}  // namespace

void Win32Form::registerSurfaceClasses(HINSTANCE instance) {
    static bool registered = false;
    if (registered)
        return;
    registerChildClass(instance, kPictureBoxClass);
    registered = true;
}

// A window's icons are its class's: given by WM_SETICON, each of the two
// would be converted for the window manager again. One class per icon
// resource.
const wchar_t* Win32Form::formClass(std::wstring& name) {
    const int icon = form_.spec().icon;
    name = kFormClass + std::to_wstring(icon);

    WNDCLASSEXW cls{};
    cls.cbSize = sizeof cls;
    if (GetClassInfoExW(platform_.instance(), name.c_str(), &cls))
        return name.c_str();
    cls.hInstance = platform_.instance();
    cls.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    // Shared: the class outlives any one platform object (tests make several).
    auto load = [&](int cx, int cy) {
        return static_cast<HICON>(LoadImageW(platform_.instance(), MAKEINTRESOURCEW(icon),
                                             IMAGE_ICON, GetSystemMetrics(cx), GetSystemMetrics(cy),
                                             LR_SHARED));
    };
    cls.hIcon = load(SM_CXICON, SM_CYICON);
    cls.hIconSm = load(SM_CXSMICON, SM_CYSMICON);
    cls.lpfnWndProc = &windowProc<Win32Form>;
    cls.lpszClassName = name.c_str();
    if (!RegisterClassExW(&cls))
        throw Failure("Out of memory");
    return name.c_str();
}

bool Win32Form::registerChildClass(HINSTANCE instance, const wchar_t* name) {
    WNDCLASSEXW cls{};
    cls.cbSize = sizeof cls;
    cls.hInstance = instance;
    cls.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    cls.lpfnWndProc = &windowProc<Child>;
    cls.lpszClassName = name;
    return RegisterClassExW(&cls) != 0;
}

Win32Form::Win32Form(Win32Platform& platform, Form& form)
    : platform_(platform), form_(form), children_(*this) {
    platform_.enroll(this);
    children_.makePeers();
}

Win32Form::~Win32Form() {
    destroy();
    platform_.withdraw(this);
}

HWND Win32Form::ensureWindow() {
    if (life_ == Life::Unmade)
        create();
    return hwnd_;
}

void Win32Form::ensureWindowIfNeeded() {
    for (const auto& child : children_.all())
        if (child->needsFormWindow()) {
            ensureWindow();
            return;
        }
}

void Win32Form::create() {
    const FormSpec& spec = form_.spec();
    DWORD style = 0, exStyle = 0;
    styles(style, exStyle);
    RECT outer{0, 0, twipsToPixelsX(spec.clientWidth), twipsToPixelsY(spec.clientHeight)};
    AdjustWindowRectEx(&outer, style, FALSE, exStyle);
    const int width = outer.right - outer.left;
    const int height = outer.bottom - outer.top;
    const POINT at = firstPlace(width, height);
    // A hidden owner keeps windows without a taskbar button off the taskbar
    // while their caption keeps the ordinary look.
    HWND owner = spec.taskbar ? nullptr : platform_.parking();
    const std::wstring caption = text::widen(spec.caption ? spec.caption : "");
    registerSurfaceClasses(platform_.instance());
    std::wstring cls;
    CreateWindowExW(exStyle, formClass(cls), caption.c_str(), style, at.x, at.y, width, height,
                    owner, nullptr, platform_.instance(), this);
    if (!hwnd_)
        throw Failure("Out of memory");
    life_ = Life::Made;

    children_.create();
    reportPosition();
}

void Win32Form::show() {
    if (!ensureWindow())
        return;
    if (life_ == Life::Made) {
        life_ = Life::Shown;
        focus_ = firstFocus();
        ShowWindow(hwnd_, platform_.nextShowCommand());
    } else if (!IsWindowVisible(hwnd_)) {
        ShowWindow(hwnd_, SW_SHOW);
    }
    if (!hwnd_ || IsIconic(hwnd_))
        return;
    SetForegroundWindow(hwnd_);
    BringWindowToTop(hwnd_);
    if (hwnd_ && GetActiveWindow() == hwnd_ && focus_ && IsChild(hwnd_, focus_)) {
        HWND has = GetFocus();
        if (has != focus_ && !IsChild(hwnd_, has))
            SetFocus(focus_);
    }
}

void Win32Form::hide() {
    if (hwnd_)
        ShowWindow(hwnd_, SW_HIDE);
}

void Win32Form::destroy() {
    switch (life_) {
        case Life::Unmade:
            // Never made: gone all the same, which may end the message loop.
            life_ = Life::Gone;
            platform_.windowGone(*this);
            return;
        case Life::Made:
        case Life::Shown:
            life_ = Life::Closing;
            DestroyWindow(hwnd_);
            return;
        case Life::Closing:
        case Life::Gone:
            return;
    }
}

int Win32Form::popupMenu(MenuPlace place) {
    const auto& items = form_.menu();
    if (!hwnd_ || items.empty())
        return -1;
    HMENU menu = CreatePopupMenu();
    if (!menu)
        return -1;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (items[i].separator()) {
            AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        } else {
            const std::wstring caption = text::widen(items[i].caption());
            AppendMenuW(menu, MF_STRING, i + 1, caption.c_str());
        }
    }
    POINT at{};
    if (place == MenuPlace::Window)
        ClientToScreen(hwnd_, &at);
    else
        GetCursorPos(&at);
    HWND owner = hwnd_;
    // The usual pair around a popup menu: the owner must be in front for the
    // menu to close on a click elsewhere, and the posted message lets it close
    // properly the next time.
    SetForegroundWindow(owner);
    const int chosen = static_cast<int>(
        TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_LEFTALIGN | TPM_TOPALIGN, at.x,
                       at.y, 0, owner, nullptr));
    PostMessageW(owner, WM_NULL, 0, 0);
    DestroyMenu(menu);
    return chosen - 1;
}

}  // namespace bv::ui::win32
