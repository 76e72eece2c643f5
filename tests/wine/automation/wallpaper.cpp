#include "automation/wallpaper.h"

#include <windows.h>

namespace bv::automation {

std::wstring currentWallpaper() {
    wchar_t path[MAX_PATH + 1] = {};
    if (!SystemParametersInfoW(SPI_GETDESKWALLPAPER, MAX_PATH, path, 0))
        return {};
    return path;
}

std::wstring savedWallpaper() {
    HKEY desktop = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, KEY_QUERY_VALUE, &desktop) !=
        ERROR_SUCCESS)
        return {};
    wchar_t path[MAX_PATH + 1] = {};
    DWORD size = sizeof path - sizeof path[0];  // room for a terminator the value may lack
    DWORD type = 0;
    const LONG status = RegQueryValueExW(desktop, L"Wallpaper", nullptr, &type,
                                         reinterpret_cast<BYTE*>(path), &size);
    RegCloseKey(desktop);
    if (status != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ))
        return {};
    return path;
}

}  // namespace bv::automation
