// A message hook that a test installs on setup's thread: every timer tick
// waits for the test's go-ahead, so the test can read the window between two
// steps however slowly it runs.
#include <windows.h>

extern "C" __declspec(dllexport) LRESULT CALLBACK
    GetMsgProc(int code, WPARAM remove, LPARAM message) {
    const MSG* msg = reinterpret_cast<const MSG*>(message);
    if (code == HC_ACTION && remove == PM_REMOVE && msg->message == WM_TIMER) {
        HANDLE waiting = OpenEventW(EVENT_MODIFY_STATE, FALSE, L"bv_tick_gate_waiting");
        HANDLE go = OpenSemaphoreW(SYNCHRONIZE, FALSE, L"bv_tick_gate_go");
        if (waiting && go) {
            SetEvent(waiting);
            WaitForSingleObject(go, 30000);
        }
        if (waiting)
            CloseHandle(waiting);
        if (go)
            CloseHandle(go);
    }
    return CallNextHookEx(nullptr, code, remove, message);
}
