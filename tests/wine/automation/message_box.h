#pragma once
// Reading and answering the platform's modal message boxes.
#include <windows.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "automation/controls.h"

namespace bv::automation {

// Unknown: an icon that is none of the platform's message box icons.
enum class MessageIcon { None, Information, Question, Exclamation, Stop, Unknown };

struct MessageBoxInfo {
    HWND window = nullptr;
    std::wstring title;
    std::wstring prompt;
    MessageIcon icon = MessageIcon::None;
    std::vector<Control> buttons;  // in tab order; Wine labels them "OK", "&Yes", "&No"
    std::wstring defaultButton;    // text of the button with the default style, "" if none
};

// Reads a message box window (dialog class "#32770"); nullopt for any other window.
std::optional<MessageBoxInfo> readMessageBox(HWND window);

// The first visible message box of the process (any process for 0), polled
// until `timeout`.
std::optional<MessageBoxInfo> waitForMessageBox(DWORD processId, std::chrono::milliseconds timeout);

// Presses the button labelled `button`; "Yes" also matches "&Yes". Returns
// false if the box has no such button or did not close within two seconds.
bool answerMessageBox(const MessageBoxInfo& box, const std::wstring& button);

}  // namespace bv::automation
