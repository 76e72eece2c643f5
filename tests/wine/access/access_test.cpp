// What a screen reader finds in the shipped programs' windows, read as one
// reads it: the platform's accessibility interface, asked from this process
// for the client objects of windows in the programs' own processes.
#include <oleacc.h>

#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "agent/layouts.h"
#include "automation/message_box.h"
#include "automation/wallpaper.h"
#include "common/about_window.h"
#include "config/layouts.h"
#include "installer/setup_window.h"
#include "resources/resource_ids.h"
#include "tests/wine/agent/agent_bar_session.h"
#include "tests/wine/config/config_session.h"
#include "tests/wine/installer/installer_session.h"
#include "ui/controls/image.h"
#include "ui/controls/label.h"
#include "ui/win32/late_library.h"

namespace bv::testing {
namespace {

using Object = std::unique_ptr<IAccessible, decltype([](IAccessible* o) { o->Release(); })>;

// Through COM, as screen readers do; oleacc is no import of this test either.
Object clientObject(HWND window) {
    static const auto fromWindow = ui::win32::lateFunction<decltype(&AccessibleObjectFromWindow)>(
        "oleacc.dll", "AccessibleObjectFromWindow");
    static const HRESULT com = CoInitialize(nullptr);
    IAccessible* object = nullptr;
    if (SUCCEEDED(com))
        fromWindow(window, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                   reinterpret_cast<void**>(&object));
    return Object(object);
}

VARIANT childId(long id) {
    VARIANT v{};
    v.vt = VT_I4;
    v.lVal = id;
    return v;
}

std::string nameOf(
    IAccessible* object, long id,
    HRESULT (STDMETHODCALLTYPE IAccessible::*ask)(VARIANT, BSTR*) = &IAccessible::get_accName) {
    BSTR got = nullptr;
    (object->*ask)(childId(id), &got);
    const std::string value = text::narrow(got ? got : L"");
    SysFreeString(got);
    return value;
}

struct Element {
    long id = 0;
    std::string name, action;
    long role = 0, state = 0;
    RECT place{};  // on the screen
};

// The simple elements of a client object: the controls drawn on its window.
std::vector<Element> drawnElements(IAccessible* object) {
    std::vector<Element> out;
    long count = 0;
    object->get_accChildCount(&count);
    for (long id = 1; id <= count; ++id) {
        IDispatch* child = nullptr;
        if (object->get_accChild(childId(id), &child) == S_OK && child) {
            child->Release();
            continue;
        }
        VARIANT role{}, state{};
        long left = 0, top = 0, width = 0, height = 0;
        object->get_accRole(childId(id), &role);
        object->get_accState(childId(id), &state);
        object->accLocation(&left, &top, &width, &height, childId(id));
        out.push_back({id, nameOf(object, id),
                       nameOf(object, id, &IAccessible::get_accDefaultAction), role.lVal,
                       state.lVal, RECT{left, top, left + width, top + height}});
    }
    return out;
}

// Every label and image of the window's layout is read: a label named by its
// caption (as laid out, or as `captions` says the program set it), an image
// with a tooltip as a button named by it that says "Press", any other as a
// graphic; each at its laid-out size, starting within the window that draws it.
void expectRead(HWND top, const ui::FormSpec& layout,
                const std::map<std::string, std::string>& captions = {}) {
    std::vector<HWND> holders{top};
    for (const ba::Control& c : ba::childControls(top))
        if (c.className == L"BvPictureBox" || (_wcsicmp(c.className.c_str(), L"Button") == 0 &&
                                               (c.style & BS_TYPEMASK) == BS_GROUPBOX))
            holders.push_back(c.window);
    std::vector<std::string> read, laidOut;
    auto entry = [](long role, const std::string& name, const char* action, long w, long h) {
        return std::to_string(role) + " \"" + name + "\" " + action + " " + std::to_string(w) +
               "x" + std::to_string(h);
    };
    for (HWND holder : holders) {
        Object object = clientObject(holder);
        ASSERT_TRUE(object) << layout.name;
        RECT client{};
        GetClientRect(holder, &client);
        MapWindowPoints(holder, nullptr, reinterpret_cast<POINT*>(&client), 2);
        for (const Element& e : drawnElements(object.get())) {
            EXPECT_TRUE(PtInRect(&client, POINT{e.place.left, e.place.top})) << e.name;
            read.push_back(entry(e.role, e.name, e.action.c_str(), e.place.right - e.place.left,
                                 e.place.bottom - e.place.top));
        }
    }
    for (const ui::ControlSpec& row : layout.controls) {
        const bool label = row.kind == ui::Kind::Label, button = !label && row.tooltip;
        if (!label && row.kind != ui::Kind::Image)
            continue;
        const auto set = captions.find(row.name);
        laidOut.push_back(entry(label    ? ROLE_SYSTEM_STATICTEXT
                                : button ? ROLE_SYSTEM_PUSHBUTTON
                                         : ROLE_SYSTEM_GRAPHIC,
                                set != captions.end() ? set->second
                                : label               ? row.text
                                : button              ? row.tooltip
                                                      : "",
                                button ? "Press" : "", row.width / 15, row.height / 15));
    }
    std::sort(read.begin(), read.end());
    std::sort(laidOut.begin(), laidOut.end());
    EXPECT_EQ(read, laidOut) << layout.name;
}

// Every call fails, touching nothing.
bool cutOff(IAccessible* object) {
    long count = 0;
    return FAILED(object->get_accChildCount(&count)) &&
           FAILED(object->accDoDefaultAction(childId(1)));
}

class BarReader : public AgentMenu {
  protected:
    Element button(const std::string& tip) {
        for (const Element& e : drawnElements(object.get()))
            if (e.name == tip)
                return e;
        throw std::runtime_error("no button " + tip);
    }
    bool running() { return button("Toggle ON/OFF Anmation").state & STATE_SYSTEM_PRESSED; }
    Object object;
};

// The bar, its settings and about windows; the bar's buttons where they are
// drawn and under the pointer. An object held across its window's end fails.
TEST_F(BarReader, BarAndItsWindowsNameEveryDrawnControl) {
    object = clientObject(bar);
    ASSERT_TRUE(object);
    expectRead(bar, agent::kAgentBarLayout);
    for (auto [tip, drawn] : {std::pair{"Toggle ON/OFF Anmation", kPlayPauseRect},
                              std::pair{"Main Menu", kMenuButtonRect}}) {
        const Element e = button(tip);
        RECT screen = drawn, both{};
        MapWindowPoints(bar, nullptr, reinterpret_cast<POINT*>(&screen), 2);
        IntersectRect(&both, &e.place, &screen);
        EXPECT_TRUE(EqualRect(&both, &e.place)) << tip;
        VARIANT hit{};
        object->accHitTest((e.place.left + e.place.right) / 2, (e.place.top + e.place.bottom) / 2,
                           &hit);
        EXPECT_EQ(hit.lVal, e.id) << tip;
    }

    expectRead(openSettings().window, agent::kSettingsWindowLayout);
    choose(kAbout);
    HWND about = ba::findWindow(L"Form3", 5s);
    expectRead(about, common::kAgentAboutLayout);
    Object held = clientObject(about);
    ba::click(ba::findControl(about, L"Button", L"A&ccept").window);
    ASSERT_TRUE(ba::waitUntil([&] { return !IsWindow(about); }, 5s));
    EXPECT_TRUE(cutOff(held.get()));
    EXPECT_EQ(button("Main Menu").role, ROLE_SYSTEM_PUSHBUTTON) << "the bar's object still works";
}

// The presses do what a left click does, once the call has returned.
TEST_F(BarReader, PressesPauseResumeAndOpenTheMenuAndTheObjectOutlivesTheBar) {
    object = clientObject(bar);
    ASSERT_TRUE(object);
    ASSERT_TRUE(ba::waitUntil([] { return !ba::savedWallpaper().empty(); }, 5s));
    EXPECT_TRUE(running());
    const long playPause = button("Toggle ON/OFF Anmation").id;
    ASSERT_EQ(object->accDoDefaultAction(childId(playPause)), S_OK);
    EXPECT_TRUE(playPauseShows(BV_BMP_PLAY));
    EXPECT_TRUE(ba::waitUntil([&] { return !running(); }, 3s));
    Sleep(300);
    const std::wstring paused = ba::savedWallpaper();
    Sleep(2000);  // more than three intervals
    EXPECT_EQ(ba::savedWallpaper(), paused);
    ASSERT_EQ(object->accDoDefaultAction(childId(playPause)), S_OK);
    EXPECT_TRUE(playPauseShows(BV_BMP_PAUSE));
    EXPECT_TRUE(ba::waitUntil([&] { return running(); }, 3s));
    EXPECT_TRUE(ba::waitUntil([&] { return ba::savedWallpaper() != paused; }, 3s));

    ASSERT_EQ(object->accDoDefaultAction(childId(button("Main Menu").id)), S_OK);
    HWND menu = nullptr;
    ASSERT_TRUE(
        ba::waitUntil([&] { return IsWindowVisible(menu = FindWindowW(L"#32768", nullptr)); }, 5s));
    PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
    ASSERT_TRUE(ba::waitUntil([&] { return !IsWindowVisible(menu); }, 5s));

    choose(kExit);
    auto box = ba::waitForMessageBox(agent->id(), 5s);
    ASSERT_TRUE(box && ba::answerMessageBox(*box, L"Yes"));
    ASSERT_TRUE(agent->waitForExit(5s).has_value());
    EXPECT_TRUE(cutOff(object.get()));
}

// The last name change that a listener in this process heard.
HWND gChangedWindow = nullptr;
LONG gChangedChild = 0;
void CALLBACK heardChange(HWINEVENTHOOK, DWORD, HWND window, LONG object, LONG child, DWORD,
                          DWORD) {
    if (object == OBJID_CLIENT) {
        gChangedWindow = window;
        gChangedChild = child;
    }
}

using ToolReader = ConfigSession;

// The tool and its about window; the speed label's new caption heard in
// another process; the slots pick and preview from the keyboard.
TEST_F(ToolReader, ToolSpeaksAndItsSlotsWorkFromTheKeyboard) {
    startTool();
    fs::writeFileAtomically(paths::wallpaper(2), bitmap(30, 200, 90));
    expectRead(window, config::kConfigWindowLayout);

    HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_NAMECHANGE, EVENT_OBJECT_NAMECHANGE, nullptr,
                                         &heardChange, tool->id(), 0, WINEVENT_OUTOFCONTEXT);
    PostMessageW(slider, WM_KEYDOWN, VK_END, 0);
    PostMessageW(slider, WM_KEYUP, VK_END, 0);
    std::string heard;
    ba::waitUntil(
        [&] {
            const Object source = gChangedWindow ? clientObject(gChangedWindow) : nullptr;
            heard = source ? nameOf(source.get(), gChangedChild) : "";
            return heard == "Speed : 10000";
        },
        5s);
    UnhookWinEvent(hook);
    EXPECT_EQ(heard, "Speed : 10000");

