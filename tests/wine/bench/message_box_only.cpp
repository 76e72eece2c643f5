// A program that only asks setup's question, as setup asks it: the least
// that setup's start to its confirmation box can take on this platform.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    MessageBoxW(nullptr, L"Do you want install brenlo vistrel for your computer", L"Confirm setup",
                MB_TASKMODAL | MB_YESNO | MB_DEFBUTTON1 | MB_ICONQUESTION);
    return 0;
}
