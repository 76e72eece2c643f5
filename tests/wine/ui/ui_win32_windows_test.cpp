// The back end's windows: made from the layout table, placed, stacked and
// activated; the focus and the keys; the controls' events.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "datastore/failure.h"
#include "tests/wine/ui/ui_win32_fixture.h"

namespace bv::ui::win32::tests {
namespace {

TEST_F(Win32Back, WindowMatchesTheLayout) {
    RECT client{};
    GetClientRect(window(), &client);
    EXPECT_EQ(client.right, 300);
    EXPECT_EQ(client.bottom, 200);
    EXPECT_EQ(windowText(window()), L"Back end test");

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
    EXPECT_EQ(_wcsicmp(windowClass(go).c_str(), L"Button"), 0);
    EXPECT_EQ(windowText(go), L"&Go");
    RECT place{};
    GetWindowRect(go, &place);
    MapWindowPoints(nullptr, window(), reinterpret_cast<POINT*>(&place), 2);
    EXPECT_EQ(place.left, 200);
    EXPECT_EQ(place.top, 160);
    EXPECT_EQ(place.right - place.left, 80);
    EXPECT_EQ(place.bottom - place.top, 25);

    HWND box = child("Box");
    EXPECT_EQ(_wcsicmp(windowClass(box).c_str(), L"Edit"), 0);
    EXPECT_EQ(windowText(box), L"hello");
    EXPECT_TRUE(GetWindowLongW(box, GWL_STYLE) & ES_AUTOHSCROLL);
    EXPECT_TRUE(GetWindowLongW(box, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);

    HWND hidden = child("Hidden");
    ASSERT_NE(hidden, nullptr);
    EXPECT_FALSE(IsWindowVisible(hidden));
    EXPECT_EQ(windowText(hidden), L"Text1");

    // The frame is the platform's group box with its caption, and holds its
    // slider and picture box at their places in it. The picture box is sunken.
    HWND group = child("Group");
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(_wcsicmp(windowClass(group).c_str(), L"Button"), 0);
    EXPECT_EQ(GetWindowLongW(group, GWL_STYLE) & BS_TYPEMASK, BS_GROUPBOX);
    EXPECT_EQ(windowText(group), L"Group");
    HWND speed = child("Speed");
    HWND pane = child("Pane");
    EXPECT_EQ(GetParent(speed), group);
    EXPECT_EQ(GetParent(pane), group);
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
    for (const char* name : {"Band", "Flag", "Caption", "Back", "note", "c", "Fast"})
        EXPECT_EQ(child(name), nullptr) << name;

    // Front to back as listed, on the window and in the frame.
    auto stackOf = [](HWND parent) {
        std::vector<HWND> stacked;
        for (HWND w = GetWindow(parent, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT))
            stacked.push_back(w);
        return stacked;
    };
    EXPECT_EQ(stackOf(window()), (std::vector<HWND>{go, box, hidden, group}));
    EXPECT_EQ(stackOf(group), (std::vector<HWND>{speed, pane}));

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
    HWND front = GetWindow(peerOf(reordered).ensureWindow(), GW_CHILD);
    EXPECT_EQ(front, controlWindow(reordered, "Front"));
    EXPECT_EQ(GetWindow(front, GW_HWNDNEXT), controlWindow(reordered, "Holder"));
    // The picture box's control lies on the box's own window.
    HWND inner = controlWindow(reordered, "Inner");
    ASSERT_NE(inner, nullptr);
    EXPECT_EQ(GetParent(inner), controlWindow(reordered, "Holder"));
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

TEST_F(Win32Back, SliderRaisesScrollOnlyForTheUsersChanges) {
    Slider& speed = form->slider("Speed");
    int scrolls = 0;
    speed.Scroll = [&] { ++scrolls; };
    HWND bar = child("Speed");

    // As the trackbar tells its parent, the frame it lies in.
    HWND frame = GetParent(bar);
    SendMessageW(bar, TBM_SETPOS, TRUE, 7);
    SendMessageW(frame, WM_HSCROLL, MAKEWPARAM(TB_THUMBTRACK, 7), reinterpret_cast<LPARAM>(bar));
    EXPECT_EQ(scrolls, 1);
    EXPECT_EQ(speed.value(), 7);
    SendMessageW(frame, WM_HSCROLL, MAKEWPARAM(TB_ENDTRACK, 0), reinterpret_cast<LPARAM>(bar));
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

TEST_F(Win32Back, TextBoxesShowAndTakeTheirText) {
    TextBox& box = form->textBox("Box");
    box.setText("set by a handler");
    EXPECT_EQ(windowText(child("Box")), L"set by a handler");
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

// The configuration tool's slots, built in a loop: read-only boxes that
// raise Click and MouseMove, three in a frame (whose group box passes on
// nothing by itself) and seven on the window, and the red sample-speed box.
TEST_F(Win32Back, SlotBoxesAreReadOnlyAndAnswerTheMouse) {
    std::vector<std::string> names;
    for (int n = 1; n <= 10; ++n)
        names.push_back("Text" + std::to_string(n));
    std::vector<ControlSpec> rows{
        placed({.kind = Kind::Frame, .name = "Frame4"}, 120, 120, 5055, 1800),
        placed({.kind = Kind::PictureBox,
                .name = "Picture2",
                .backColor = hex(0xFF0000),
                .tabIndex = 42},
               5400, 120, 495, 255)};
    for (int n = 0; n < 10; ++n)
        rows.push_back(placed({.kind = Kind::TextBox,
                               .name = names[static_cast<std::size_t>(n)].c_str(),
                               .container = n < 3 ? "Frame4" : nullptr,
                               .tabIndex = 7 + n,
                               .readOnly = true},
                              n < 3 ? 240 : 360, n < 3 ? 360 + 480 * n : 2160 + 480 * (n - 3), 4575,
                              375));
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
    HWND first = controlWindow(slots, "Text1");
    HWND fifth = controlWindow(slots, "Text5");
    EXPECT_EQ(GetParent(first), controlWindow(slots, "Frame4"));
    EXPECT_EQ(GetParent(fifth), formWindow(slots));

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
    EXPECT_EQ(windowText(fifth), L"Click here to add image...");

    for (HWND box : {first, fifth}) {
        PostMessageW(box, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
        PostMessageW(box, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        PostMessageW(box, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
        pump(50);
    }
    EXPECT_EQ(clicks, (std::vector<int>{1, 5}));
    EXPECT_NE(std::find(moves.begin(), moves.end(), 1), moves.end());
    EXPECT_NE(std::find(moves.begin(), moves.end(), 5), moves.end());

    HWND sample = controlWindow(slots, "Picture2");
    EXPECT_EQ(Snapshot(sample).at(10, 5), kRed);
    // Read-only boxes keep the editable look, in the frame too.
    for (HWND box : {first, fifth})
        EXPECT_EQ(Snapshot(box).at(290, 10), GetSysColor(COLOR_WINDOW));
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
    HWND w = formWindow(bar);
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
    EXPECT_EQ(formWindow(plain), nullptr);
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
    ASSERT_EQ(GetActiveWindow(), formWindow(other));
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

// The same sequence as on the simulated desktop (layout_test.cpp).
TEST_F(Win32Back, DeactivationFollowsTheEventThatShowedAnotherWindow) {
    Form other(app, kSizableLayout);
    std::vector<std::string> seen;
    form->Form_Deactivate = [&] { seen.push_back("first deactivated"); };
    other.Form_Deactivate = [&] { seen.push_back("other deactivated"); };
    app.raise([&] {
        seen.push_back("showing other");
        other.show();
        seen.push_back("other shown");
    });
    pump(100);
    app.raise([&] { form->show(); });
    pump(100);
    EXPECT_EQ(seen, (std::vector<std::string>{"showing other", "other shown", "first deactivated",
                                              "other deactivated"}));
}

}  // namespace
}  // namespace bv::ui::win32::tests
