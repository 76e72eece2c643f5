#include "automation/controls.h"

#include <commctrl.h>

#include "automation/window_search.h"

namespace bv::automation {

namespace {

Control describe(HWND parent, HWND child) {
    Control control;
    control.window = child;
    control.id = GetDlgCtrlID(child);
    control.className = windowClass(child);
    control.text = windowText(child);
    control.style = static_cast<DWORD>(GetWindowLongPtrW(child, GWL_STYLE));
    GetWindowRect(child, &control.rect);
    MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&control.rect), 2);
    return control;
}

}  // namespace

std::vector<Control> childControls(HWND parent) {
    std::vector<HWND> children;
    EnumChildWindows(
        parent,
        [](HWND child, LPARAM list) CALLBACK -> BOOL {
            reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&children));
    std::vector<Control> controls;
    controls.reserve(children.size());
    for (HWND child : children)
        controls.push_back(describe(parent, child));
    return controls;
}

Control findControl(HWND parent, const std::wstring& className, const std::wstring& text) {
    for (Control& control : childControls(parent))
        if (control.className == className && control.text == text)
            return control;
    return {};
}

Control findControl(HWND parent, int id) {
    for (Control& control : childControls(parent))
        if (control.id == id)
            return control;
    return {};
}

RECT sliderThumb(HWND slider) {
    RECT thumb{};
    DWORD process = 0;
    GetWindowThreadProcessId(slider, &process);
    HANDLE owner =
        OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, process);
    if (!owner)
        return thumb;
    if (void* there = VirtualAllocEx(owner, nullptr, sizeof thumb, MEM_COMMIT, PAGE_READWRITE)) {
        SendMessageW(slider, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(there));
        ReadProcessMemory(owner, there, &thumb, sizeof thumb, nullptr);
        VirtualFreeEx(owner, there, 0, MEM_RELEASE);
    }
    CloseHandle(owner);
    return thumb;
}

}  // namespace bv::automation
