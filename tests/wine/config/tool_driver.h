#pragma once
// The configuration tool's main window driven with the real mouse and
// keyboard: its controls found by kind and place, and a pick made through
// the platform's file-open dialog. Shared by the Wine tests and by
// tools/try.sh's driver.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#include "automation/controls.h"
#include "automation/input.h"
#include "automation/pixels.h"
#include "automation/wait.h"
#include "automation/window_search.h"
#include "datastore/wide.h"

namespace bv::testing {

inline constexpr const wchar_t* kToolTitle = L"Brenlo Vistrel v1.0 - Settings";

struct ToolDriver {
    void collectControls() {
        slots.clear();
        for (const auto& c : automation::childControls(window))
            if (_wcsicmp(c.className.c_str(), L"Edit") == 0)
                slots.push_back(c);
            else if (c.className == TRACKBAR_CLASSW)
                slider = c.window;
            else if (c.className == L"BvPictureBox" && c.rect.right - c.rect.left < 50)
                indicator = c.window;
            else if (c.className == L"BvPictureBox" && c.rect.right - c.rect.left > 200)
                banner = c.window;
        std::sort(slots.begin(), slots.end(),
                  [](const auto& a, const auto& b) { return a.rect.top < b.rect.top; });
    }

    HWND slotWindow(int slot) const { return slots.at(static_cast<std::size_t>(slot - 1)).window; }
    std::string slotText(int slot) const {
        return text::narrow(automation::windowText(slotWindow(slot)));
    }
    HWND button(const wchar_t* caption) const {
        return automation::findControl(window, L"Button", caption).window;
    }
    int sliderValue() const { return static_cast<int>(SendMessageW(slider, TBM_GETPOS, 0, 0)); }

    // The pointer moved over the slot, as the user's hand does.
    void pointAt(int slot) const {
        RECT r{};
        GetWindowRect(slotWindow(slot), &r);
        automation::pointerTo(POINT{r.left + 20, (r.top + r.bottom) / 2});
        automation::pointerTo(POINT{r.left + 40, (r.top + r.bottom) / 2});
    }
    // What the preview shows inside its border, on the screen: the image
    // lies in the "Preview" frame at (5280, 120) twips.
    automation::Pixels preview() const {
        POINT origin{5280 / 15 + 40 + 1, 120 / 15 + 24 + 1};
        ClientToScreen(window, &origin);
        return automation::captureScreen(RECT{origin.x, origin.y, origin.x + 215, origin.y + 127});
    }

    // Clicks the slot and waits for the file-open dialog.
    HWND openDialogOf(int slot) const {
        automation::pointerClick(automation::centreOf(slotWindow(slot)));
        return automation::findWindow(L"#32770", L"Add wallpaper to top 10",
                                      std::chrono::seconds(10));
    }
    // A pick as the user makes it: the slot, the dialog, the name typed,
    // Enter. Returns what went wrong, "" when the dialog took the name.
    std::string choose(int slot, const std::string& path) const {
        HWND dialog = openDialogOf(slot);
        if (!dialog)
            return "no file-open dialog for slot " + std::to_string(slot);
        SetForegroundWindow(dialog);
        Sleep(200);
        automation::typeText(text::widen(path));
        automation::pressKey(VK_RETURN);
        if (!automation::waitUntil([&] { return !IsWindow(dialog); }, std::chrono::seconds(10)))
            return "the dialog stayed open for " + path;
        Sleep(100);
        return "";
    }

    HWND window = nullptr;
    std::vector<automation::Control> slots;
    HWND slider = nullptr, indicator = nullptr, banner = nullptr;
};

}  // namespace bv::testing
