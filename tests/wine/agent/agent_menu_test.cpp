// The real agent's popup menu under Wine: where it opens, what its items
// do, and Exit with every window open.
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "agent/layouts.h"
#include "automation/message_box.h"
#include "automation/screenshot.h"
#include "automation/wallpaper.h"
#include "tests/wine/agent/agent_bar_session.h"
#include "tests/wine/support/message_boxes.h"
#include "ui/app.h"
#include "ui/backend.h"
#include "ui/form.h"
#include "ui/win32/win32_form.h"
#include "ui/win32/win32_platform.h"

namespace bv::testing {
namespace {

// Every file of the data directory with its bytes.
std::map<std::wstring, std::string> dataFiles() {
    std::map<std::wstring, std::string> files;
    for (const auto& entry :
         std::filesystem::recursive_directory_iterator(hostPath(paths::dataDir())))
        if (entry.is_regular_file()) {
            std::ifstream in(entry.path(), std::ios::binary);
            files[entry.path().wstring()] = std::string(std::istreambuf_iterator<char>(in), {});
        }
    return files;
}

TEST_F(AgentMenu, MenuOpensFromTheBackgroundAndTheMenuButton) {
    HWND menu = openMenuWith(kBackground, true);
    ASSERT_NE(menu, nullptr);
    Sleep(300);  // let it paint
    RECT around{};
    GetWindowRect(bar, &around);
    InflateRect(&around, 160, 120);
    RECT menuRect{}, both{};
    GetWindowRect(menu, &menuRect);
    EXPECT_TRUE(IntersectRect(&both, &around, &menuRect))
        << "the menu opens at the pointer, by the bar";
    ba::saveScreenshot(nullptr, L"agent_menu_open");
    PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
    ASSERT_TRUE(
        ba::waitUntil([] { return !IsWindowVisible(FindWindowW(L"#32768", nullptr)); }, 5s));

    ba::leftClickAt(bar, kBackground);  // a left click on the background does nothing
    Sleep(300);
    EXPECT_FALSE(IsWindowVisible(FindWindowW(L"#32768", nullptr)));

    menu = openMenuWith(kMenuButton, false);
    ASSERT_NE(menu, nullptr);
    PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
}

TEST_F(AgentMenu, SettingsItemStartsTheToolMinimized) {
    choose(kSettings);
    EXPECT_EQ(toolStartedWith(10s), SW_SHOWMINIMIZED);
}

TEST_F(AgentMenu, ExitAsksAndEndsOnlyOnYes) {
    choose(kExit);
    ASSERT_TRUE(answerNextBox(
        *agent, L"No",
        {{L"Brenlo Vistrel", L"Do you want to close brenlo vistrel v1.0", ba::MessageIcon::None}}));
    Sleep(500);
    EXPECT_TRUE(agent->running());

    choose(kExit);
    ASSERT_TRUE(answerNextBox(*agent, L"Yes"));
    EXPECT_TRUE(agent->waitForExit(5s).has_value());
}

TEST_F(AgentMenu, ExitWithTheSettingsAndAboutWindowsOpenEndsAllAndWritesNothing) {
    const Settings settings = openSettings();
    ASSERT_NE(settings.top, nullptr);
    ASSERT_TRUE(moveBarToTheTop(settings));  // a place not saved
    choose(kAbout);
    HWND about = ba::findWindow(L"Form3", 5s);
    ASSERT_NE(about, nullptr);
    ASSERT_TRUE(IsWindowVisible(settings.window));
    const auto before = dataFiles();

    choose(kExit);
    ASSERT_TRUE(answerNextBox(*agent, L"Yes"));
    EXPECT_TRUE(agent->waitForExit(5s).has_value());
    EXPECT_FALSE(IsWindow(bar));
    EXPECT_FALSE(IsWindow(settings.window));
    EXPECT_FALSE(IsWindow(about));
    const std::wstring last = ba::savedWallpaper();
    Sleep(1500);  // more than two wallpaper intervals
    EXPECT_EQ(dataFiles(), before);
    EXPECT_FALSE(std::filesystem::exists(hostPath(paths::topNote())));
    EXPECT_EQ(ba::savedWallpaper(), last) << "the wallpaper set last stays";
}

// The popup menu as the platform holds it, read while it is open: its five
// items in order, the separator a line, none checked or greyed. (Another
// process cannot read a menu under Wine, so the bar is made here.)
std::vector<std::wstring> gMenuSeen;
bool gMenuMarked = false;

TEST(AgentBarOnTheWindowLayer, PopupMenuHoldsItsFiveItems) {
    ui::win32::Win32Platform platform;
    ui::App app(platform, "brenlo_kel_vo");
    ui::Form bar(app, agent::kAgentBarLayout);
    bar.show();
    auto* peer = static_cast<ui::win32::Win32Form*>(ui::BackEnd::peer(bar));
    ASSERT_NE(peer->hwnd(), nullptr);
    ba::waitUntil([] { return false; }, 100ms);  // let it show
    SetTimer(nullptr, 0, 300, [](HWND, UINT, UINT_PTR id, DWORD) CALLBACK -> void {
        KillTimer(nullptr, id);
        HWND menu = FindWindowW(L"#32768", nullptr);
        HMENU items = reinterpret_cast<HMENU>(SendMessageW(menu, MN_GETHMENU, 0, 0));
        for (int i = 0; i < GetMenuItemCount(items); ++i) {
            wchar_t text[64] = L"";
            MENUITEMINFOW info{};
            info.cbSize = sizeof info;
            info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_STRING;
            info.dwTypeData = text;
            info.cch = 64;
            GetMenuItemInfoW(items, static_cast<UINT>(i), TRUE, &info);
            gMenuSeen.push_back(info.fType & MFT_SEPARATOR ? L"-" : text);
            if (!(info.fType & MFT_SEPARATOR))
                gMenuMarked = gMenuMarked || (info.fState & (MFS_CHECKED | MFS_GRAYED));
        }
        PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
    });
    EXPECT_EQ(peer->popupMenu(ui::MenuPlace::Pointer), -1);
    EXPECT_EQ(gMenuSeen,
              (std::vector<std::wstring>{L"Settings...", L"Position...", L"About", L"-", L"Exit"}));
    EXPECT_FALSE(gMenuMarked);
}

}  // namespace
}  // namespace bv::testing
