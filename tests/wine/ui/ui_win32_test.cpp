// The Win32 back end on a real (Wine) desktop: windows and controls made
// from a layout table, their events, painting, timers, message boxes, menus,
// the file dialog and the platform calls.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "automation/input.h"
#include "automation/message_box.h"
#include "automation/screenshot.h"
#include "automation/wallpaper.h"
#include "datastore/failure.h"
#include "datastore/wide.h"
#include "pump.h"
#include "resources/resource_ids.h"
#include "ui/app.h"
#include "ui/backend.h"
#include "ui/controls/button.h"
#include "ui/controls/file_dialog.h"
#include "ui/controls/frame.h"
#include "ui/controls/image.h"
#include "ui/controls/label.h"
#include "ui/controls/note_box.h"
#include "ui/controls/picture_box.h"
#include "ui/controls/slider.h"
#include "ui/controls/text_box.h"
#include "ui/controls/timer.h"
#include "ui/form.h"
#include "ui/win32/fitted_picture.h"
#include "ui/win32/pictures.h"
#include "ui/win32/win32_form.h"
#include "ui/win32/win32_platform.h"

namespace {

using namespace bv::ui;
using bv::Failure;
using win32::Win32Form;
using win32::Win32Platform;

constexpr int kTestBitmap = 101;  // 8 by 6: red left half, blue right half
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kGreen = RGB(0, 255, 0);

// 300 by 200 pixels at 96 dots per inch. Front to back.
constexpr ControlSpec kTestControls[] = {
    {.kind = Kind::Timer, .name = "Fast", .interval = 50},
    {.kind = Kind::Timer, .name = "Never", .interval = 0},
    {.kind = Kind::Button,
     .name = "Go",
     .left = 3000,
     .top = 2400,
     .width = 1200,
     .height = 375,
     .text = "&Go",
     .tabIndex = 1},
    {.kind = Kind::TextBox,
     .name = "Box",
     .left = 120,
     .top = 2400,
     .width = 2000,
     .height = 375,
     .text = "hello",
     .tabIndex = 3},
    {.kind = Kind::TextBox,
     .name = "Hidden",
     .left = 120,
     .top = 2400,
     .width = 375,
     .height = 285,
     .text = "Text1",
     .tabIndex = 5,
     .visible = false},
    {.kind = Kind::Frame,
     .name = "Group",
     .left = 120,
     .top = 1200,
     .width = 4200,
     .height = 1095,
     .text = "Group",
     .tabIndex = 0},
    {.kind = Kind::Slider,
     .name = "Speed",
     .container = "Group",
     .left = 120,
     .top = 240,
     .width = 2400,
     .height = 450,
     .tabIndex = 4,
     .min = 0,
     .max = 10,
     .value = 5},
    {.kind = Kind::PictureBox,
     .name = "Pane",
     .container = "Group",
     .left = 2700,
     .top = 240,
     .width = 1200,
     .height = 600,
     .backColor = hex(0x00FF00),
     .tabIndex = 2},
    {.kind = Kind::Label,
     .name = "Band",
     .container = "Pane",
     .left = 0,
     .top = 0,
     .width = 600,
     .height = 300,
     .backColor = hex(0x0000FF)},
    {.kind = Kind::Image,
     .name = "Flag",
     .left = 120,
     .top = 120,
     .width = 120,
     .height = 90,
     .picture = {PictureType::Bitmap, kTestBitmap},
     .tooltip = "Flag tip",
     .pointer = Pointer::Hand},
    {.kind = Kind::Image,
     .name = "Wide",
     .left = 600,
     .top = 120,
     .width = 240,
     .height = 180,
     .stretch = true,
     .picture = {PictureType::Bitmap, kTestBitmap}},
    {.kind = Kind::Image,
     .name = "Bar",
     .left = 1200,
     .top = 120,
     .width = 2655,
     .height = 375,
     .picture = {PictureType::Jpeg, BV_JPEG_BAR}},
    {.kind = Kind::Label,
     .name = "Caption",
     .left = 120,
     .top = 720,
     .width = 2000,
     .height = 255,
     .text = "Label text"},
    {.kind = Kind::Image, .name = "Back", .left = 0, .top = 0, .width = 4500, .height = 1100},
    {.kind = Kind::NoteBox, .name = "note", .text = "RichTextBox1"},
    {.kind = Kind::FileDialog, .name = "c"},
};

constexpr FormSpec kTestLayout = {
    .name = "Form1",
    .caption = "Back end test",
    .border = Border::FixedDialog,
    .clientWidth = 4500,
    .clientHeight = 3000,
    .placement = Placement::CenterScreen,
    .controls = kTestControls,
};

constexpr MenuItemSpec kBarMenu[] = {{"one", "One"}, {"line", "-"}, {"two", "Two"}};

// Like the agent's bar: no caption at all, a taskbar button, placed by hand.
constexpr FormSpec kBarLayout = {
    .name = "Bar",
    .caption = "",
    .border = Border::FixedSingle,
    .titleBar = false,
    .clientWidth = 2640,
    .clientHeight = 360,
    .placement = Placement::Manual,
    .left = 1500,
    .top = 1500,
    .taskbar = true,
    .menuName = "mnu",
    .menuCaption = "Main",
    .menu = kBarMenu,
};

constexpr FormSpec kSizableLayout = {
    .name = "Plain",
    .caption = "Plain",
    .border = Border::Sizable,
    .minButton = true,
    .maxButton = true,
    .clientWidth = 4830,
    .clientHeight = 1425,
    .placement = Placement::WindowsDefault,
};

// Records the top-level error report instead of ending the process.
class TestPlatform : public Win32Platform {
  public:
    bool realBoxes = false;
    std::vector<std::string> boxes;
    int ends = 0;

