// The automation library against real windows under Wine: a window of this
// test, message boxes of this process and of a helper program, the desktop
// wallpaper and screenshots.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "automation/controls.h"
#include "automation/input.h"
#include "automation/message_box.h"
#include "automation/process.h"
#include "automation/screenshot.h"
#include "automation/wait.h"
#include "automation/wallpaper.h"
#include "automation/window_search.h"
#include "tests/support/bitmap_files.h"
#include "tests/wine/support/message_boxes.h"

namespace ba = bv::automation;
using namespace std::chrono_literals;

namespace {

std::wstring besideThisProgram(const std::wstring& name) {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder = path;
    return folder.substr(0, folder.find_last_of(L'\\') + 1) + name;
}

std::wstring helperProgram() {
    const char* name = BV_TEST_HELPER;
    return besideThisProgram(std::wstring(name, name + std::strlen(name)));
}

// A window of this test that records what reaches it.
class ProbeWindow {
  public:
    static constexpr int kButtonId = 101;
    static constexpr int kLabelId = 102;

    ProbeWindow() {
        WNDCLASSW cls{};
        cls.lpfnWndProc = &ProbeWindow::proc;
        cls.hInstance = GetModuleHandleW(nullptr);
        cls.lpszClassName = L"BvProbeWindow";
        cls.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        RegisterClassW(&cls);
        window_ = CreateWindowExW(0, L"BvProbeWindow", L"Probe window", WS_OVERLAPPEDWINDOW, 40, 40,
                                  320, 200, nullptr, nullptr, cls.hInstance, this);
        CreateWindowExW(0, L"BUTTON", L"Press me", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 10, 10,
                        100, 28, window_, reinterpret_cast<HMENU>(kButtonId), cls.hInstance,
                        nullptr);
        CreateWindowExW(0, L"STATIC", L"A label", WS_CHILD | WS_VISIBLE, 10, 50, 100, 20, window_,
                        reinterpret_cast<HMENU>(kLabelId), cls.hInstance, nullptr);
        ShowWindow(window_, SW_SHOWNORMAL);
        // Paints the controls too, so screenshots show them without a message loop.
        RedrawWindow(window_, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    }
    ~ProbeWindow() { DestroyWindow(window_); }

    HWND window() const { return window_; }

    int buttonClicks = 0;
    std::vector<POINT> leftClicks, rightClicks, moves;

  private:
    static LRESULT CALLBACK proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
        if (message == WM_NCCREATE) {
            auto* create = reinterpret_cast<CREATESTRUCTW*>(lparam);
            SetWindowLongPtrW(window, GWLP_USERDATA,
                              reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        }
        auto* self = reinterpret_cast<ProbeWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        const POINT at{static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))};
        if (self != nullptr) {
            switch (message) {
                case WM_COMMAND:
                    if (LOWORD(wparam) == kButtonId && HIWORD(wparam) == BN_CLICKED)
                        ++self->buttonClicks;
                    break;
                case WM_LBUTTONUP:
                    self->leftClicks.push_back(at);
                    break;
                case WM_RBUTTONUP:
                    self->rightClicks.push_back(at);
                    break;
                case WM_MOUSEMOVE:
                    self->moves.push_back(at);
                    break;
                default:
                    break;
            }
        }
        return DefWindowProcW(window, message, wparam, lparam);
    }

    HWND window_ = nullptr;
};

DWORD WINAPI showInformation(LPVOID) {
    return static_cast<DWORD>(MessageBoxW(nullptr, L"The top ten is saved.", L"Automation check",
                                          MB_OK | MB_ICONINFORMATION));
}

// Reads a 24-bit bitmap file: its size and whether it holds more than one colour.
struct BitmapFacts {
    LONG width = 0, height = 0;
    bool varied = false;
};

BitmapFacts readBitmap(const std::wstring& path) {
    BitmapFacts facts;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return facts;
    std::vector<unsigned char> bytes(GetFileSize(file, nullptr));
    DWORD read = 0;
    ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    CloseHandle(file);
    BITMAPFILEHEADER head{};
    BITMAPINFOHEADER info{};
    if (read < sizeof head + sizeof info)
        return facts;
    std::memcpy(&head, bytes.data(), sizeof head);
    std::memcpy(&info, bytes.data() + sizeof head, sizeof info);
    if (head.bfType != 0x4D42 || info.biBitCount != 24 || head.bfSize != read)
        return facts;
    facts.width = info.biWidth;
    facts.height = info.biHeight;
    for (DWORD i = head.bfOffBits + 3; i + 2 < read; i += 3) {
        if (std::memcmp(&bytes[i], &bytes[head.bfOffBits], 3) != 0) {
            facts.varied = true;
            break;
        }
    }
    return facts;
}

