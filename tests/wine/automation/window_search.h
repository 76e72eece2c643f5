#pragma once
// Finding top-level windows the way a user sees them: by title, class or owner process.
#include <windows.h>

#include <chrono>
#include <string>
#include <vector>

namespace bv::automation {

// The window's text (title or control text) through WM_GETTEXT; "" when the
// window does not answer within a second, so a hung program cannot hang a test.
std::wstring windowText(HWND window);
std::wstring windowClass(HWND window);
DWORD windowProcess(HWND window);
// The control that has the keyboard focus in the window's thread.
HWND focusOf(HWND window);

// The top-level windows of one process, front to back, hidden ones included.
std::vector<HWND> topLevelWindows(DWORD processId);

// First visible top-level window whose title is exactly `title` (and whose
// class is `className`, unless that is empty), polled until `timeout`.
// nullptr when none appeared.
HWND findWindow(const std::wstring& className, const std::wstring& title,
                std::chrono::milliseconds timeout);
inline HWND findWindow(const std::wstring& title, std::chrono::milliseconds timeout) {
    return findWindow(L"", title, timeout);
}

// First visible top-level window of the process, polled until `timeout`.
HWND findWindowOfProcess(DWORD processId, std::chrono::milliseconds timeout);

}  // namespace bv::automation
