// A second program for the automation tests to drive from outside:
//   wine_test_helper msgbox STYLE TITLE PROMPT   shows one message box (STYLE
//       is the MB_ flags in decimal) and exits with the id of the button pressed
//   wine_test_helper wallpaper PATH               sets the wallpaper the way the
//       agent does and exits with the call's result
// Bad arguments exit with 255.
#include <windows.h>
// after windows.h, which it needs
#include <shellapi.h>

#include <cwchar>
#include <string>

namespace {

int setWallpaper(const wchar_t* path) {
    // The agent hands over the path in the ANSI code page.
    const int size = WideCharToMultiByte(CP_ACP, 0, path, -1, nullptr, 0, nullptr, nullptr);
    std::string ansi(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, path, -1, ansi.data(), size, nullptr, nullptr);
    return SystemParametersInfoA(20, 0, ansi.data(), 1) ? 1 : 0;
}

}  // namespace

int main() {
    int count = 0;
    LPWSTR* args = CommandLineToArgvW(GetCommandLineW(), &count);
    int result = 255;
    if (args != nullptr && count == 5 && std::wcscmp(args[1], L"msgbox") == 0) {
        const auto style = static_cast<UINT>(std::wcstoul(args[2], nullptr, 10));
        result = MessageBoxW(nullptr, args[4], args[3], style);
    } else if (args != nullptr && count == 3 && std::wcscmp(args[1], L"wallpaper") == 0) {
        result = setWallpaper(args[2]);
    }
    LocalFree(args);
    return result;
}
