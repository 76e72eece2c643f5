// The platform calls: the top-level report, the file dialog, the message
// loop's end, starting programs and setting the wallpaper.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>

#include "automation/wallpaper.h"
#include "datastore/failure.h"
#include "tests/wine/ui/ui_win32_fixture.h"
#include "ui/win32/late_library.h"

namespace bv::ui::win32::tests {
namespace {

TEST_F(Win32Back, FailureInAHandlerReachesTheTopLevelReport) {
    int runs = 0;
    form->button("Go").Click = [&] {
        ++runs;
        throw Failure("Invalid picture");
    };
    SendMessageW(child("Go"), BM_CLICK, 0, 0);
    ASSERT_EQ(platform.boxes.size(), 1u);
    EXPECT_EQ(platform.boxes[0], "Run-time error:\r\n\r\nInvalid picture");
    EXPECT_EQ(platform.ends, 1);
    EXPECT_TRUE(app.ended());
    // Nothing runs after the end.
    SendMessageW(child("Go"), BM_CLICK, 0, 0);
    EXPECT_EQ(runs, 1);
}

TEST_F(Win32Back, FileDialogReturnsTheChosenPathOrKeepsTheOld) {
    const std::string chosen = writeTemp("bv_ui_chosen.bmp", testBitmapBytes());
    FileDialog& dialog = form->fileDialog("c");
    dialog.title = "Select Image # 3";
    dialog.fileName = "C:\\before.bmp";

    std::wstring title;
    auto answer = [&](bool cancel) {
        return [&title, &chosen, cancel] {
            HWND box = threadWindow(L"#32770");
            if (!box)
                return false;
            title = windowText(box);
            if (!cancel) {
                HWND name = GetDlgItem(box, 0x47c);  // the file name combo box
                if (!name)
                    name = GetDlgItem(box, 0x480);
                SetWindowTextW(name, bv::text::widen(chosen).c_str());
            }
            PostMessageW(box, WM_COMMAND, cancel ? IDCANCEL : IDOK, 0);
            return true;
        };
    };
    {
        ThreadTimer chooser(300, answer(false));
        EXPECT_TRUE(dialog.showOpen());
    }
    EXPECT_EQ(title, L"Select Image # 3");
    EXPECT_EQ(dialog.fileName, chosen);
    {
        ThreadTimer canceller(300, answer(true));
        EXPECT_FALSE(dialog.showOpen());
    }
    EXPECT_EQ(dialog.fileName, chosen);
    DeleteFileW(bv::text::widen(chosen).c_str());
}

TEST_F(Win32Back, RunEndsWithTheLastWindowOrTheMainOne) {
    Form bar(app, kBarLayout);
    // A guard against a loop that never ends.
    ThreadTimer guard(5000, [] {
        PostQuitMessage(99);
        return true;
    });
    PostMessageW(window(), WM_CLOSE, 0, 0);
    platform.quitWith(*form);
    EXPECT_EQ(platform.run(), 0);
    EXPECT_TRUE(form->unloaded());
    EXPECT_FALSE(bar.unloaded());

    // Without a main window: when the last one goes, whether its window
    // was ever made or not.
    TestPlatform second;
    App other(second, "second");
    auto one = std::make_unique<Form>(other, kSizableLayout);
    auto never = std::make_unique<Form>(other, kSizableLayout);
    one->Form_Terminate = [&] { never->unload(); };
    PostMessageW(peerOf(*one).ensureWindow(), WM_CLOSE, 0, 0);
    EXPECT_EQ(second.run(), 0);
    EXPECT_TRUE(one->unloaded());
    EXPECT_TRUE(never->unloaded());
    EXPECT_EQ(formWindow(*never), nullptr);
    EXPECT_EQ(second.run(), 0);  // nothing left: returns at once
}

// A call looked up late: null where the system lacks it, or a failure that
// names what is missing.
TEST(LateLibrary, AnswersNullOrNamesWhatIsMissing) {
    using Call = int(WINAPI*)();
    EXPECT_NE(lateFunctionIfThere<Call>("user32.dll", "GetDesktopWindow"), nullptr);
    EXPECT_EQ(lateFunctionIfThere<Call>("user32.dll", "NoSuchCall"), nullptr);
    EXPECT_EQ(lateFunctionIfThere<Call>("no_such.dll", "NoSuchCall"), nullptr);
    auto failure = [](const char* library) {
        return failureOf([&] { lateFunction<Call>(library, "NoSuchCall"); });
    };
    EXPECT_EQ(failure("user32.dll"), "Can't find DLL entry point NoSuchCall in user32.dll");
    EXPECT_EQ(failure("no_such.dll"), "File not found: no_such.dll");
}

TEST_F(Win32Back, PlatformCallsStartProgramsAndSetTheWallpaper) {
    EXPECT_EQ(failureOf([&] { platform.startProgram("C:\\no such folder\\tool.exe", 2); }),
              "File not found: C:\\no such folder\\tool.exe");
    EXPECT_NO_THROW(platform.startProgram("C:\\windows\\system32\\hostname.exe", 2));

    // The path goes through the ANSI code page, accents included where the
    // code page has them.
    const std::string name = GetACP() == 1252 ? "bv_caf\xc3\xa9.bmp" : "bv_cafe.bmp";
    const std::string path = writeTemp(name, testBitmapBytes());
    platform.setWallpaper(path);
    EXPECT_EQ(bv::automation::currentWallpaper(), bv::text::widen(path));
    platform.setWallpaper(path);  // the address found first serves again
    EXPECT_EQ(bv::automation::currentWallpaper(), bv::text::widen(path));
    DeleteFileW(bv::text::widen(path).c_str());
}

}  // namespace
}  // namespace bv::ui::win32::tests
