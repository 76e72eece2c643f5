#include "ui/win32/win32_platform.h"

#include <commctrl.h>

#include <algorithm>

#include "datastore/failure.h"
#include "datastore/wide.h"
#include "datastore/win32_error.h"
#include "ui/form.h"
#include "ui/win32/cursor_resource.h"
#include "ui/win32/late_library.h"
#include "ui/win32/win32_form.h"

namespace bv::ui::win32 {

namespace {

// The wallpaper call's arguments: set the desktop wallpaper, write it to
// the user profile.
constexpr UINT kSetDeskWallpaper = 20;
constexpr UINT kUpdateIniFile = 1;

constexpr int kLastShowCommand = 11;  // SW_FORCEMINIMIZE

}  // namespace

// Window classes are registered by the first window that needs them.
Win32Platform::Win32Platform() : instance_(GetModuleHandleW(nullptr)), pictures_(instance_) {}

HWND Win32Platform::parking() {
    if (!parking_)
        parking_ = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                   instance_, nullptr);
    return parking_;
}

HCURSOR Win32Platform::handCursor() {
    if (!hand_) {
        hand_ = LoadCursorW(instance_, MAKEINTRESOURCEW(BV_CURSOR_HAND));
        if (!hand_)
            hand_ = LoadCursorW(nullptr, IDC_HAND);
    }
    return hand_;
}

void Win32Platform::startCommonControls() {
    if (commonControls_)
        return;
    using Init = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
    const auto init = lateFunction<Init>("comctl32.dll", "InitCommonControlsEx");
    // Sliders and tooltips are the only common controls the windows use.
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_BAR_CLASSES;
    if (!init(&controls))
        throw Failure(
            "Component 'comctl32.dll' or one of its dependencies not correctly registered: "
            "a file is missing or invalid");
    commonControls_ = true;
}

Win32Platform::~Win32Platform() {
    if (parking_)
        DestroyWindow(parking_);
    pictures_.clear();
    endOle();
}

std::unique_ptr<FormPeer> Win32Platform::createPeer(Form& form) {
    auto peer = std::make_unique<Win32Form>(*this, form);
    peer->ensureWindowIfNeeded();
    return peer;
}

Answer Win32Platform::messageBox(const std::string& prompt, Buttons buttons, Icon icon,
                                 const std::string& title) {
    // Task-modal without an owner: every window of the program is disabled
    // while the box is open, as an application-modal box does; timer ticks
    // go on arriving through the box's own message loop.
    UINT style = MB_TASKMODAL | (buttons == Buttons::YesNo ? MB_YESNO | MB_DEFBUTTON1 : MB_OK);
    switch (icon) {
        case Icon::None:
            break;
        case Icon::Information:
            style |= MB_ICONINFORMATION;
            break;
        case Icon::Question:
            style |= MB_ICONQUESTION;
            break;
        case Icon::Exclamation:
            style |= MB_ICONEXCLAMATION;
            break;
        case Icon::Stop:
            style |= MB_ICONSTOP;
            break;
    }
    const std::wstring text = text::widen(prompt);
    const std::wstring caption = text::widen(title);
    const int pressed = MessageBoxW(nullptr, text.c_str(), caption.c_str(), style);
    if (pressed == IDYES)
        return Answer::Yes;
    if (buttons == Buttons::YesNo)
        return Answer::No;
    return Answer::Ok;
}

void Win32Platform::startProgram(const std::string& path, int windowStyle) {
    if (windowStyle < 0 || windowStyle > kLastShowCommand)
        throw Failure("Invalid procedure call or argument");
    const std::wstring program = text::widen(path);
    std::wstring commandLine = L"\"" + program + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(windowStyle);
    PROCESS_INFORMATION started{};
    if (path.empty() || !CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr,
                                        FALSE, 0, nullptr, nullptr, &startup, &started)) {
        throw win32Failure(path.empty() ? ERROR_FILE_NOT_FOUND : GetLastError(), path,
                           "Invalid procedure call or argument");
    }
    CloseHandle(started.hThread);
    CloseHandle(started.hProcess);
}

void Win32Platform::setWallpaper(const std::string& path) {
    if (!systemParametersInfoA_)
        systemParametersInfoA_ = lateFunction<SetParams>("user32", "SystemParametersInfoA");
    const std::wstring wide = text::widen(path);
    const int size = WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string ansi(static_cast<std::size_t>(size > 0 ? size : 1), '\0');
    if (size > 0)
        WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, ansi.data(), size, nullptr, nullptr);
    systemParametersInfoA_(kSetDeskWallpaper, 0, ansi.data(), kUpdateIniFile);
}

void Win32Platform::endProgram() {
    ExitProcess(0);
}

int Win32Platform::run() {
    auto mainGone = [this] {
        if (!mainForm_)
            return false;
        auto it = std::find_if(forms_.begin(), forms_.end(),
                               [this](const Win32Form* f) { return &f->form() == mainForm_; });
        return it == forms_.end() || !(*it)->live();
    };
    if (!anyForm() || mainGone())
        return 0;
    ++running_;
    MSG msg{};
    int code = 0;
    for (;;) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            code = static_cast<int>(msg.wParam);
            break;
        }
        if (got == -1)
            break;
        if (preTranslate(msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    --running_;
    return code;
}

bool Win32Platform::preTranslate(MSG& msg) {
    if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN && msg.message != WM_SYSCHAR)
        return false;
    Win32Form* form = formOf(msg.hwnd);
    return form && form->handleKey(msg);
}

Win32Form* Win32Platform::formOf(HWND window) const {
    if (!window)
        return nullptr;
    HWND root = GetAncestor(window, GA_ROOT);
    for (Win32Form* form : forms_)
        if (form->hwnd() && form->hwnd() == root)
            return form;
    return nullptr;
}

void Win32Platform::withdraw(Win32Form* form) {
    std::erase(forms_, form);
}

bool Win32Platform::anyForm() const {
    return std::any_of(
        forms_.begin(), forms_.end(), [](const Win32Form* f) { return f->live(); });
}

void Win32Platform::windowGone(const Win32Form& form) {
    if (!running_)
        return;
    if (!anyForm() || &form.form() == mainForm_)
        PostQuitMessage(0);
}

int Win32Platform::nextShowCommand() {
    if (!firstShow_)
        return SW_SHOW;
    firstShow_ = false;
    // Taken from the start-up information itself: Wine does not apply it
    // to SW_SHOWDEFAULT.
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    GetStartupInfoW(&startup);
    if (startup.dwFlags & STARTF_USESHOWWINDOW)
        return startup.wShowWindow;
    return SW_SHOWDEFAULT;
}

}  // namespace bv::ui::win32