    Answer messageBox(const std::string& prompt, Buttons buttons, Icon icon,
                      const std::string& title) override {
        if (realBoxes)
            return Win32Platform::messageBox(prompt, buttons, icon, title);
        boxes.push_back(prompt);
        return Answer::Ok;
    }
    [[noreturn]] void endProgram() override {
        ++ends;
        markEnded();
        throw ProgramEnded{};
    }
};

Win32Form& peerOf(const Form& form) {
    return dynamic_cast<Win32Form&>(*BackEnd::peer(form));
}
HWND windowOf(const Form& form) {
    return peerOf(form).hwnd();
}

std::wstring textOf(HWND window) {
    wchar_t buffer[256] = {};
    GetWindowTextW(window, buffer, 256);
    return buffer;
}

std::wstring classOf(HWND window) {
    wchar_t buffer[64] = {};
    GetClassNameW(window, buffer, 64);
    return buffer;
}

struct WindowSearch {
    const wchar_t* cls;
    HWND owner;
    HWND found;
};

BOOL CALLBACK matchWindow(HWND w, LPARAM p) {
    auto* search = reinterpret_cast<WindowSearch*>(p);
    if (_wcsicmp(classOf(w).c_str(), search->cls) != 0)
        return TRUE;
    if (search->owner && GetWindow(w, GW_OWNER) != search->owner)
        return TRUE;
    search->found = w;
    return FALSE;
}

// A top-level window of this thread by class (and owner).
HWND threadWindow(const wchar_t* cls, HWND owner = nullptr) {
    WindowSearch search{cls, owner, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), &matchWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Runs `action` from a thread timer, so inside whatever modal loop is
// running (a message box, a dialog), until it reports that it is done.
class ThreadTimer {
  public:
    ThreadTimer(UINT ms, std::function<bool()> action) : action_(std::move(action)) {
        current() = this;
        id_ = SetTimer(nullptr, 0, ms, &ThreadTimer::tick);
    }
    ~ThreadTimer() {
        KillTimer(nullptr, id_);
        current() = nullptr;
    }
    ThreadTimer(const ThreadTimer&) = delete;
    ThreadTimer& operator=(const ThreadTimer&) = delete;
    bool done() const { return done_; }

  private:
    static ThreadTimer*& current() {
        static ThreadTimer* running = nullptr;
        return running;
    }
    static void CALLBACK tick(HWND, UINT, UINT_PTR, DWORD) {
        ThreadTimer* timer = current();
        if (timer && !timer->done_)
            timer->done_ = timer->action_();
    }
    std::function<bool()> action_;
    UINT_PTR id_ = 0;
    bool done_ = false;
};

// The client area as the window paints it.
class Snapshot {
  public:
    explicit Snapshot(HWND window) {
        RECT client{};
        GetClientRect(window, &client);
        width_ = client.right;
        height_ = client.bottom;
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width_;
        info.bmiHeader.biHeight = -height_;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        HDC dc = CreateCompatibleDC(nullptr);
        HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        HGDIOBJ old = SelectObject(dc, bitmap);
        SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
        GdiFlush();
        const auto* pixels = static_cast<const std::uint32_t*>(bits);
        pixels_.assign(pixels, pixels + static_cast<std::size_t>(width_) * height_);
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
    COLORREF at(int x, int y) const {
        const std::uint32_t p = pixels_.at(static_cast<std::size_t>(y) * width_ + x);
        return RGB((p >> 16) & 0xff, (p >> 8) & 0xff, p & 0xff);
    }

  private:
    int width_ = 0, height_ = 0;
    std::vector<std::uint32_t> pixels_;
};

std::string tempFolder() {
    wchar_t path[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, path);
    return bv::text::narrow(path);
}

std::string writeTemp(const std::string& name, const std::string& bytes) {
    const std::string path = tempFolder() + name;
    std::ofstream(bv::text::widen(path).c_str(), std::ios::binary) << bytes;
    return path;
}

std::string testBitmapBytes() {
    HRSRC found = FindResourceW(nullptr, MAKEINTRESOURCEW(kTestBitmap), RT_BITMAP);
    const auto* data = static_cast<const char*>(LockResource(LoadResource(nullptr, found)));
    const DWORD size = SizeofResource(nullptr, found);
    // A BITMAP resource is the file without its 14-byte header.
    std::string file = "BM";
    const std::uint32_t total = size + 14, offset = 14 + 40;
    file.append(reinterpret_cast<const char*>(&total), 4);
    file.append(4, '\0');
    file.append(reinterpret_cast<const char*>(&offset), 4);
    file.append(data, size);
    return file;
}

class Win32Back : public ::testing::Test {
  protected:
    TestPlatform platform;
    App app{platform, "Back end test"};
    std::unique_ptr<Form> form = std::make_unique<Form>(app, kTestLayout);

    void SetUp() override {
        form->show();
        pump(100);
    }

    HWND window() const { return windowOf(*form); }
    HWND child(const char* name) const { return peerOf(*form).controlWindow(form->control(name)); }

    void pump(DWORD ms) { bv::ui::win32::pump(platform, ms); }

    // A key as the loop sees it: the focused window receives it.
    void press(UINT message, WPARAM key) {
        MSG msg{GetFocus(), message, key, 0, 0, {}};
        if (platform.preTranslate(msg))
            return;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }

    void withShift(const std::function<void()>& action) {
        BYTE keys[256] = {};
        GetKeyboardState(keys);
        const BYTE before = keys[VK_SHIFT];
        keys[VK_SHIFT] = 0x80;
        SetKeyboardState(keys);
        action();
        keys[VK_SHIFT] = before;
        SetKeyboardState(keys);
    }
};

TEST_F(Win32Back, WindowMatchesTheLayout) {
    RECT client{};
    GetClientRect(window(), &client);
    EXPECT_EQ(client.right, 300);
    EXPECT_EQ(client.bottom, 200);
    EXPECT_EQ(textOf(window()), L"Back end test");

    const LONG style = GetWindowLongW(window(), GWL_STYLE);
    const LONG exStyle = GetWindowLongW(window(), GWL_EXSTYLE);
    EXPECT_TRUE(style & WS_CAPTION);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_FALSE(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
    EXPECT_TRUE(exStyle & WS_EX_DLGMODALFRAME);
    // No taskbar button: an owner, and no forced taskbar entry.
    EXPECT_NE(GetWindow(window(), GW_OWNER), nullptr);
    EXPECT_FALSE(exStyle & (WS_EX_APPWINDOW | WS_EX_TOOLWINDOW));

    // Centred on the work area, and the form knows where it stands.
    RECT outer{}, work{};
    GetWindowRect(window(), &outer);
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_NEAR((outer.left + outer.right) / 2.0, (work.left + work.right) / 2.0, 1.0);
    EXPECT_NEAR((outer.top + outer.bottom) / 2.0, (work.top + work.bottom) / 2.0, 1.0);
    EXPECT_FLOAT_EQ(form->left(), outer.left * 15.0f);
    EXPECT_FLOAT_EQ(form->top(), outer.top * 15.0f);
}

TEST_F(Win32Back, ControlsWithWindowsAreBuiltFromTheTable) {
    HWND go = child("Go");
    ASSERT_NE(go, nullptr);
    EXPECT_EQ(_wcsicmp(classOf(go).c_str(), L"Button"), 0);
    EXPECT_EQ(textOf(go), L"&Go");
    RECT place{};
    GetWindowRect(go, &place);
    MapWindowPoints(nullptr, window(), reinterpret_cast<POINT*>(&place), 2);
    EXPECT_EQ(place.left, 200);
    EXPECT_EQ(place.top, 160);
    EXPECT_EQ(place.right - place.left, 80);
    EXPECT_EQ(place.bottom - place.top, 25);

    HWND box = child("Box");
    EXPECT_EQ(_wcsicmp(classOf(box).c_str(), L"Edit"), 0);
    EXPECT_EQ(textOf(box), L"hello");
    EXPECT_TRUE(GetWindowLongW(box, GWL_STYLE) & ES_AUTOHSCROLL);
    EXPECT_TRUE(GetWindowLongW(box, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);

    HWND hidden = child("Hidden");
    ASSERT_NE(hidden, nullptr);
    EXPECT_FALSE(IsWindowVisible(hidden));
    EXPECT_EQ(textOf(hidden), L"Text1");

    // The frame has no window: its slider and picture box lie on the
    // window at their places in the frame. The picture box is sunken.
    HWND speed = child("Speed");
    HWND pane = child("Pane");
    EXPECT_EQ(GetParent(speed), window());
    EXPECT_EQ(GetParent(pane), window());
    GetWindowRect(speed, &place);
    MapWindowPoints(nullptr, window(), reinterpret_cast<POINT*>(&place), 2);
    EXPECT_EQ(place.left, 16);
    EXPECT_EQ(place.top, 96);
    EXPECT_TRUE(GetWindowLongW(pane, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    EXPECT_EQ(SendMessageW(speed, TBM_GETRANGEMIN, 0, 0), 0);
    EXPECT_EQ(SendMessageW(speed, TBM_GETRANGEMAX, 0, 0), 10);
    EXPECT_EQ(SendMessageW(speed, TBM_GETPOS, 0, 0), 5);
    EXPECT_EQ(SendMessageW(speed, TBM_GETPAGESIZE, 0, 0), 5);
    EXPECT_EQ(SendMessageW(speed, TBM_GETLINESIZE, 0, 0), 1);

    // Labels, images and the invisible controls have no window.
    for (const char* name : {"Group", "Band", "Flag", "Caption", "Back", "note", "c", "Fast"})
        EXPECT_EQ(child(name), nullptr) << name;

    // Front to back as listed, the frame's controls among the others.
    std::vector<HWND> stacked;
    for (HWND w = GetWindow(window(), GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT))
        stacked.push_back(w);
    EXPECT_EQ(stacked, (std::vector<HWND>{go, box, hidden, speed, pane}));

    // A control listed before its picture box has the box made out of
    // turn; the windows still stack in table order.
    const ControlSpec rows[] = {
        {.kind = Kind::Button, .name = "Inner", .container = "Holder", .width = 600, .height = 300},
        {.kind = Kind::Button, .name = "Front", .width = 600, .height = 300},
        {.kind = Kind::PictureBox, .name = "Holder", .top = 600, .width = 1500, .height = 900},
    };
    FormSpec spec = kSizableLayout;
    spec.controls = rows;
    Form reordered(app, spec);
    Win32Form& peer = peerOf(reordered);
    HWND front = GetWindow(peer.ensureWindow(), GW_CHILD);
    EXPECT_EQ(front, peer.controlWindow(reordered.control("Front")));
    EXPECT_EQ(GetWindow(front, GW_HWNDNEXT), peer.controlWindow(reordered.control("Holder")));
}

TEST_F(Win32Back, FocusFollowsTabIndicesAcrossFrames) {
    // Opens on the lowest tab index that can take the focus.
    EXPECT_EQ(GetFocus(), child("Go"));
    const std::vector<const char*> forward = {"Pane", "Box", "Speed", "Go"};
    for (const char* name : forward) {
        press(WM_KEYDOWN, VK_TAB);
        EXPECT_EQ(GetFocus(), child(name)) << name;
    }
    withShift([&] { press(WM_KEYDOWN, VK_TAB); });
    EXPECT_EQ(GetFocus(), child("Speed"));
    withShift([&] { press(WM_KEYDOWN, VK_TAB); });
    EXPECT_EQ(GetFocus(), child("Box"));

    // A click on the picture box gives it the focus.
    SendMessageW(child("Pane"), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 20));
    SendMessageW(child("Pane"), WM_LBUTTONUP, 0, MAKELPARAM(50, 20));
    EXPECT_EQ(GetFocus(), child("Pane"));
}

TEST_F(Win32Back, ButtonsAnswerClicksEnterAndAccessKeys) {
    int clicks = 0;
    form->button("Go").Click = [&] { ++clicks; };
    SendMessageW(child("Go"), BM_CLICK, 0, 0);
    EXPECT_EQ(clicks, 1);

    SetFocus(child("Go"));
    press(WM_KEYDOWN, VK_RETURN);
    EXPECT_EQ(clicks, 2);

    SetFocus(child("Box"));
    press(WM_SYSCHAR, 'g');
    EXPECT_EQ(clicks, 3);
    EXPECT_EQ(GetFocus(), child("Go"));
    press(WM_SYSCHAR, 'x');
    EXPECT_EQ(clicks, 3);
}

TEST_F(Win32Back, TimersTickOnlyWhileRunningWithAnInterval) {
    int fast = 0, never = 0;
    form->timer("Fast").Tick = [&] { ++fast; };
    form->timer("Never").Tick = [&] { ++never; };
    pump(600);
    EXPECT_GE(fast, 4);
    EXPECT_LE(fast, 14);
    EXPECT_EQ(never, 0);

    form->timer("Fast").setEnabled(false);
    pump(30);
    const int stopped = fast;
    pump(300);
    EXPECT_EQ(fast, stopped);

    // Enabled but without interval it never ticks; an interval starts it.
    form->timer("Fast").setInterval(0);
    form->timer("Fast").setEnabled(true);
    pump(300);
    EXPECT_EQ(fast, stopped);
    form->timer("Never").setInterval(40);
    pump(400);
    EXPECT_GE(never, 3);

    // A hidden form's timers tick too: running from the layout or started.
    Form hidden(app, kTestLayout);
    int laidOut = 0, started = 0;
    hidden.timer("Fast").Tick = [&] { ++laidOut; };
    hidden.timer("Never").Tick = [&] { ++started; };
    hidden.timer("Never").setInterval(40);
    pump(400);
    EXPECT_GE(laidOut, 3);
    EXPECT_GE(started, 3);
    EXPECT_FALSE(IsWindowVisible(windowOf(hidden)));
}

TEST_F(Win32Back, SliderRaisesScrollOnlyForTheUsersChanges) {
    Slider& speed = form->slider("Speed");
    int scrolls = 0;
    speed.Scroll = [&] { ++scrolls; };
    HWND bar = child("Speed");

    SendMessageW(bar, TBM_SETPOS, TRUE, 7);
    SendMessageW(window(), WM_HSCROLL, MAKEWPARAM(TB_THUMBTRACK, 7), reinterpret_cast<LPARAM>(bar));
    EXPECT_EQ(scrolls, 1);
    EXPECT_EQ(speed.value(), 7);
    SendMessageW(window(), WM_HSCROLL, MAKEWPARAM(TB_ENDTRACK, 0), reinterpret_cast<LPARAM>(bar));
    EXPECT_EQ(scrolls, 1);

    // From a handler: the thumb moves, no Scroll.
    speed.setValue(3);
    EXPECT_EQ(SendMessageW(bar, TBM_GETPOS, 0, 0), 3);
    EXPECT_EQ(scrolls, 1);
    EXPECT_THROW(speed.setValue(11), Failure);
    EXPECT_EQ(SendMessageW(bar, TBM_GETPOS, 0, 0), 3);

    // The keyboard moves it by the small change.
    SetFocus(bar);
    SendMessageW(bar, WM_KEYDOWN, VK_RIGHT, 0);
    SendMessageW(bar, WM_KEYUP, VK_RIGHT, 0);
    EXPECT_EQ(speed.value(), 4);
    EXPECT_EQ(scrolls, 2);
}

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
    EXPECT_TRUE(platform.ended());
    // Nothing runs after the end.
    SendMessageW(child("Go"), BM_CLICK, 0, 0);
    EXPECT_EQ(runs, 1);
}

TEST_F(Win32Back, TextBoxesShowAndTakeTheirText) {
    TextBox& box = form->textBox("Box");
    box.setText("set by a handler");
    EXPECT_EQ(textOf(child("Box")), L"set by a handler");
    EXPECT_EQ(box.text(), "set by a handler");

    // The user's edit reaches the model.
    SendMessageW(child("Box"), EM_SETSEL, 0, -1);
    SendMessageW(child("Box"), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"typ\u00e9d"));
    EXPECT_EQ(box.text(),
              "typ\xc3\xa9"
              "d");

    int clicks = 0, moves = 0;
    box.Click = [&] { ++clicks; };
    box.MouseMove = [&](const MouseArgs&) { ++moves; };
    PostMessageW(child("Box"), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    PostMessageW(child("Box"), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    PostMessageW(child("Box"), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    pump(50);
    EXPECT_EQ(clicks, 1);
    EXPECT_GE(moves, 1);
}

TEST_F(Win32Back, WindowlessControlsGetTheMouseFrontToBack) {
    Image& flag = form->image("Flag");
    Image& back = form->image("Back");
    std::vector<MouseArgs> downs;
    int flagClicks = 0, backClicks = 0, flagMoves = 0;
    flag.MouseDown = [&](const MouseArgs& a) { downs.push_back(a); };
    flag.Click = [&] { ++flagClicks; };
    flag.MouseMove = [&](const MouseArgs&) { ++flagMoves; };
    back.Click = [&] { ++backClicks; };

    // Flag covers pixels 8..15 by 8..13, in front of Back.
    SendMessageW(window(), WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
    EXPECT_EQ(flagMoves, 1);
    SendMessageW(window(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 11));
    SendMessageW(window(), WM_LBUTTONUP, 0, MAKELPARAM(10, 11));
    ASSERT_EQ(downs.size(), 1u);
    EXPECT_EQ(downs[0].button, 1);
    EXPECT_FLOAT_EQ(downs[0].x, 30.0f);
    EXPECT_FLOAT_EQ(downs[0].y, 45.0f);
    EXPECT_EQ(flagClicks, 1);
    EXPECT_EQ(backClicks, 0);

    SendMessageW(window(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(10, 10));
    SendMessageW(window(), WM_RBUTTONUP, 0, MAKELPARAM(10, 10));
    ASSERT_EQ(downs.size(), 2u);
    EXPECT_EQ(downs[1].button, 2);
    EXPECT_EQ(flagClicks, 1);

    // Pressed on one control and let go over another: no click at all.
    SendMessageW(window(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    SendMessageW(window(), WM_LBUTTONUP, 0, MAKELPARAM(200, 60));
    EXPECT_EQ(flagClicks, 1);
    EXPECT_EQ(backClicks, 0);
    SendMessageW(window(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(200, 60));
    SendMessageW(window(), WM_LBUTTONUP, 0, MAKELPARAM(200, 60));
    EXPECT_EQ(backClicks, 1);

    // The hand pointer over Flag, the arrow over Back.
    SetCursorPos(0, 0);
    POINT over{10, 10};
    ClientToScreen(window(), &over);
    SetCursorPos(over.x, over.y);
    SendMessageW(window(), WM_SETCURSOR, reinterpret_cast<WPARAM>(window()),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(GetCursor(), platform.handCursor());
    POINT away{200, 60};
    ClientToScreen(window(), &away);
    SetCursorPos(away.x, away.y);
    SendMessageW(window(), WM_SETCURSOR, reinterpret_cast<WPARAM>(window()),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_ARROW));
}

TEST_F(Win32Back, ContainersPaintLabelsAndImagesUnderTheirControls) {
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    Snapshot shot(window());
    // Flag at its own size, Wide stretched to twice it.
    EXPECT_EQ(shot.at(9, 9), kRed);
    EXPECT_EQ(shot.at(14, 12), kBlue);
    EXPECT_EQ(shot.at(17, 9), face);
    EXPECT_EQ(shot.at(42, 10), kRed);
    EXPECT_EQ(shot.at(53, 18), kBlue);
    EXPECT_EQ(shot.at(58, 10), face);
    EXPECT_EQ(shot.at(250, 190), face);

    // The band label is opaque in its picture box's own colour.
    Snapshot pane(child("Pane"));
    EXPECT_EQ(pane.at(5, 5), kBlue);
    EXPECT_EQ(pane.at(60, 30), kGreen);
    form->pictureBox("Pane").setBackColor(hex(0xFF0000));
    EXPECT_EQ(Snapshot(child("Pane")).at(60, 30), kRed);

    // The picture follows the model; clearing it leaves the background.
    form->image("Flag").setPicture({});
    EXPECT_EQ(Snapshot(window()).at(9, 9), face);

    // Changes repaint just the control's place.
    pump(50);
    RECT dirty{};
    EXPECT_FALSE(GetUpdateRect(window(), &dirty, FALSE));
    form->label("Caption").setCaption("Another text");
    ASSERT_TRUE(GetUpdateRect(window(), &dirty, FALSE));
    EXPECT_EQ(dirty.left, 8);
    EXPECT_EQ(dirty.top, 48);
    EXPECT_EQ(dirty.right, 141);
    EXPECT_EQ(dirty.bottom, 65);
    pump(50);
    form->image("Wide").setBitmap(kTestBitmap);
    ASSERT_TRUE(GetUpdateRect(window(), &dirty, FALSE));
    EXPECT_EQ(dirty.left, 40);
    EXPECT_EQ(dirty.right, 56);
    pump(50);

    bv::automation::saveScreenshot(window(), L"ui_win32_test_form");
}

// A frame has no window: the window draws it, under its own controls and
// over what lies behind it, and its controls go where it goes.
TEST_F(Win32Back, FramesHoldTheirControlsWithoutAWindow) {
    constexpr COLORREF kYellow = RGB(255, 255, 0);
    const ControlSpec rows[] = {
        {.kind = Kind::Frame,
         .name = "Group",
         .left = 1500,
         .top = 300,
         .width = 1500,
         .height = 1200,
         .backColor = hex(0xFFFF00)},
        {.kind = Kind::Image,
         .name = "Hot",
         .container = "Group",
         .left = 150,
         .top = 300,
         .width = 1800,
         .height = 300},
        // Wider than the frame: clipped at its edge.
        {.kind = Kind::Label,
         .name = "Inside",
         .container = "Group",
         .left = 150,
         .top = 300,
         .width = 1800,
         .height = 300,
         .backColor = hex(0x00FF00)},
        {.kind = Kind::Button,
         .name = "Push",
         .container = "Group",
         .left = 150,
         .top = 750,
         .width = 600,
         .height = 300,
         .text = "Push"},
        // Red left half, blue right half.
        {.kind = Kind::Image,
         .name = "Behind",
         .width = 4500,
         .height = 3000,
         .stretch = true,
         .picture = {PictureType::Bitmap, kTestBitmap}},
    };
    FormSpec spec = kTestLayout;
    spec.controls = rows;
    Form framed(app, spec);
    framed.show();
    pump(50);
    HWND window = windowOf(framed);
    HWND push = peerOf(framed).controlWindow(framed.control("Push"));
    ASSERT_EQ(GetParent(push), window);
    auto placeOf = [window](HWND control) {
        RECT r{};
        GetWindowRect(control, &r);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
        return r;
    };
    EXPECT_EQ(placeOf(push).left, 110);
    EXPECT_EQ(placeOf(push).top, 70);

    // The frame spans pixels 100 to 199 across, 20 to 99 down.
    Snapshot shot(window);
    EXPECT_EQ(shot.at(150, 45), kGreen);
    EXPECT_EQ(shot.at(205, 45), kBlue);
    EXPECT_EQ(shot.at(150, 95), kYellow);

    int hot = 0, behind = 0;
    framed.image("Hot").Click = [&] { ++hot; };
    framed.image("Behind").Click = [&] { ++behind; };
    auto click = [window](int x, int y) {
        SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
        SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    };
    click(120, 45);
    click(150, 95);  // the frame hides what lies under it
    EXPECT_EQ(hot, 1);
    EXPECT_EQ(behind, 0);
    click(250, 150);
    EXPECT_EQ(behind, 1);

    framed.control("Group").setLeft(1800);
    EXPECT_EQ(placeOf(push).left, 130);
    Snapshot moved(window);
    EXPECT_EQ(moved.at(110, 45), kRed);
    EXPECT_EQ(moved.at(135, 45), kGreen);
    click(135, 45);
    EXPECT_EQ(hot, 2);
}

TEST_F(Win32Back, MovedImagesRepaintAndMoveTheirTooltips) {
    Image& flag = form->image("Flag");
    flag.setTop(flag.top() - 58);  // as the agent moves its buttons
    Snapshot shot(window());
    EXPECT_EQ(shot.at(9, 4), kRed);
    EXPECT_EQ(shot.at(9, 11), GetSysColor(COLOR_BTNFACE));

    // Tooltips of windowless controls come with the mouse.
    bv::automation::moveMouseTo(window(), POINT{9, 6});
    pump(50);
    HWND tips = threadWindow(TOOLTIPS_CLASSW, window());
    ASSERT_NE(tips, nullptr);
    ASSERT_EQ(SendMessageW(tips, TTM_GETTOOLCOUNT, 0, 0), 1);
    wchar_t text[80] = {};
    TTTOOLINFOW info{};
    info.cbSize = TTTOOLINFOW_V2_SIZE;
    info.lpszText = text;
    ASSERT_TRUE(SendMessageW(tips, TTM_ENUMTOOLSW, 0, reinterpret_cast<LPARAM>(&info)));
    EXPECT_EQ(std::wstring(text), L"Flag tip");
    EXPECT_EQ(info.rect.left, 8);
    EXPECT_EQ(info.rect.top, 4);
    EXPECT_EQ(info.rect.bottom, 10);

    EXPECT_THROW(flag.setLeft(1e30f), Failure);
    EXPECT_FLOAT_EQ(flag.left(), 120.0f);
}

TEST_F(Win32Back, PicturesComeFromResourcesAndFiles) {
    auto& cache = platform.pictures();
    auto jpeg = cache.resource({PictureType::Jpeg, BV_JPEG_BAR});
    ASSERT_NE(jpeg, nullptr);
    EXPECT_EQ(jpeg->width(), 177);
    EXPECT_EQ(jpeg->height(), 25);
    auto gif = cache.resource({PictureType::Gif, BV_GIF_BADGE});
    EXPECT_EQ(gif->width(), 32);
    EXPECT_EQ(gif->height(), 32);
    // Decoded once, then shared.
    EXPECT_EQ(cache.resource({PictureType::Jpeg, BV_JPEG_BAR}), jpeg);
    EXPECT_EQ(cache.resource({PictureType::Bitmap, kTestBitmap}),
              cache.resource({PictureType::Bitmap, kTestBitmap}));
    EXPECT_THROW(cache.resource({PictureType::Bitmap, 999}), Failure);

    Image& wide = form->image("Wide");
    const std::string bmp = writeTemp("bv_ui_two.bmp", testBitmapBytes());
    wide.setPicture({});
    wide.loadPicture(bmp);
    EXPECT_EQ(Snapshot(window()).at(42, 10), kRed);

    const std::string junk = writeTemp("bv_ui_junk.bmp", "not a picture at all");
    try {
        wide.loadPicture(junk);
        ADD_FAILURE() << "junk loaded";
    } catch (const Failure& f) {
        EXPECT_STREQ(f.what(), "Invalid picture");
    }
    EXPECT_EQ(wide.picture().file, bmp);
    EXPECT_EQ(Snapshot(window()).at(42, 10), kRed);

    const std::string missing = tempFolder() + "bv_no_such_picture.bmp";
    try {
        wide.loadPicture(missing);
        ADD_FAILURE() << "missing file loaded";
    } catch (const Failure& f) {
        EXPECT_EQ(std::string(f.what()), "File not found: " + missing);
    }
    DeleteFileW(bv::text::widen(bmp).c_str());
    DeleteFileW(bv::text::widen(junk).c_str());
}

// The agent shows the bar from a bitmap made of the JPEG, the tool its badge
// from one made of the GIF: their pixels must be the platform decoder's.
std::vector<std::uint8_t> drawn(const bv::ui::win32::LoadedPicture& picture,
                                std::uint8_t background = 0) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = picture.width();
    info.bmiHeader.biHeight = -picture.height();
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    HBITMAP target = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, target);
    std::memset(bits, background, ((picture.width() * 3 + 3) & ~3) * picture.height());
    picture.draw(dc, RECT{0, 0, picture.width(), picture.height()});
    GdiFlush();
    const auto* first = static_cast<const std::uint8_t*>(bits);
    std::vector<std::uint8_t> out(first,
                                  first + ((picture.width() * 3 + 3) & ~3) * picture.height());
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(target);
    return out;
}

TEST_F(Win32Back, TheBarBitmapHoldsTheJpegAsDecoded) {
    auto& cache = platform.pictures();
    auto bitmap = cache.resource({PictureType::Bitmap, BV_BMP_BAR});
    auto jpeg = cache.resource({PictureType::Jpeg, BV_JPEG_BAR});
    ASSERT_EQ(bitmap->width(), jpeg->width());
    ASSERT_EQ(bitmap->height(), jpeg->height());
    EXPECT_TRUE(drawn(*bitmap) == drawn(*jpeg));
}

TEST_F(Win32Back, TheBadgeBitmapIsTheGifWithItsSeeThroughPixels) {
    auto& cache = platform.pictures();
    auto bitmap = cache.resource({PictureType::GifAsBitmap, BV_BMP_BADGE});
    auto gif = cache.resource({PictureType::Gif, BV_GIF_BADGE});
    ASSERT_EQ(bitmap->width(), gif->width());
    for (std::uint8_t background : {0x00, 0x80, 0xff})
        EXPECT_TRUE(drawn(*bitmap, background) == drawn(*gif, background)) << int{background};
    EXPECT_FALSE(drawn(*bitmap, 0x00) == drawn(*bitmap, 0xff));  // some pixels see through
}

// Bitmap files of every plain depth, bottom-up and top-down, as GDI alone
// makes them into pictures: red, green / blue, white on two rows (1 bit:
// red / blue).
std::string bitmapFile(int bits, bool topDown) {
    const std::uint32_t colours[4] = {0xff0000, 0x00ff00, 0x0000ff, 0xffffff};
    const std::uint32_t twoColours[2] = {0xff0000, 0x0000ff};
    const int stride = ((2 * bits + 31) / 32) * 4;
    const int table = bits <= 8 ? 1 << bits : 0;
    const int offBits = 54 + 4 * table, size = offBits + 2 * stride;
    std::string bmp(static_cast<std::size_t>(size), '\0');
    auto put = [&](int at, std::uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i)
            bmp[static_cast<std::size_t>(at + i)] |= static_cast<char>((v >> (8 * i)) & 0xff);
    };
    bmp[0] = 'B', bmp[1] = 'M';
    put(2, size, 4), put(10, offBits, 4), put(14, 40, 4), put(18, 2, 4);
    put(22, topDown ? 0xfffffffeu : 2u, 4), put(26, 1, 2), put(28, bits, 2);
    for (int i = 0; i < std::min(table, 4); ++i)
        put(54 + 4 * i, bits == 1 ? twoColours[i % 2] : colours[i], 4);
    for (int y = 0; y < 2; ++y) {
        const int row = offBits + stride * (topDown ? y : 1 - y);
        for (int x = 0; x < 2; ++x) {
            const int index = 2 * y + x;
            const std::uint32_t c = colours[index];
            if (bits == 1)
                put(row, y ? 0xc0 : 0, 1);
            else if (bits == 4)
                put(row, static_cast<std::uint32_t>(index << (x ? 0 : 4)), 1);
            else if (bits == 8)
                put(row + x, static_cast<std::uint32_t>(index), 1);
            else if (bits == 16)
                put(row + 2 * x, (c >> 19) << 10 | ((c >> 11) & 0x1f) << 5 | (c & 0xff) >> 3, 2);
            else
                put(row + x * bits / 8, c, 3);
        }
    }
    return bmp;
}

// Also as made at a size of their own for a stretched image, by a pass that
// reads the file's rows itself.
TEST_F(Win32Back, BitmapFilesOfEveryPlainDepthShowTheirColours) {
    for (int bits : {1, 4, 8, 16, 24, 32})
        for (bool topDown : {false, true})
            for (bool fitted : {false, true}) {
                const std::string bmp = bitmapFile(bits, topDown);
                const auto pixels =
                    fitted
                        ? drawn(*win32::loadPictureFileAt(writeTemp("depth.bmp", bmp), SIZE{2, 2}))
                        : drawn(*win32::decodePicture(bmp.data(), bmp.size()));
                // Drawn top-down at 24 bits, rows of 8 bytes, blue first.
                auto shows = [&](int x, int y, std::uint32_t rgb) {
                    for (int c = 0; c < 3; ++c) {
                        const int want = static_cast<int>((rgb >> (8 * c)) & 0xff);
                        if (std::abs(pixels[static_cast<std::size_t>(y * 8 + x * 3 + c)] - want) >
                            8)
                            return false;
                    }
                    return true;
                };
                const bool twoColours = bits == 1;
                EXPECT_TRUE(shows(0, 0, 0xff0000) &&
                            shows(1, 0, twoColours ? 0xff0000 : 0x00ff00) &&
                            shows(0, 1, 0x0000ff) && shows(1, 1, twoColours ? 0x0000ff : 0xffffff))
                    << bits << " bits, " << (topDown ? "top-down" : "bottom-up")
                    << (fitted ? ", fitted" : "");
            }
}

TEST_F(Win32Back, FormMovesAndRefusesPlacesOutOfRange) {
    form->setLeft(1500);
    form->setTop(3000);
    RECT outer{};
    GetWindowRect(window(), &outer);
    EXPECT_EQ(outer.left, 100);
    EXPECT_EQ(outer.top, 200);
    EXPECT_FLOAT_EQ(form->left(), 1500.0f);

    EXPECT_THROW(form->setLeft(3e9f), Failure);
    EXPECT_THROW(form->setTop(std::nanf("")), Failure);
    EXPECT_FLOAT_EQ(form->left(), 1500.0f);
    EXPECT_FLOAT_EQ(form->top(), 3000.0f);

    // A move from elsewhere becomes the form's place.
    SetWindowPos(window(), nullptr, 30, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_FLOAT_EQ(form->left(), 450.0f);
    EXPECT_FLOAT_EQ(form->top(), 600.0f);
}

TEST_F(Win32Back, CaptionlessBarHasATaskbarButtonAndNoCloseBox) {
    Form bar(app, kBarLayout);
    bar.show();
    pump(50);
    HWND w = windowOf(bar);
    const LONG style = GetWindowLongW(w, GWL_STYLE);
    EXPECT_TRUE(style & WS_POPUP);
    EXPECT_TRUE(style & WS_BORDER);
    EXPECT_NE(style & WS_CAPTION, WS_CAPTION);
    EXPECT_TRUE(GetWindowLongW(w, GWL_EXSTYLE) & WS_EX_APPWINDOW);
    EXPECT_EQ(GetWindow(w, GW_OWNER), nullptr);
    RECT client{}, outer{};
    GetClientRect(w, &client);
    GetWindowRect(w, &outer);
    EXPECT_EQ(client.right, 176);
    EXPECT_EQ(client.bottom, 24);
    EXPECT_EQ(outer.left, 100);
    EXPECT_EQ(outer.top, 100);

    SendMessageW(w, WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(w));
    EXPECT_FALSE(bar.unloaded());

    // The close box of a captioned window unloads it.
    SendMessageW(window(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(form->unloaded());
    EXPECT_EQ(window(), nullptr);
}

TEST_F(Win32Back, SizableWindowIsPlacedByTheSystem) {
    Form plain(app, kSizableLayout);
    // A form that is never shown costs no window.
    EXPECT_EQ(windowOf(plain), nullptr);
    HWND w = peerOf(plain).ensureWindow();
    const LONG style = GetWindowLongW(w, GWL_STYLE);
    EXPECT_TRUE(style & WS_THICKFRAME);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_TRUE(style & WS_MAXIMIZEBOX);
    EXPECT_FALSE(IsWindowVisible(w));
    RECT client{}, outer{};
    GetClientRect(w, &client);
    GetWindowRect(w, &outer);
    EXPECT_EQ(client.right, 322);
    EXPECT_EQ(client.bottom, 95);
    EXPECT_FLOAT_EQ(plain.left(), outer.left * 15.0f);
}

TEST_F(Win32Back, DeactivationCountsOnlyWindowsOfTheProgram) {
    int deactivations = 0;
    form->Form_Deactivate = [&] { ++deactivations; };
    Form other(app, kSizableLayout);
    other.show();
    pump(100);
    ASSERT_EQ(GetActiveWindow(), windowOf(other));
    EXPECT_EQ(deactivations, 1);

    form->show();
    pump(100);
    EXPECT_EQ(GetActiveWindow(), window());

    // A window that is no form of the program.
    HWND stranger = CreateWindowExW(0, L"STATIC", L"stranger", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0,
                                    0, 200, 100, nullptr, nullptr, nullptr, nullptr);
    SetForegroundWindow(stranger);
    pump(100);
    EXPECT_EQ(deactivations, 1);
    DestroyWindow(stranger);

    form->show();
    pump(100);
    // Closing is no deactivation.
    form->unload();
    pump(100);
    EXPECT_EQ(deactivations, 1);
}

TEST_F(Win32Back, MessageBoxesAreModalAndTimersGoOn) {
    platform.realBoxes = true;
    int ticks = 0;
    form->timer("Fast").Tick = [&] { ++ticks; };
    std::optional<bv::automation::MessageBoxInfo> seen;
    int ticksWhileOpen = 0;
    bool formEnabledWhileOpen = true;
    // Answers the box from inside its own loop, a while after it opened.
    ThreadTimer answerer(400, [&] {
        HWND box = threadWindow(L"#32770");
        if (!box)
            return false;
        seen = bv::automation::readMessageBox(box);
        ticksWhileOpen = ticks;
        formEnabledWhileOpen = IsWindowEnabled(window());
        for (const auto& b : seen->buttons)
            if (b.text.find(L"No") != std::wstring::npos)
                SendMessageW(b.window, BM_CLICK, 0, 0);
        return true;
    });
    const Answer answer = app.msgBox("Do you want to close brenlo vistrel v1.0", Buttons::YesNo,
                                     Icon::Question, "Brenlo Vistrel");
    EXPECT_EQ(answer, Answer::No);
    ASSERT_TRUE(seen.has_value());
    EXPECT_EQ(seen->title, L"Brenlo Vistrel");
    EXPECT_EQ(seen->prompt, L"Do you want to close brenlo vistrel v1.0");
    EXPECT_EQ(seen->icon, bv::automation::MessageIcon::Question);
    EXPECT_EQ(seen->buttons.size(), 2u);
    EXPECT_NE(seen->defaultButton.find(L"Yes"), std::wstring::npos);
    EXPECT_GE(ticksWhileOpen, 3);
    EXPECT_FALSE(formEnabledWhileOpen);
    EXPECT_TRUE(IsWindowEnabled(window()));
}

TEST_F(Win32Back, PopupMenuReturnsTheChosenItem) {
    Form bar(app, kBarLayout);
    bar.show();
    pump(50);
    int ones = 0, twos = 0;
    bar.menuItem("one").Click = [&] { ++ones; };
    bar.menuItem("two").Click = [&] { ++twos; };
    int ticks = 0;
    form->timer("Fast").Tick = [&] { ++ticks; };
    // Keys posted to the menu's own loop a while after it opened: down twice
    // skips the separator to "Two". Timers go on meanwhile.
    HWND w = windowOf(bar);
    {
        ThreadTimer chooser(400, [w] {
            PostMessageW(w, WM_KEYDOWN, VK_DOWN, 0);
            PostMessageW(w, WM_KEYDOWN, VK_DOWN, 0);
            PostMessageW(w, WM_KEYDOWN, VK_RETURN, 0);
            return true;
        });
        EXPECT_EQ(peerOf(bar).popupMenu(), 2);
    }
    EXPECT_GE(ticks, 3);
    PostMessageW(w, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_EQ(peerOf(bar).popupMenu(), -1);
    PostMessageW(w, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageW(w, WM_KEYDOWN, VK_RETURN, 0);
    bar.popupMenu();
    EXPECT_EQ(ones, 1);
    EXPECT_EQ(twos, 0);
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
            title = textOf(box);
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

// The same sequence as on the simulated desktop (layout_test.cpp).
TEST_F(Win32Back, DeactivationFollowsTheEventThatShowedAnotherWindow) {
    Form other(app, kSizableLayout);
    std::vector<std::string> seen;
    form->Form_Deactivate = [&] { seen.push_back("first deactivated"); };
    other.Form_Deactivate = [&] { seen.push_back("other deactivated"); };
    app.dispatch([&] {
        seen.push_back("showing other");
        other.show();
        seen.push_back("other shown");
    });
    pump(100);
    app.dispatch([&] { form->show(); });
    pump(100);
    EXPECT_EQ(seen, (std::vector<std::string>{"showing other", "other shown", "first deactivated",
                                              "other deactivated"}));
}

// The configuration tool's slots, built in a loop: read-only boxes that
// raise Click and MouseMove, three in a frame and seven on the window, and
// the red sample-speed box.
TEST_F(Win32Back, SlotBoxesAreReadOnlyAndAnswerTheMouse) {
    std::vector<std::string> names;
    for (int n = 1; n <= 10; ++n)
        names.push_back("Text" + std::to_string(n));
    std::vector<ControlSpec> rows{{.kind = Kind::Frame,
                                   .name = "Frame4",
                                   .left = 120,
                                   .top = 120,
                                   .width = 5055,
                                   .height = 1800},
                                  {.kind = Kind::PictureBox,
                                   .name = "Picture2",
                                   .left = 5400,
                                   .top = 120,
                                   .width = 495,
                                   .height = 255,
                                   .backColor = hex(0xFF0000),
                                   .tabIndex = 42}};
    for (int n = 0; n < 10; ++n)
        rows.push_back({.kind = Kind::TextBox,
                        .name = names[static_cast<std::size_t>(n)].c_str(),
                        .container = n < 3 ? "Frame4" : nullptr,
                        .left = n < 3 ? 240 : 360,
                        .top = n < 3 ? 360 + 480 * n : 2160 + 480 * (n - 3),
                        .width = 4575,
                        .height = 375,
                        .tabIndex = 7 + n,
                        .readOnly = true});
    const FormSpec spec{.name = "Form1",
                        .caption = "Slots",
                        .clientWidth = 6000,
                        .clientHeight = 6000,
                        .controls = rows};
    Form slots(app, spec);
    names.clear();
    rows.clear();
    slots.show();
    pump(100);
    Win32Form& peer = peerOf(slots);
    HWND first = peer.controlWindow(slots.control("Text1"));
    HWND fifth = peer.controlWindow(slots.control("Text5"));
    EXPECT_EQ(GetParent(first), windowOf(slots));
    EXPECT_EQ(GetParent(fifth), windowOf(slots));

    std::vector<int> clicks, moves;
    for (int n : {1, 5}) {
        TextBox& box = slots.textBox("Text" + std::to_string(n));
        box.setText("Click here to add image...");
        box.Click = [&clicks, n] { clicks.push_back(n); };
        box.MouseMove = [&moves, n](const MouseArgs&) { moves.push_back(n); };
    }
    // Typing changes nothing; the caret and a selection are allowed.
    SetFocus(fifth);
    SendMessageW(fifth, WM_CHAR, L'x', 0);
    SendMessageW(fifth, EM_SETSEL, 0, 5);
    DWORD from = 0, to = 0;
    SendMessageW(fifth, EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
    EXPECT_EQ(to - from, 5u);
    EXPECT_EQ(slots.textBox("Text5").text(), "Click here to add image...");
    EXPECT_EQ(textOf(fifth), L"Click here to add image...");

    for (HWND box : {first, fifth}) {
        PostMessageW(box, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
        PostMessageW(box, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        PostMessageW(box, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
        pump(50);
    }
    EXPECT_EQ(clicks, (std::vector<int>{1, 5}));
    EXPECT_NE(std::find(moves.begin(), moves.end(), 1), moves.end());
    EXPECT_NE(std::find(moves.begin(), moves.end(), 5), moves.end());

    HWND sample = peer.controlWindow(slots.control("Picture2"));
    EXPECT_EQ(Snapshot(sample).at(10, 5), kRed);
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
    EXPECT_EQ(windowOf(*never), nullptr);
    EXPECT_EQ(second.run(), 0);  // nothing left: returns at once
}

TEST_F(Win32Back, PlatformCallsStartProgramsAndSetTheWallpaper) {
    try {
        platform.startProgram("C:\\no such folder\\tool.exe", 2);
        ADD_FAILURE() << "started a missing program";
    } catch (const Failure& f) {
        EXPECT_STREQ(f.what(), "File not found: C:\\no such folder\\tool.exe");
    }
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
