// Stands in for the configuration tool: records how it was started, so a test
// can see that the agent started it minimized, then ends.
#include <windows.h>

#include <cstdio>

int main() {
    STARTUPINFOW info{};
    info.cb = sizeof info;
    GetStartupInfoW(&info);
    const int show = (info.dwFlags & STARTF_USESHOWWINDOW) ? info.wShowWindow : -1;
    if (FILE* out = _wfopen(L"C:\\stand_in_started.txt", L"a")) {
        std::fprintf(out, "%d\n", show);
        std::fclose(out);
    }
    return 0;
}
