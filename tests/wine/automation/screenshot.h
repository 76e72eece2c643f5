#pragma once
// Screenshots for a person to look at after a test: what the screen showed.
#include <windows.h>

#include <string>

namespace bv::automation {

// The folder the harness gives for screenshots (BV_SCREENSHOT_DIR), else
// "screenshots" in the current folder. Created if missing.
std::wstring screenshotFolder();

// Copies what the screen shows of `window` (the whole screen for nullptr)
// into "<screenshotFolder>\<name>.bmp", a 24-bit bitmap, and returns that
// path. Throws std::runtime_error if nothing could be captured or written.
std::wstring saveScreenshot(HWND window, const std::wstring& name);

}  // namespace bv::automation
