// The about window under Wine: the agent's copy, single, closed only by
// "A&ccept", taking the activation back from the bar but not from another
// program; and both copies' first focus, made in this process.
#include <windows.h>

#include <utility>

#include "automation/message_box.h"
#include "automation/screenshot.h"
#include "automation/window_search.h"
#include "common/about_window.h"
#include "tests/wine/agent/agent_bar_session.h"
#include "tests/wine/support/control_window.h"
#include "ui/app.h"
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
    auto box = ba::readMessageBox(stranger);
    ASSERT_TRUE(box);
    EXPECT_TRUE(ba::answerMessageBox(*box, L"OK"));
}

// Both copies of the about window opened here, in this process, on the
// window layer the programs are built from.
TEST(AboutWindowCopies, ToolsCopyOpensWithTheFocusOnTheBannersPictureBox) {
    ui::win32::Win32Platform platform;
    ui::App app(platform, "brenlo_kel_vo_config");
    const std::pair<const ui::FormSpec*, const char*> copies[] = {
        {&common::kConfigAboutLayout, "Picture1"}, {&common::kAgentAboutLayout, "Command1"}};
    for (const auto& [layout, focused] : copies) {
        SCOPED_TRACE(layout->caption);
        common::AboutWindow about(app, *layout);
        app.dispatch([&] {
            about.form.load();
            about.form.show();
        });
        const HWND expected = controlWindow(about.form, focused);
        ASSERT_NE(expected, nullptr);
        EXPECT_TRUE(ba::waitUntil([&] { return GetFocus() == expected; }, 3s))
            << "focus on a " << ba::windowClass(GetFocus());
    }
}

}  // namespace
}  // namespace bv::testing
