// setup under Wine from test packages: the confirmation, the five steps as
// the window shows them, the error and the closing messages.
#include <optional>
#include <stdexcept>

#include "automation/controls.h"
#include "automation/pixels.h"
#include "automation/screenshot.h"
#include "datastore/wide.h"
#include "installer/setup_window.h"
#include "tests/wine/installer/installer_session.h"
#include "tests/wine/support/layout_places.h"
#include "tests/wine/support/message_boxes.h"
#include "ui/win32/fonts.h"

namespace bv::testing {
namespace {

class SetupSession : public InstallerSession {
  protected:
    HWND setupWindow(const ba::Process& process) const {
        HWND found = nullptr;
        ba::waitUntil(
            [&] {
                for (HWND w : windowsShown(process))
                    if (ba::windowText(w) == L"Install Brenlo vistrel v1.0")
                        return (found = w) != nullptr;
                return false;
            },
            20s);
        if (!found)
            throw std::runtime_error("no setup window");
        return found;
    }

    // The status text the window shows: the one of `candidates` whose
    // rendering in the label's place matches the screen, else "?".
    std::wstring statusShown(HWND window) {
        const ui::ControlSpec& frame = row("Frame1");
        const ui::ControlSpec& label = row("Label1");
        POINT at{(frame.left + label.left) / 15, (frame.top + label.top) / 15};
        ClientToScreen(window, &at);
        const LONG width = label.width / 15, height = label.height / 15;
        const ba::Pixels shown = ba::captureScreen({at.x, at.y, at.x + width, at.y + height});
        for (const wchar_t* text : kStatusTexts) {
            const ba::Pixels expected = ba::renderText(text, fonts.get(label.font), width, height,
                                                       ba::toRgb(GetSysColor(COLOR_WINDOWTEXT)),
                                                       ba::toRgb(GetSysColor(COLOR_BTNFACE)));
            if (expected.rgb == shown.rgb)
                return text;
        }
        return L"?";
    }
    // The status text once the screen shows `expected`, or what it shows
    // after a while: the label's paint reaches the screen after its change.
    std::wstring statusShown(HWND window, const wchar_t* expected) {
        return ba::readUntil([&] { return statusShown(window); }, std::wstring(expected));
    }
    // The status text under a message box that ends the program: the box is
    // moved aside and the window repaints what it uncovers.
    std::wstring statusBehind(HWND window, const ba::MessageBoxInfo& box, const wchar_t* expected) {
        SetWindowPos(box.window, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        return statusShown(window, expected);
    }
    static const ui::ControlSpec& row(const char* name) {
        return layoutRow(installer::kSetupLayout, name);
    }
    static constexpr const wchar_t* kStatusTexts[] = {L"_",
                                                      L"Loading setup...",
                                                      L"Creating start Menu item...",
                                                      L"Copying new items...",
                                                      L"Regitering product...",
                                                      L"Completed."};

    // The screen under a control's place: `inner` is the row's container, if any.
    static ba::Pixels at(HWND window, const ui::ControlSpec& c, const ui::ControlSpec* inner,
                         LONG height) {
        const RECT place = pixelPlace(c, inner);
        POINT p{place.left, place.top};
        ClientToScreen(window, &p);
        return ba::captureScreen({p.x, p.y, p.x + place.right - place.left, p.y + height});
    }
    // The banner, the "Current Progress" frame, the description and the
    // footer, each where the layout puts it.
    void expectLaidOut(HWND window) {
        const std::uint32_t face = ba::toRgb(GetSysColor(COLOR_BTNFACE));
        const ui::ControlSpec &frame3 = row("Frame3"), &picture = row("Picture1");
        RECT banner{};
        for (const ba::Control& c : ba::childControls(window))
            if (c.className == L"BvPictureBox")
                banner = c.rect;
        const RECT laidOut = pixelPlace(picture, &frame3);
        EXPECT_EQ(banner.left, laidOut.left);
        EXPECT_EQ(banner.top, laidOut.top);
        EXPECT_EQ(banner.right - banner.left, laidOut.right - laidOut.left);

        const ui::ControlSpec& progress = row("Frame1");
        const ba::Pixels caption =
            ba::inkOf(ba::renderText(L"Current Progress", fonts.get(progress.font), 120, 20,
                                     ba::toRgb(GetSysColor(COLOR_WINDOWTEXT)), face),
                      face);
        const std::optional<POINT> found = ba::find(at(window, progress, nullptr, 20), caption);
        ASSERT_TRUE(found) << "no \"Current Progress\" caption";
        EXPECT_LE(found->x, 12);

        const ui::ControlSpec& footer = row("Label6");
        const RECT footerPlace = pixelPlace(footer);
        const LONG footerHeight = footerPlace.bottom - footerPlace.top;
        EXPECT_TRUE(
            ba::find(at(window, footer, nullptr, footerHeight + 2),
                     ba::inkOf(ba::renderText(text::widen(footer.text), fonts.get(footer.font),
                                              footerPlace.right - footerPlace.left, footerHeight,
                                              ba::toRgb(footer.foreColor), face),
                               face)))
            << "no footer";

        // The description's first lines, centred and wrapped in its frame.
        const ui::ControlSpec &box = row("Frame2"), &description = row("Label7");
        const RECT place = pixelPlace(description, &box);
        const LONG width = place.right - place.left, lines = 30;
        const ba::Pixels expected = ba::render(width, lines, [&](HDC dc) {
            const RECT all{0, 0, width, place.bottom - place.top};
            FillRect(dc, &all, GetSysColorBrush(COLOR_BTNFACE));
            SelectObject(dc, fonts.get(description.font));
            SetBkMode(dc, TRANSPARENT);
            SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
            const std::wstring text = text::widen(description.text);
            RECT r = all;
            DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r,
                      DT_NOPREFIX | DT_TOP | DT_WORDBREAK | DT_CENTER);
        });
        // Found as drawn, give or take a pixel of placing.
        EXPECT_TRUE(ba::find(at(window, description, &box, lines + 2), ba::inkOf(expected, face)));
    }

