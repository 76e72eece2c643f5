// The about window under Wine: the agent's copy, single, closed only by
// "A&ccept", taking the activation back from the bar but not from another
// program; and both copies' titles and focus order, made in this process.
#include <windows.h>

#include <string>
#include <vector>

#include "automation/screenshot.h"
#include "automation/window_search.h"
#include "common/about_window.h"
#include "datastore/wide.h"
#include "tests/wine/agent/agent_bar_session.h"
#include "tests/wine/support/control_window.h"
#include "tests/wine/support/message_boxes.h"
#include "ui/app.h"
#include "ui/form.h"
#include "ui/win32/win32_platform.h"

namespace bv::testing {
namespace {

TEST_F(AgentMenu, AboutWindowIsSingleAndTakesTheActivationBack) {
    choose(kAbout);
    HWND about = ba::findWindow(L"Form3", 5s);
    ASSERT_NE(about, nullptr);
    Sleep(300);  // let it paint
    ba::saveScreenshot(about, L"agent_about");
    choose(kAbout);
    EXPECT_EQ(visibleWindowsTitled(L"Form3"), 1);

    SetForegroundWindow(bar);  // the user clicks the bar
    EXPECT_TRUE(ba::waitUntil([&] { return GetForegroundWindow() == about; }, 5s));

    ba::Control accept = ba::findControl(about, L"Button", L"A&ccept");
    ASSERT_NE(accept.window, nullptr);
    EXPECT_EQ(focusOf(about), accept.window) << "the window opens with the focus on A&ccept";
    // Alt+C, as the keyboard delivers it to the focused control.
    PostMessageW(focusOf(about), WM_SYSCHAR, L'c', LPARAM{1} << 29);
    EXPECT_TRUE(ba::waitUntil([&] { return !IsWindow(about); }, 5s));
    EXPECT_TRUE(agent->running());
}

TEST_F(AgentMenu, AboutWindowIgnoresEscAndClosesByEnterOnAcceptOrAltCFromElsewhere) {
    choose(kAbout);
    HWND about = ba::findWindow(L"Form3", 5s);
    ASSERT_NE(about, nullptr);
    ba::Control accept = ba::findControl(about, L"Button", L"A&ccept");
    ASSERT_NE(accept.window, nullptr);
    ASSERT_TRUE(ba::waitUntil([&] { return focusOf(about) == accept.window; }, 3s));

    pressKey(about, VK_ESCAPE);
    PostMessageW(accept.window, WM_CHAR, VK_ESCAPE, 1);
    Sleep(500);
    EXPECT_TRUE(IsWindow(about) && IsWindowVisible(about)) << "Esc closed the window";

    // Alt+C with the focus on the about text.
    pressKey(about, VK_TAB);
    ASSERT_TRUE(ba::waitUntil(
        [&] { return _wcsicmp(ba::windowClass(focusOf(about)).c_str(), L"Edit") == 0; }, 3s));
    PostMessageW(focusOf(about), WM_SYSCHAR, L'c', LPARAM{1} << 29);
    EXPECT_TRUE(ba::waitUntil([&] { return !IsWindow(about); }, 5s));

    // Enter with the focus on "A&ccept".
    choose(kAbout);
    about = ba::findWindow(L"Form3", 5s);
    ASSERT_NE(about, nullptr);
    accept = ba::findControl(about, L"Button", L"A&ccept");
    ASSERT_TRUE(ba::waitUntil([&] { return focusOf(about) == accept.window; }, 3s));
    pressKey(about, VK_RETURN);
    EXPECT_TRUE(ba::waitUntil([&] { return !IsWindow(about); }, 5s));
    EXPECT_TRUE(agent->running());
}

// Only the agent's own windows count: a window of another program may take
// the activation and keep it while the about window is open.
TEST_F(AgentMenu, AboutWindowLeavesAnotherProgramsWindowInFront) {
    choose(kAbout);
    HWND about = ba::findWindow(L"Form3", 5s);
    ASSERT_NE(about, nullptr);
    ASSERT_TRUE(ba::waitUntil([&] { return GetForegroundWindow() == about; }, 5s));

    ba::Process other = ba::Process::start(fromUnix(BV_TEST_HELPER), L"msgbox 0 Stranger Hello");
    HWND stranger = ba::findWindow(L"Stranger", 10s);
    ASSERT_NE(stranger, nullptr);
    SetForegroundWindow(stranger);
    ASSERT_TRUE(ba::waitUntil([&] { return GetForegroundWindow() == stranger; }, 5s));
    EXPECT_FALSE(ba::waitUntil([&] { return GetForegroundWindow() != stranger; }, 1500ms))
        << "the about window took the activation back";
    EXPECT_TRUE(IsWindowVisible(about));
    EXPECT_TRUE(answerNextBox(other, L"OK"));
}

// The name of the control whose window has the keyboard focus.
std::string focusedControl(const ui::Form& form) {
    for (const auto& c : form.controls())
        if (GetFocus() == controlWindow(form, *c))
            return c->name();
    return "a " + text::narrow(ba::windowClass(GetFocus()));
}

// Both copies of the about window opened here, in this process, on the
// window layer the programs are built from: the title each shows, the
// control that has the focus first and where Tab takes it from there.
TEST(AboutWindowCopies, ToolsCopyOpensWithTheFocusOnTheBannersPictureBox) {
    ui::win32::Win32Platform platform;
    ui::App app(platform, "brenlo_kel_vo_config");
    auto check = [&](const ui::FormSpec& layout, const wchar_t* title,
                     const std::vector<std::string>& tabOrder) {
        SCOPED_TRACE(layout.caption);
        common::AboutWindow about(app, layout);
        app.raise([&] {
            about.form.load();
            about.form.show();
        });
        EXPECT_EQ(ba::windowText(formWindow(about.form)), title);
        const HWND expected = controlWindow(about.form, tabOrder.front().c_str());
        ASSERT_NE(expected, nullptr);
        EXPECT_TRUE(ba::waitUntil([&] { return GetFocus() == expected; }, 3s))
            << "focus on " << focusedControl(about.form);
        std::vector<std::string> seen;
        for (std::size_t i = 0; i < tabOrder.size(); ++i) {
            seen.push_back(focusedControl(about.form));
            // Tab as the program's loop takes it.
            MSG tab{GetFocus(), WM_KEYDOWN, VK_TAB, 0, 0, {}};
            if (!platform.preTranslate(tab)) {
                TranslateMessage(&tab);
                DispatchMessageW(&tab);
            }
        }
        EXPECT_EQ(seen, tabOrder);
    };
    check(common::kConfigAboutLayout, L"About Vistrel v1.0", {"Picture1", "Text1", "Command1"});
    check(common::kAgentAboutLayout, L"Form3", {"Command1", "Text1", "Picture1"});
}

}  // namespace
}  // namespace bv::testing
