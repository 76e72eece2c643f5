#pragma once
// Delivers the thread's messages for a while, as a program's loop does
// (keys through the platform's own handling first).
#include <windows.h>

#include "ui/win32/win32_platform.h"

namespace bv::ui::win32 {

inline void pump(Win32Platform& platform, DWORD ms) {
    const DWORD start = GetTickCount();
    for (;;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (platform.preTranslate(msg))
                continue;
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        const DWORD spent = GetTickCount() - start;
        if (spent >= ms)
            return;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, ms - spent, QS_ALLINPUT);
    }
}

}  // namespace bv::ui::win32
