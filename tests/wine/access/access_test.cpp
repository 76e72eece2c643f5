// What a screen reader finds in the shipped programs' windows, read as one
// reads it: the platform's accessibility interface, asked from this process
// for the client objects of windows in the programs' own processes.
#include <oleacc.h>

#include <algorithm>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <tuple>
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

namespace bv::testing {
namespace {

// A program that must start on every system imports no oleacc; neither does
// this test, which is checked with them.
template <class F>
F oleacc(const char* name) {
    static HMODULE module = LoadLibraryW(L"oleacc.dll");
    return module ? reinterpret_cast<F>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)))
                  : nullptr;
}

struct Releaser {
    void operator()(IUnknown* object) const { object->Release(); }
};
using Object = std::unique_ptr<IAccessible, Releaser>;

Object clientObject(HWND window) {
    static const auto fromWindow =
        oleacc<decltype(&AccessibleObjectFromWindow)>("AccessibleObjectFromWindow");
    // A reader takes the objects through COM, as screen readers do.
    static const HRESULT com = CoInitialize(nullptr);
    (void)com;
    IAccessible* object = nullptr;
    if (fromWindow)
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

std::wstring take(BSTR text) {
    std::wstring out = text ? text : L"";
    SysFreeString(text);
    return out;
}

struct Element {
    long id = 0;
    std::wstring name, action;
    long role = 0, state = 0;
    RECT place{};  // on the screen
};

Element read(IAccessible* object, long id) {
    Element e;
    e.id = id;
    BSTR text = nullptr;
    object->get_accName(childId(id), &text);
    e.name = take(text);
    text = nullptr;
    object->get_accDefaultAction(childId(id), &text);
    e.action = take(text);
    VARIANT v{};
    if (object->get_accRole(childId(id), &v) == S_OK)
        e.role = v.lVal;
    v = {};
    if (object->get_accState(childId(id), &v) == S_OK)
        e.state = v.lVal;
    long left = 0, top = 0, width = 0, height = 0;
    if (SUCCEEDED(object->accLocation(&left, &top, &width, &height, childId(id))))
        e.place = {left, top, left + width, top + height};
    return e;
}

// The simple elements of a client object, the controls drawn on its window.
std::vector<Element> drawnElements(IAccessible* object) {
    std::vector<Element> out;
    long count = 0;
    if (FAILED(object->get_accChildCount(&count)))
        return out;
    for (long id = 1; id <= count; ++id) {
        IDispatch* child = nullptr;
        if (object->get_accChild(childId(id), &child) == S_OK && child) {
            child->Release();
            continue;
        }
        out.push_back(read(object, id));
    }
    return out;
}

std::string show(const std::wstring& text) {
    return text::narrow(text);
}

// Every label and image of the window's layout is read: a label named by its
// caption (as laid out, or as `captions` says the program set it), an image
// with a tooltip as a button named by it that says "Press", any other as a
// graphic; each at its laid-out size, starting within the window that
// draws it.
void expectRead(HWND top, const ui::FormSpec& layout,
                const std::map<std::string, std::wstring>& captions = {}) {
    std::vector<HWND> holders{top};
    for (const ba::Control& c : ba::childControls(top))
        if (c.className == L"BvPictureBox" || (_wcsicmp(c.className.c_str(), L"Button") == 0 &&
                                               (c.style & BS_TYPEMASK) == BS_GROUPBOX))
            holders.push_back(c.window);
    std::vector<Element> found;
    for (HWND holder : holders) {
        Object object = clientObject(holder);
        ASSERT_TRUE(object) << layout.name << ": no client object for "
                            << show(ba::windowText(holder));
        RECT client{};
        GetClientRect(holder, &client);
        MapWindowPoints(holder, nullptr, reinterpret_cast<POINT*>(&client), 2);
        for (const Element& e : drawnElements(object.get())) {
            // Some lie partly beyond the edge, as laid out; none starts there.
            EXPECT_TRUE(PtInRect(&client, POINT{e.place.left, e.place.top}))
                << layout.name << ": " << show(e.name) << " outside its window";
            found.push_back(e);
        }
    }
    for (const ui::ControlSpec& row : layout.controls) {
        const bool label = row.kind == ui::Kind::Label;
        if (!label && row.kind != ui::Kind::Image)
            continue;
        std::wstring name = text::widen(label ? row.text : row.tooltip ? row.tooltip : "");
        if (const auto set = captions.find(row.name); set != captions.end())
            name = set->second;
        const long role = label         ? ROLE_SYSTEM_STATICTEXT
                          : row.tooltip ? ROLE_SYSTEM_PUSHBUTTON
                                        : ROLE_SYSTEM_GRAPHIC;
        auto fits = [](LONG a, int twips) { return std::abs(a - twips / 15) <= 1; };
        const auto match = std::find_if(found.begin(), found.end(), [&](const Element& e) {
            return e.role == role && e.name == name &&
                   fits(e.place.right - e.place.left, row.width) &&
                   fits(e.place.bottom - e.place.top, row.height);
        });
        if (match == found.end()) {
            ADD_FAILURE() << layout.name << "." << row.name << " \"" << show(name) << "\" role "
                          << role << " not read";
            continue;
        }
        if (role == ROLE_SYSTEM_PUSHBUTTON) {
            EXPECT_EQ(match->action, L"Press") << row.name;
        }
        found.erase(match);
    }
    for (const Element& e : found)
        ADD_FAILURE() << layout.name << ": read \"" << show(e.name) << "\" role " << e.role
                      << ", which the layout has not";
}

// The element of that name in the window's client object.
std::optional<Element> element(IAccessible* object, const std::wstring& name) {
    for (const Element& e : drawnElements(object))
        if (e.name == name)
            return e;
    return std::nullopt;
}

class BarReader : public AgentMenu {
  protected:
    Element button(const wchar_t* tip) {
        const std::optional<Element> e = element(object.get(), tip);
        if (!e)
            throw std::runtime_error("no button " + show(tip));
        return *e;
    }
    bool pressedNow() { return button(L"Toggle ON/OFF Anmation").state & STATE_SYSTEM_PRESSED; }
    Object object;
};

// The bar, its settings window and its about window; the bar's buttons where
// they are drawn, found under the pointer.
TEST_F(BarReader, BarAndItsWindowsNameEveryDrawnControl) {
    object = clientObject(bar);
    ASSERT_TRUE(object);
    expectRead(bar, agent::kAgentBarLayout);
    for (auto [tip, drawn] : {std::pair{L"Toggle ON/OFF Anmation", kPlayPauseRect},
                              std::pair{L"Main Menu", kMenuButtonRect}}) {
        const Element e = button(tip);
        RECT screen = drawn, both{};
        MapWindowPoints(bar, nullptr, reinterpret_cast<POINT*>(&screen), 2);
        IntersectRect(&both, &e.place, &screen);
        EXPECT_TRUE(EqualRect(&both, &e.place)) << show(tip);
        VARIANT hit{};
        ASSERT_EQ(object->accHitTest((e.place.left + e.place.right) / 2,
                                     (e.place.top + e.place.bottom) / 2, &hit),
                  S_OK);
        EXPECT_EQ(hit.vt, VT_I4);
        EXPECT_EQ(hit.lVal, e.id) << show(tip);
    }

    const Settings settings = openSettings();
    ASSERT_NE(settings.window, nullptr);
    expectRead(settings.window, agent::kSettingsWindowLayout);
    choose(kAbout);
    HWND about = ba::findWindow(L"Form3", 5s);
    ASSERT_NE(about, nullptr);
    expectRead(about, common::kAgentAboutLayout);

    // Held across the window's end, the object fails and the program goes on.
    Object held = clientObject(about);
    ASSERT_TRUE(held);
    ba::click(ba::findControl(about, L"Button", L"A&ccept").window);
    ASSERT_TRUE(ba::waitUntil([&] { return !IsWindow(about); }, 5s));
    long count = 0;
    EXPECT_TRUE(FAILED(held->get_accChildCount(&count)));
    BSTR name = nullptr;
    EXPECT_TRUE(FAILED(held->get_accName(childId(1), &name)));
    EXPECT_TRUE(agent->running());
    EXPECT_TRUE(button(L"Main Menu").role == ROLE_SYSTEM_PUSHBUTTON);
}

// The buttons' presses do what a left click does, after the call returned.
TEST_F(BarReader, PressesPauseResumeAndOpenTheMenuAndTheObjectOutlivesTheBar) {
    object = clientObject(bar);
    ASSERT_TRUE(object);
    ASSERT_TRUE(ba::waitUntil([] { return !ba::savedWallpaper().empty(); }, 5s));
    EXPECT_TRUE(pressedNow()) << "the cycle runs";

    const long playPause = button(L"Toggle ON/OFF Anmation").id;
    ASSERT_EQ(object->accDoDefaultAction(childId(playPause)), S_OK);
    EXPECT_TRUE(playPauseShows(BV_BMP_PLAY));
    EXPECT_TRUE(ba::waitUntil([&] { return !pressedNow(); }, 3s));
    Sleep(300);
    const std::wstring paused = ba::savedWallpaper();
    Sleep(2000);  // more than three intervals
    EXPECT_EQ(ba::savedWallpaper(), paused);
    ASSERT_EQ(object->accDoDefaultAction(childId(playPause)), S_OK);
    EXPECT_TRUE(playPauseShows(BV_BMP_PAUSE));
    EXPECT_TRUE(ba::waitUntil([&] { return pressedNow(); }, 3s));
    EXPECT_TRUE(ba::waitUntil([&] { return ba::savedWallpaper() != paused; }, 3s));

    // The call has returned while the menu it opened is still open.
    ASSERT_EQ(object->accDoDefaultAction(childId(button(L"Main Menu").id)), S_OK);
    HWND menu = nullptr;
    ASSERT_TRUE(ba::waitUntil(
        [&] {
            menu = FindWindowW(L"#32768", nullptr);
            return menu && IsWindowVisible(menu);
        },
        5s));
    PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
    ASSERT_TRUE(ba::waitUntil([&] { return !IsWindowVisible(menu); }, 5s));

    choose(kExit);
    auto box = ba::waitForMessageBox(agent->id(), 5s);
    ASSERT_TRUE(box);
    ASSERT_TRUE(ba::answerMessageBox(*box, L"Yes"));
    ASSERT_TRUE(agent->waitForExit(5s).has_value());
    long count = 0;
    EXPECT_TRUE(FAILED(object->get_accChildCount(&count)));
    EXPECT_TRUE(FAILED(object->accDoDefaultAction(childId(playPause))));
}

// Name changes that a listener in this process heard.
std::vector<std::tuple<HWND, LONG, LONG>> gChanges;
void CALLBACK heardChange(HWINEVENTHOOK, DWORD, HWND window, LONG object, LONG child, DWORD,
                          DWORD) {
    gChanges.emplace_back(window, object, child);
}

class ToolReader : public ConfigSession {
  protected:
    static HWND focusOf(HWND window) {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
        return info.hwndFocus;
    }
};

// The tool and its about window; the speed label's new caption reaches a
// listener in another process; the slots pick and preview from the keyboard.
TEST_F(ToolReader, ToolSpeaksAndItsSlotsWorkFromTheKeyboard) {
    startTool();
    fs::writeFileAtomically(paths::wallpaper(2), bitmap(30, 200, 90));
    expectRead(window, config::kConfigWindowLayout);

    gChanges.clear();
    HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_NAMECHANGE, EVENT_OBJECT_NAMECHANGE, nullptr,
                                         &heardChange, tool->id(), 0, WINEVENT_OUTOFCONTEXT);
    ASSERT_NE(hook, nullptr);
    PostMessageW(slider, WM_KEYDOWN, VK_END, 0);
    PostMessageW(slider, WM_KEYUP, VK_END, 0);
    const std::wstring caption = L"Speed : " + std::to_wstring(10000);
    std::wstring heard;
    ba::waitUntil(
        [&] {
            for (auto [w, object, child] : gChanges) {
                IAccessible* source = nullptr;
                VARIANT id{};
                static const auto fromEvent =
                    oleacc<decltype(&AccessibleObjectFromEvent)>("AccessibleObjectFromEvent");
                if (object == OBJID_CLIENT && fromEvent &&
                    fromEvent(w, static_cast<DWORD>(object), static_cast<DWORD>(child), &source,
                              &id) == S_OK) {
                    BSTR name = nullptr;
                    source->get_accName(id, &name);
                    heard = take(name);
                    source->Release();
                }
            }
            return heard == caption;
        },
        5s);
    UnhookWinEvent(hook);
    EXPECT_EQ(show(heard), show(caption));

    // Tab to slot 1, Enter: the dialog for slot 1.
    const std::string picked = putPicture("one.bmp", 200, 20, 20);
    SetForegroundWindow(window);
    ASSERT_TRUE(ba::waitUntil([&] { return GetForegroundWindow() == window; }, 3s));
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
    ASSERT_TRUE(ba::waitUntil([&] { return !IsWindow(dialog); }, 10s));
    EXPECT_TRUE(ba::waitUntil([&] { return slotText(1) == "Selected Image # one.bmp"; }, 3s))
        << slotText(1);
    // Tab on to slot 2: its picture in the preview.
    ASSERT_TRUE(ba::waitUntil([&] { return focusOf(window) == slotWindow(1); }, 3s));
    ba::pressKey(VK_TAB);
    EXPECT_TRUE(ba::waitUntil([&] { return previewCentre() == colour(30, 200, 90); }, 3s));
    EXPECT_EQ(focusOf(window), slotWindow(2));

    ba::click(button(L"&About"));
    HWND about = ba::findWindow(L"About Vistrel v1.0", 5s);
    ASSERT_NE(about, nullptr);
    expectRead(about, common::kConfigAboutLayout);
}

class SetupReader : public InstallerSession {};

// setup's window with its last status, under the closing message.
TEST_F(SetupReader, SetupWindowNamesItsTextsAndStatus) {
    makePackage({});
    ba::Process& setup = startSetup();
    answer(box(setup), L"Yes");
    const ba::MessageBoxInfo closing = box(setup);
    HWND window = nullptr;
    for (HWND w : windowsShown(setup))
        if (ba::windowText(w) == L"Install Brenlo vistrel v1.0")
            window = w;
    ASSERT_NE(window, nullptr);
    expectRead(window, installer::kSetupLayout, {{"Label1", L"Completed."}});
    answer(closing, L"OK");
    expectEnds(setup);
}

}  // namespace
}  // namespace bv::testing