    const std::string picked = putPicture("one.bmp", 200, 20, 20);
    SetForegroundWindow(window);
    for (int tab = 0; tab < 12 && focusOf(window) != slotWindow(1); ++tab) {
        ba::pressKey(VK_TAB);
        Sleep(100);
    }
    ASSERT_EQ(focusOf(window), slotWindow(1));
    ba::pressKey(VK_RETURN);
    HWND dialog = ba::findWindow(L"#32770", L"Add wallpaper to top 10", 10s);
    ASSERT_NE(dialog, nullptr);
    SetForegroundWindow(dialog);
    Sleep(200);
    ba::typeText(text::widen(picked));
    ba::pressKey(VK_RETURN);
    EXPECT_TRUE(ba::waitUntil([&] { return slotText(1) == "Selected Image # one.bmp"; }, 10s));
    ASSERT_TRUE(ba::waitUntil([&] { return focusOf(window) == slotWindow(1); }, 3s));
    ba::pressKey(VK_TAB);
    EXPECT_TRUE(ba::waitUntil([&] { return previewCentre() == colour(30, 200, 90); }, 3s));
    EXPECT_EQ(focusOf(window), slotWindow(2));

    ba::click(button(L"&About"));
    expectRead(ba::findWindow(L"About Vistrel v1.0", 5s), common::kConfigAboutLayout);
}

using SetupReader = InstallerSession;

// setup's window with its last status, under the closing message.
TEST_F(SetupReader, SetupWindowNamesItsTextsAndStatus) {
    makePackage({});
    ba::Process& setup = startSetup();
    answerNextBox(setup, L"Yes");
    const ba::MessageBoxInfo closing = nextMessageBox(setup);
    const std::vector<HWND> shown = windowsShown(setup);
    ASSERT_EQ(shown.size(), 1u);
    expectRead(shown[0], installer::kSetupLayout, {{"Label1", "Completed."}});
    answer(closing, L"OK");
    expectEnds(setup);
}

}  // namespace
}  // namespace bv::testing
