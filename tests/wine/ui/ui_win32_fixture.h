#pragma once
// The Win32 back end on a real (Wine) desktop: one form made from a test
// layout that has a control of every kind, the platform that records its
// top-level reports, and what the cases share to read windows and pixels.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "automation/window_search.h"
#include "datastore/wide.h"
#include "resources/resource_ids.h"
#include "tests/support/bitmap_files.h"
#include "tests/support/failures.h"
#include "tests/wine/support/control_window.h"
#include "tests/wine/ui/pump.h"
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
#include "ui/win32/win32_form.h"
#include "ui/win32/win32_platform.h"

// Inside the back end's namespace, for its names and the layout's.
namespace bv::ui::win32::tests {

using bv::testing::controlWindow;
using bv::testing::failureOf;
using bv::testing::formWindow;

inline constexpr int kTestBitmap = 101;  // 8 by 6: red left half, blue right half
inline constexpr PictureRef kTestPicture{PictureType::Bitmap, kTestBitmap};
inline constexpr COLORREF kRed = RGB(255, 0, 0);
inline constexpr COLORREF kBlue = RGB(0, 0, 255);
inline constexpr COLORREF kGreen = RGB(0, 255, 0);

// `row` at left, top, width and height (twips): keeps a row to a line or two.
constexpr ControlSpec placed(ControlSpec row, int left, int top, int width, int height) {
    row.left = left, row.top = top, row.width = width, row.height = height;
    return row;
}

// 300 by 200 pixels at 96 dots per inch. Front to back.
inline constexpr ControlSpec kTestControls[] = {
    {.kind = Kind::Timer, .name = "Fast", .interval = 50},
    {.kind = Kind::Timer, .name = "Never", .interval = 0},
    placed({.kind = Kind::Button, .name = "Go", .text = "&Go", .tabIndex = 1}, 3000, 2400, 1200,
           375),
    placed({.kind = Kind::TextBox, .name = "Box", .text = "hello", .tabIndex = 3}, 120, 2400, 2000,
           375),
    placed(
        {.kind = Kind::TextBox, .name = "Hidden", .text = "Text1", .tabIndex = 5, .visible = false},
        120, 2400, 375, 285),
    placed({.kind = Kind::Frame, .name = "Group", .text = "Group", .tabIndex = 0}, 120, 1200, 4200,
           1095),
    placed({.kind = Kind::Slider,
            .name = "Speed",
            .container = "Group",
            .tabIndex = 4,
            .min = 0,
            .max = 10,
            .value = 5},
           120, 240, 2400, 450),
    placed({.kind = Kind::PictureBox,
            .name = "Pane",
            .container = "Group",
            .backColor = hex(0x00FF00),
            .tabIndex = 2},
           2700, 240, 1200, 600),
    placed({.kind = Kind::Label, .name = "Band", .container = "Pane", .backColor = hex(0x0000FF)},
           0, 0, 600, 300),
    placed({.kind = Kind::Image,
            .name = "Flag",
            .picture = kTestPicture,
            .tooltip = "Flag tip",
            .pointer = Pointer::Hand},
           120, 120, 120, 90),
    placed({.kind = Kind::Image, .name = "Wide", .stretch = true, .picture = kTestPicture}, 600,
           120, 240, 180),
    placed({.kind = Kind::Image, .name = "Bar", .picture = {PictureType::Jpeg, BV_JPEG_BAR}}, 1200,
           120, 2655, 375),
    placed({.kind = Kind::Label, .name = "Caption", .text = "Label text"}, 120, 720, 2000, 255),
    {.kind = Kind::Image, .name = "Back", .left = 0, .top = 0, .width = 4500, .height = 1100},
    {.kind = Kind::NoteBox, .name = "note", .text = "RichTextBox1"},
    {.kind = Kind::FileDialog, .name = "c"},
};

inline constexpr FormSpec kTestLayout = {
    .name = "Form1",
    .caption = "Back end test",
    .border = Border::FixedDialog,
    .clientWidth = 4500,
    .clientHeight = 3000,
    .placement = Placement::CenterScreen,
    .controls = kTestControls,
};

inline constexpr MenuItemSpec kBarMenu[] = {{"one", "One"}, {"line", "-"}, {"two", "Two"}};

// Like the agent's bar: no caption at all, a taskbar button, placed by hand.
inline constexpr FormSpec kBarLayout = {
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

inline constexpr FormSpec kSizableLayout = {
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
        throw ProgramEnded{};
    }
};

inline Win32Form& peerOf(const Form& form) {
    return dynamic_cast<Win32Form&>(*BackEnd::peer(form));
}

using bv::automation::windowClass;
using bv::automation::windowText;

// A top-level window of this thread (the process's one window thread) by
// class (and owner).
inline HWND threadWindow(const wchar_t* cls, HWND owner = nullptr) {
    for (HWND w : bv::automation::topLevelWindows(GetCurrentProcessId()))
        if (_wcsicmp(windowClass(w).c_str(), cls) == 0 &&
            (!owner || GetWindow(w, GW_OWNER) == owner))
            return w;
    return nullptr;
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

inline std::string tempFolder() {
    wchar_t path[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, path);
    return bv::text::narrow(path);
}

inline std::string writeTemp(const std::string& name, const std::string& bytes) {
    const std::string path = tempFolder() + name;
    std::ofstream(bv::text::widen(path).c_str(), std::ios::binary) << bytes;
    return path;
}

inline std::string testBitmapBytes() {
    HRSRC found = FindResourceW(nullptr, MAKEINTRESOURCEW(kTestBitmap), RT_BITMAP);
    const auto* data = static_cast<const char*>(LockResource(LoadResource(nullptr, found)));
    const DWORD size = SizeofResource(nullptr, found);
    // A BITMAP resource is the file without its file header.
    return bv::testing::bitmapFileHeader(size + 14, 14 + 40) + std::string(data, size);
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

    HWND window() const { return formWindow(*form); }
    HWND child(const char* name) const { return controlWindow(*form, name); }

    void pump(DWORD ms) { win32::pump(platform, ms); }

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

}  // namespace bv::ui::win32::tests
