#include "automation/message_box.h"

#include <stdexcept>

#include "automation/input.h"
#include "automation/pixels.h"
#include "automation/wait.h"
#include "automation/window_search.h"

namespace bv::automation {

namespace {

// The message box's prompt is the static control with this id.
constexpr int kPromptId = 0xFFFF;

// True if `drawn` is what the top left corner of `screen` shows.
bool matches(const Pixels& screen, const Pixels& drawn) {
    for (LONG y = 0; y < drawn.height; ++y) {
        for (LONG x = 0; x < drawn.width; ++x)
            if (screen.at(x, y) != drawn.at(x, y))
                return false;
    }
    return true;
}

std::wstring withoutMnemonic(std::wstring text) {
    std::erase(text, L'&');
    return text;
}

// The box's icon. Within this process the static control holds the very
// handle of a system icon. Wine gives each process its own copy of those, so
// for another program's box the picture on the screen is compared with each
// system icon drawn here; the box must be visible for that.
MessageIcon iconOf(const Control& control) {
    const auto shown = reinterpret_cast<HICON>(SendMessageW(control.window, STM_GETICON, 0, 0));
    if (shown == nullptr)
        return MessageIcon::None;
    const struct {
        LPCWSTR resource;
        MessageIcon icon;
    } known[] = {{IDI_ASTERISK, MessageIcon::Information},
                 {IDI_QUESTION, MessageIcon::Question},
                 {IDI_EXCLAMATION, MessageIcon::Exclamation},
                 {IDI_HAND, MessageIcon::Stop}};
    for (const auto& entry : known)
        if (LoadIconW(nullptr, entry.resource) == shown)
            return entry.icon;
    // The box may not be painted yet when it is first seen.
    MessageIcon found = MessageIcon::Unknown;
    waitUntil(
        [&] {
            RECT onScreen{};
            GetWindowRect(control.window, &onScreen);
            try {
                const Pixels screen = captureScreen(onScreen);
                for (const auto& entry : known) {
                    const Pixels drawn =
                        renderIcon(LoadIconW(nullptr, entry.resource), screen.at(0, 0));
                    if (drawn.width <= screen.width && drawn.height <= screen.height &&
                        matches(screen, drawn)) {
                        found = entry.icon;
                        return true;
                    }
                }
            } catch (const std::runtime_error&) {
                // Off the screen or not an icon: unknown.
            }
            return false;
        },
        2000ms);
    return found;
}

}  // namespace

std::optional<MessageBoxInfo> readMessageBox(HWND window) {
    if (!IsWindow(window) || windowClass(window) != L"#32770")
        return std::nullopt;
    MessageBoxInfo box;
    box.window = window;
    box.title = windowText(window);
    for (Control& control : childControls(window)) {
        if (_wcsicmp(control.className.c_str(), L"Static") == 0) {
            if ((control.id & 0xFFFF) == kPromptId)
                box.prompt = control.text;
            else if ((control.style & SS_TYPEMASK) == SS_ICON)
                box.icon = iconOf(control);
        } else if (_wcsicmp(control.className.c_str(), L"Button") == 0 &&
                   (control.style & WS_VISIBLE)) {
            if ((control.style & BS_TYPEMASK) == BS_DEFPUSHBUTTON)
                box.defaultButton = control.text;
            box.buttons.push_back(std::move(control));
        }
    }
    return box;
}

std::optional<MessageBoxInfo> waitForMessageBox(DWORD processId,
                                                std::chrono::milliseconds timeout) {
    std::optional<MessageBoxInfo> found;
    waitUntil(
        [&] {
            HWND box = nullptr;
            while ((box = FindWindowExW(nullptr, box, L"#32770", nullptr)) != nullptr) {
                if (IsWindowVisible(box) && (processId == 0 || windowProcess(box) == processId)) {
                    found = readMessageBox(box);
                    return found.has_value();
                }
            }
            return false;
        },
        timeout);
    return found;
}

bool answerMessageBox(const MessageBoxInfo& box, const std::wstring& button) {
    for (const Control& candidate : box.buttons) {
        if (candidate.text == button ||
            withoutMnemonic(candidate.text) == withoutMnemonic(button)) {
            click(candidate.window);
            return waitUntil([&] { return !IsWindow(box.window); }, 2000ms);
        }
    }
    return false;
}

}  // namespace bv::automation