// A small 24-bit bitmap file, as the agent's wallpapers are.
void writeBitmap(const std::wstring& path, BYTE red) {
    const std::string bytes =
        bv::testing::BitmapFile(24, 8, 8).fill(std::uint32_t{red} << 16).bytes();
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    ASSERT_EQ(written, bytes.size());
}

std::wstring texts(const std::vector<ba::Control>& controls) {
    std::wstring all;
    for (const auto& control : controls)
        all += L"[" + control.text + L"]";
    return all;
}

}  // namespace

TEST(WindowAutomation, FindsWindowsByTitleClassAndProcess) {
    ProbeWindow probe;
    EXPECT_EQ(ba::findWindow(L"Probe window", 5s), probe.window());
    EXPECT_EQ(ba::findWindow(L"BvProbeWindow", L"Probe window", 5s), probe.window());
    EXPECT_EQ(ba::findWindow(L"#32770", L"Probe window", 200ms), nullptr);
    EXPECT_EQ(ba::findWindow(L"Probe windo", 200ms), nullptr) << "titles match exactly";
    EXPECT_EQ(ba::findWindowOfProcess(GetCurrentProcessId(), 5s), probe.window());
    EXPECT_EQ(ba::windowProcess(probe.window()), GetCurrentProcessId());
}

TEST(WindowAutomation, ReadsAndDrivesControls) {
    ProbeWindow probe;
    const auto controls = ba::childControls(probe.window());
    ASSERT_EQ(controls.size(), 2u);
    EXPECT_EQ(controls[0].text, L"Press me");
    EXPECT_EQ(_wcsicmp(controls[0].className.c_str(), L"Button"), 0);
    EXPECT_EQ(controls[0].id, ProbeWindow::kButtonId);
    EXPECT_EQ(controls[0].rect.left, 10);
    EXPECT_EQ(controls[0].rect.top, 10);
    EXPECT_EQ(controls[0].rect.right, 110);
    EXPECT_EQ(controls[1].text, L"A label");

    const auto button = ba::findControl(probe.window(), controls[0].className, L"Press me");
    ASSERT_NE(button.window, nullptr);
    EXPECT_EQ(ba::findControl(probe.window(), ProbeWindow::kLabelId).text, L"A label");
    EXPECT_EQ(ba::findControl(probe.window(), 999).window, nullptr);

    ba::click(button.window);
    EXPECT_TRUE(ba::waitUntil([&] { return probe.buttonClicks == 1; }, 5s));

    ba::rightClickAt(probe.window(), POINT{200, 120});
    ASSERT_TRUE(ba::waitUntil([&] { return !probe.rightClicks.empty(); }, 5s));
    EXPECT_EQ(probe.rightClicks[0].x, 200);
    EXPECT_EQ(probe.rightClicks[0].y, 120);

    ba::leftClickAt(probe.window(), POINT{150, 90});
    ASSERT_TRUE(ba::waitUntil([&] { return !probe.leftClicks.empty(); }, 5s));
    EXPECT_EQ(probe.leftClicks[0].x, 150);

    probe.moves.clear();
    ba::moveMouseTo(probe.window(), POINT{7, 9});
    ASSERT_TRUE(ba::waitUntil(
        [&] {
            return !probe.moves.empty() && probe.moves.back().x == 7 && probe.moves.back().y == 9;
        },
        5s));
}

TEST(MessageBoxAutomation, ReadsAndAnswersABoxOfThisProcess) {
    HANDLE thread = CreateThread(nullptr, 0, showInformation, nullptr, 0, nullptr);
    ASSERT_NE(thread, nullptr);
    const auto box = ba::waitForMessageBox(GetCurrentProcessId(), 10s);
    ASSERT_TRUE(box.has_value());
    bv::testing::expectMessageBox(*box, L"Automation check", L"The top ten is saved.",
                                  ba::MessageIcon::Information);
    EXPECT_EQ(texts(box->buttons), L"[OK]");

    const auto shot = ba::saveScreenshot(box->window, L"automation-message-box");
    RECT rect{};
    GetWindowRect(box->window, &rect);
    const auto facts = readBitmap(shot);
    EXPECT_EQ(facts.width, rect.right - rect.left);
    EXPECT_EQ(facts.height, rect.bottom - rect.top);
    EXPECT_TRUE(facts.varied) << "a message box is more than one colour";

    EXPECT_FALSE(ba::answerMessageBox(*box, L"Cancel"));
    EXPECT_TRUE(ba::answerMessageBox(*box, L"OK"));
    ASSERT_EQ(WaitForSingleObject(thread, 5000), WAIT_OBJECT_0);
    DWORD pressed = 0;
    GetExitCodeThread(thread, &pressed);
    CloseHandle(thread);
    EXPECT_EQ(pressed, static_cast<DWORD>(IDOK));
}

