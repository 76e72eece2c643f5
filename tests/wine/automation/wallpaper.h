#pragma once
// The desktop wallpaper as the platform reports it.
#include <string>

namespace bv::automation {

// The wallpaper's path as SPI_GETDESKWALLPAPER gives it to this process; ""
// when none is set. Wine answers each process from a copy it made at that
// process's first query, so a wallpaper that another program sets later is
// not seen here; use savedWallpaper() for that.
std::wstring currentWallpaper();

// The wallpaper's path saved in the user profile (HKCU\Control Panel\Desktop,
// value Wallpaper), which a set-wallpaper call with SPIF_UPDATEINIFILE writes
// at once; "" when there is none. Sees changes of every process.
std::wstring savedWallpaper();

}  // namespace bv::automation
