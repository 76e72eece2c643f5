#include "automation/window_search.h"

#include "automation/wait.h"

namespace bv::automation {

std::wstring windowText(HWND window) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 1000, &length))
        return {};
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                             SMTO_ABORTIFHUNG, 1000, &copied))
        return {};
    text.resize(copied < text.size() ? copied : text.size() - 1);
    return text;
}

std::wstring windowClass(HWND window) {
    wchar_t name[256] = {};
    const int length = GetClassNameW(window, name, 256);
    return std::wstring(name, length > 0 ? length : 0);
}

HWND focusOf(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
    return info.hwndFocus;
}

DWORD windowProcess(HWND window) {
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    return processId;
}

namespace {

std::vector<HWND> allTopLevelWindows() {
    std::vector<HWND> windows;
    EnumWindows(
        [](HWND window, LPARAM list) CALLBACK -> BOOL {
            reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&windows));
    return windows;
}

HWND firstMatch(const std::wstring& className, const std::wstring& title) {
    for (HWND window : allTopLevelWindows())
        if (IsWindowVisible(window) && (className.empty() || windowClass(window) == className) &&
            windowText(window) == title)
            return window;
    return nullptr;
}

}  // namespace

std::vector<HWND> topLevelWindows(DWORD processId) {
    std::vector<HWND> result;
    for (HWND window : allTopLevelWindows())
        if (windowProcess(window) == processId)
            result.push_back(window);
    return result;
}

HWND findWindow(const std::wstring& className, const std::wstring& title,
                std::chrono::milliseconds timeout) {
    HWND found = nullptr;
    waitUntil([&] { return (found = firstMatch(className, title)) != nullptr; }, timeout);
    return found;
}

HWND findWindowOfProcess(DWORD processId, std::chrono::milliseconds timeout) {
    HWND found = nullptr;
    waitUntil(
        [&] {
            for (HWND window : topLevelWindows(processId)) {
                if (IsWindowVisible(window)) {
                    found = window;
                    return true;
                }
            }
            return false;
        },
        timeout);
    return found;
}

}  // namespace bv::automation