TEST(MessageBoxAutomation, AnswersAnotherProgramsQuestion) {
    const struct {
        UINT iconStyle;
        ba::MessageIcon icon;
        const wchar_t* answer;
        int pressed;
    } cases[] = {{MB_ICONQUESTION, ba::MessageIcon::Question, L"&No", IDNO},
                 {MB_ICONSTOP, ba::MessageIcon::Stop, L"Yes", IDYES}};
    for (const auto& c : cases) {
        auto helper = ba::Process::start(
            helperProgram(),
            L"msgbox " + std::to_wstring(MB_YESNO | c.iconStyle) + L" Exit \"Exit the agent?\"");
        const auto box = ba::waitForMessageBox(helper.id(), 10s);
        ASSERT_TRUE(box.has_value());
        bv::testing::expectMessageBox(*box, L"Exit", L"Exit the agent?", c.icon);
        EXPECT_EQ(texts(box->buttons), L"[&Yes][&No]");
        EXPECT_EQ(box->defaultButton, L"&Yes");
        EXPECT_TRUE(ba::answerMessageBox(*box, c.answer));
        EXPECT_EQ(helper.waitForExit(5s), static_cast<DWORD>(c.pressed));
    }
}

TEST(MessageBoxAutomation, ProgramLeftRunningIsKilledAtTeardown) {
    HANDLE watch = nullptr;
    {
        auto helper = ba::Process::start(helperProgram(), L"msgbox 0 Left \"Nobody answers\"");
        const auto box = ba::waitForMessageBox(helper.id(), 10s);
        ASSERT_TRUE(box.has_value());
        EXPECT_EQ(box->icon, ba::MessageIcon::None);
        EXPECT_EQ(texts(box->buttons), L"[OK]");
        ASSERT_TRUE(DuplicateHandle(GetCurrentProcess(), helper.handle(), GetCurrentProcess(),
                                    &watch, SYNCHRONIZE, FALSE, 0));
        EXPECT_TRUE(helper.running());
    }
    EXPECT_EQ(WaitForSingleObject(watch, 5000), WAIT_OBJECT_0);
    CloseHandle(watch);
}

TEST(MessageBoxAutomation, ProgramThatCannotStartThrows) {
    EXPECT_THROW(ba::Process::start(besideThisProgram(L"no-such-program.exe")), std::runtime_error);
}

TEST(Screenshot, WholeScreen) {
    ProbeWindow probe;
    const auto facts = readBitmap(ba::saveScreenshot(nullptr, L"automation-screen"));
    EXPECT_EQ(facts.width, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(facts.height, GetSystemMetrics(SM_CYSCREEN));
    EXPECT_TRUE(facts.varied);
}

// The agent's call: SystemParametersInfoA(20, 0, ANSI path, 1). Wine keeps
// the path in the user profile without checking that the file is a bitmap,
// and shows wallpapers only in its virtual-desktop mode, so only the setting
// is checked.
class Wallpaper : public testing::Test {
  protected:
    void SetUp() override {
        before_ = ba::savedWallpaper();
        CreateDirectoryW(L"C:\\bv-automation", nullptr);
        writeBitmap(L"C:\\bv-automation\\1.bmp", 200);
        writeBitmap(L"C:\\bv-automation\\2.bmp", 40);
    }
    void TearDown() override {
        SystemParametersInfoW(SPI_SETDESKWALLPAPER, 0, const_cast<wchar_t*>(before_.c_str()),
                              SPIF_UPDATEINIFILE);
        DeleteFileW(L"C:\\bv-automation\\1.bmp");
        DeleteFileW(L"C:\\bv-automation\\2.bmp");
        RemoveDirectoryW(L"C:\\bv-automation");
    }

  private:
    std::wstring before_;
};

TEST_F(Wallpaper, SetInThisProcessReadsBackBothWays) {
    for (const char* path : {"C:\\bv-automation\\1.bmp", "C:\\bv-automation\\2.bmp"}) {
        EXPECT_TRUE(SystemParametersInfoA(20, 0, const_cast<char*>(path), 1));
        const std::string ansi = path;
        const std::wstring expected(ansi.begin(), ansi.end());
        EXPECT_EQ(ba::currentWallpaper(), expected);
        EXPECT_EQ(ba::savedWallpaper(), expected);
    }
}

// Wine answers SPI_GETDESKWALLPAPER from a copy each process makes at its
// first query, so another program's change shows only in the profile.
TEST_F(Wallpaper, SetByAnotherProgramIsSeenInTheProfile) {
    for (const wchar_t* path : {L"C:\\bv-automation\\2.bmp", L"C:\\bv-automation\\1.bmp"}) {
        auto helper = ba::Process::start(helperProgram(), std::wstring(L"wallpaper ") + path);
        EXPECT_EQ(helper.waitForExit(10s), 1u);
        EXPECT_EQ(ba::savedWallpaper(), path);
    }
}
