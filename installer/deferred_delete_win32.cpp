#include <windows.h>

#include <string>

#include "datastore/paths.h"
#include "datastore/wide.h"
#include "installer/deferred_delete.h"

namespace bv::installer {

namespace {

std::wstring fullPath(const std::wstring& path) {
    wchar_t full[MAX_PATH + 1] = {};
    const DWORD n = GetFullPathNameW(path.c_str(), MAX_PATH + 1, full, nullptr);
    if (n == 0 || n > MAX_PATH)
        return path;
    wchar_t longer[MAX_PATH + 1] = {};
    const DWORD m = GetLongPathNameW(full, longer, MAX_PATH + 1);
    return m == 0 || m > MAX_PATH ? std::wstring(full) : std::wstring(longer);
}

bool isOwnFile(const std::wstring& path) {
    wchar_t own[MAX_PATH + 1] = {};
    const DWORD n = GetModuleFileNameW(nullptr, own, MAX_PATH + 1);
    if (n == 0 || n > MAX_PATH)
        return false;
    return lstrcmpiW(fullPath(own).c_str(), fullPath(path).c_str()) == 0;
}

}  // namespace

bool deleteOwnFileAfterExit(const std::string& path) {
    const std::wstring target = text::widen(path);
    if (GetFileAttributesW(target.c_str()) == INVALID_FILE_ATTRIBUTES || !isOwnFile(target))
        return false;
    // cmd retries about once a second, for a minute at most, and stops as
    // soon as the file is gone: the program ends within milliseconds of
    // starting it. Not "@(" before the block: Wine's cmd does not take it.
    const std::wstring cmd = text::widen(paths::systemDir() + "\\cmd.exe");
    const std::wstring ping = text::widen(paths::systemDir() + "\\ping.exe");
    const std::wstring quoted = L"\"" + target + L"\"";
    std::wstring line = L"\"" + cmd + L"\" /d /q /c for /l %i in (1,1,60) do (del /q " + quoted +
                        L" >nul 2>&1 & if exist " + quoted + L" (" + ping +
                        L" -n 2 127.0.0.1 >nul) else exit)";
    const std::wstring directory = text::widen(paths::systemDir());
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(cmd.c_str(), line.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW,
                        nullptr, directory.c_str(), &startup, &started))
        return false;
    CloseHandle(started.hThread);
    CloseHandle(started.hProcess);
    return true;
}

}  // namespace bv::installer