    // Runs setup from the package to its last message box and returns it.
    ba::MessageBoxInfo runToTheEnd(ba::Process& setup) {
        answerNextBox(setup, L"Yes");
        return nextMessageBox(setup);
    }

    ui::win32::FontCache fonts;
};

// Holds every timer tick of one thread until the test lets it pass.
class TickGate {
  public:
    explicit TickGate(DWORD thread)
        : waiting_(CreateEventW(nullptr, FALSE, FALSE, L"bv_tick_gate_waiting")),
          go_(CreateSemaphoreW(nullptr, 0, 100, L"bv_tick_gate_go")) {
        HMODULE gate = LoadLibraryW(fromUnix(BV_TICK_GATE).c_str());
        auto proc = gate ? reinterpret_cast<HOOKPROC>(
                               reinterpret_cast<void (*)()>(GetProcAddress(gate, "GetMsgProc")))
                         : nullptr;
        hook_ = proc ? SetWindowsHookExW(WH_GETMESSAGE, proc, gate, thread) : nullptr;
        if (!hook_)
            throw std::runtime_error("cannot hook the thread's messages");
    }
    ~TickGate() {
        ReleaseSemaphore(go_, 100, nullptr);
        UnhookWindowsHookEx(hook_);
        CloseHandle(waiting_);
        CloseHandle(go_);
    }
    TickGate(const TickGate&) = delete;
    TickGate& operator=(const TickGate&) = delete;

    // True once a tick is held, before it has run.
    bool held() { return WaitForSingleObject(waiting_, 20000) == WAIT_OBJECT_0; }
    void pass() { ReleaseSemaphore(go_, 1, nullptr); }

  private:
    HANDLE waiting_, go_;
    HHOOK hook_ = nullptr;
};

TEST_F(SetupSession, NoAtTheConfirmationShowsNoWindowAndCreatesNothing) {
    makePackage({});
    ba::Process& setup = startSetup();
    ASSERT_TRUE(
        answerNextBox(setup, L"No",
                      {{L"Confirm setup", L"Do you want install brenlo vistrel for your computer",
                        ba::MessageIcon::Question}},
                      [&](const ba::MessageBoxInfo& confirm) {
                          EXPECT_EQ(confirm.defaultButton, L"&Yes");
                          EXPECT_TRUE(windowsShown(setup).empty());
                      }));
    expectEnds(setup);
    EXPECT_FALSE(exists(paths::startMenuFolder()));
    EXPECT_FALSE(exists(paths::agentStartupExe()));
}

TEST_F(SetupSession, FiveStepsAsTheWindowShowsThemThenTheClosingMessage) {
    makePackage({.libraries = {"comdlg32.ocx", "RICHTX32.OCX", "MSCOMCTL.OCX"}});
    put(hostPath(paths::systemLibrary("comdlg32.ocx")), "system comdlg32");
    put(hostPath(paths::systemLibrary("RICHTX32.OCX")), "system richtx32");
    ba::Process& setup = startSetup();
    const ba::MessageBoxInfo confirm = nextMessageBox(setup);
    TickGate gate(GetWindowThreadProcessId(confirm.window, nullptr));
    answer(confirm, L"Yes");

    HWND window = setupWindow(setup);
    std::vector<std::wstring> seen;
    std::vector<bool> folderAt;
    for (int tick = 1; tick <= 5; ++tick) {
        ASSERT_TRUE(gate.held()) << "tick " << tick;
        seen.push_back(statusShown(window, kStatusTexts[tick - 1]));
        folderAt.push_back(exists(paths::startMenuFolder()));
        if (tick == 4) {
            ba::saveScreenshot(window, L"setup_window_step3");
            expectLaidOut(window);
        }
        gate.pass();
    }
    const ba::MessageBoxInfo closing = nextMessageBox(setup);
    ba::saveScreenshot(nullptr, L"setup_closing_message");
    seen.push_back(statusBehind(window, closing, kStatusTexts[5]));
    EXPECT_EQ(seen, std::vector<std::wstring>(std::begin(kStatusTexts), std::end(kStatusTexts)));
    EXPECT_EQ(folderAt, (std::vector<bool>{false, false, true, true, true}));
    expectMessageBox(closing, L"Completed", L"Thank You for selecting Brenlo kelvotop.",
                     ba::MessageIcon::Information);
    EXPECT_EQ(closing.buttons.size(), 1u);

    // The window as laid out: centred, no taskbar button, no push button.
    RECT client{}, outer{};
    GetClientRect(window, &client);
    GetWindowRect(window, &outer);
    EXPECT_EQ(client.right, 472);
    EXPECT_EQ(client.bottom, 302);
    EXPECT_LE(std::abs((outer.left + outer.right) - GetSystemMetrics(SM_CXSCREEN)), 1);
    EXPECT_LE(std::abs((outer.top + outer.bottom) - GetSystemMetrics(SM_CYSCREEN)), 1);
    EXPECT_NE(GetWindow(window, GW_OWNER), nullptr);
    EXPECT_FALSE(GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_APPWINDOW);
    for (const ba::Control& c : ba::childControls(window))
        EXPECT_FALSE(_wcsicmp(c.className.c_str(), L"Button") == 0 &&
                     (c.style & BS_TYPEMASK) != BS_GROUPBOX)
            << "a push button " << c.text;

    answer(closing, L"OK");
    expectEnds(setup);
    EXPECT_EQ(content(paths::configToolExe()), "MZ stand-in configuration tool");
    EXPECT_EQ(fs::readFile(paths::agentStartupExe()),
              fs::readFile("C:\\pkg\\Data\\brenlo_kel_vo.exe"));
    EXPECT_EQ(fs::readFile(paths::uninstallExe()), fs::readFile("C:\\pkg\\Data\\uninstall.exe"));
    EXPECT_EQ(fs::readFile(paths::readmeTxt()), fs::readFile("C:\\pkg\\Data\\readme.zip"));
    EXPECT_EQ(content(paths::systemLibrary("comdlg32.ocx")), "package comdlg32.ocx");
    EXPECT_EQ(content(paths::systemLibrary("RICHTX32.OCX")), "package RICHTX32.OCX");
    EXPECT_EQ(content(paths::systemLibrary("MSCOMCTL.OCX")), "(absent)");
    EXPECT_FALSE(exists(paths::dataDir()));
}

TEST_F(SetupSession, MissingMainProgramStopsWithTheErrorAndCreatesNothing) {
    auto expectError = [&](const std::wstring& directory) {
        ba::Process& setup = startSetup(directory);
        const ba::MessageBoxInfo error = runToTheEnd(setup);
        expectMessageBox(error, L"Error", L"Cannot find installation file(s)",
                         ba::MessageIcon::Stop);
        EXPECT_EQ(statusBehind(setupWindow(setup), error, L"Loading setup..."),
                  L"Loading setup...");
        answer(error, L"OK");
        expectEnds(setup);
        EXPECT_FALSE(exists(paths::startMenuFolder()));
    };
    makePackage({.agent = false});
    expectError(kPackage);
    // A complete package, but started with another current directory.
    sfs::remove_all(kPackage);
    makePackage({});
    expectError(L"C:\\");
}

TEST_F(SetupSession, ClosingMessageNamesTheReadmeThatIsMissingAndKeepsTheSystemsLibrary) {
    makePackage({.readme = false});
    put(hostPath(paths::systemLibrary("MSCOMCTL.OCX")), "system mscomctl");
    ba::Process& setup = startSetup();
    const ba::MessageBoxInfo closing = runToTheEnd(setup);
    EXPECT_EQ(closing.title, L"Completed");
    EXPECT_EQ(closing.icon, ba::MessageIcon::Exclamation);
    const std::string prompt = text::narrow(closing.prompt);
    EXPECT_NE(prompt.find(paths::readmeTxt()), std::string::npos) << prompt;
    EXPECT_NE(prompt.find("File not found: Data\\readme.zip"), std::string::npos) << prompt;
    answer(closing, L"OK");
    expectEnds(setup);
    EXPECT_FALSE(exists(paths::readmeTxt()));
    EXPECT_TRUE(exists(paths::uninstallExe()));
    EXPECT_EQ(content(paths::systemLibrary("MSCOMCTL.OCX")), "system mscomctl");
}

TEST_F(SetupSession, SecondRunOverwritesAndNamesTheRunningAgentsFile) {
    makePackage({.libraries = {"MSCOMCTL.OCX"}});
    put(hostPath(paths::systemLibrary("MSCOMCTL.OCX")), "system mscomctl");
    ba::Process& first = startSetup();
    answer(runToTheEnd(first), L"OK");
    expectEnds(first);
    EXPECT_EQ(content(paths::systemLibrary("MSCOMCTL.OCX")), "package MSCOMCTL.OCX");

    // Over an installed system: only the two usual boxes.
    put(hostPath(paths::systemLibrary("MSCOMCTL.OCX")), "system mscomctl");
    ba::Process& second = startSetup();
    const ba::MessageBoxInfo closing = runToTheEnd(second);
    EXPECT_EQ(closing.prompt, L"Thank You for selecting Brenlo kelvotop.");
    answer(closing, L"OK");
    expectEnds(second);
    EXPECT_EQ(content(paths::systemLibrary("MSCOMCTL.OCX")), "package MSCOMCTL.OCX");

    // The agent runs from the Startup folder, as after a log-on.
    ba::Process& agent = start(text::widen(paths::agentStartupExe()));
    nextMessageBox(agent);  // its first-run message: it is up and running
    ba::Process& third = startSetup();
    const ba::MessageBoxInfo named = runToTheEnd(third);
    EXPECT_EQ(named.icon, ba::MessageIcon::Exclamation);
    const std::string prompt = text::narrow(named.prompt);
    EXPECT_NE(prompt.find(paths::agentStartupExe()), std::string::npos) << prompt;
    EXPECT_EQ(prompt.find(paths::configToolExe()), std::string::npos) << prompt;
    answer(named, L"OK");
    expectEnds(third);
}

}  // namespace
}  // namespace bv::testing
