// The real agent and configuration tool started on hostile data stores:
// broken, huge, deep, binary and misnamed notes and bitmaps. Each must give
// the program's usual reaction to an unreadable file, without a crash, a
// hang, a memory spike or a changed file. Prints the time to the reaction and
// the program's peak working set.
#include "tests/wine/agent/agent_session.h"
// after windows.h, which it needs
#include <psapi.h>

#include <cstdio>
#include <functional>
#include <map>
#include <random>

#include "automation/controls.h"
#include "automation/message_box.h"
#include "tests/wine/config/tool_driver.h"

namespace bv::testing {
namespace {

// Every file of the data store with its bytes.
std::map<std::string, std::string> snapshot() {
    std::map<std::string, std::string> files;
    for (const auto& entry :
         std::filesystem::recursive_directory_iterator(hostPath(paths::dataDir()))) {
        if (entry.is_regular_file()) {
            std::ifstream in(entry.path(), std::ios::binary);
            files[entry.path().string()] = {std::istreambuf_iterator<char>(in), {}};
        }
    }
    return files;
}

std::string binaryNoise(std::size_t size) {
    std::mt19937 random(11);
    std::string bytes(size, '\0');
    for (char& c : bytes)
        c = static_cast<char>(random());
    return bytes;
}

std::string utf16(const std::string& ascii) {
    std::string out = "\xff\xfe";
    for (char c : ascii)
        out += c, out += '\0';
    return out;
}

// The notes a program reads at start, all given the same content; a null
// content makes each a folder of that name.
using Content = std::function<std::string()>;

std::vector<std::pair<const char*, Content>> hostileNotes() {
    static const std::string header = "{\\rtf1\\ansi\\ansicpg1252\\deff0 ";
    return {
        {"empty notes", [] { return std::string(); }},
        {"10 MB notes", [] { return header + std::string(10 << 20, 'x') + "\r\n\\par }\r\n"; }},
        {"notes nested 1e6 groups deep",
         [] { return header + std::string(1'000'000, '{') + "300" + std::string(1'000'001, '}'); }},
        {"binary notes", [] { return binaryNoise(4096); }},
        {"UTF-16 notes", [] { return utf16(note::toRtf("300")); }},
        {"folders named as the notes", nullptr},
    };
}

// Bitmaps that are empty, cut in their pixel rows, a GIF cut in its colour
// table, one whose header claims 60000 by 60000 pixels with 192 bytes of
// them, and one cut in its header: data that no picture loader takes.
std::vector<std::string> hostileBitmaps() {
    const std::string whole = bitmap(10, 20, 30);
    std::string huge = whole;
    for (int at : {18, 22})
        for (int i = 0; i < 4; ++i)
            huge[static_cast<std::size_t>(at + i)] = static_cast<char>((60000 >> (8 * i)) & 0xff);
    const std::string gif("GIF89a\x01\x00\x01\x00\x80\x00\x00\xff\xff", 15);
    return {"", whole.substr(0, 70), gif, huge, whole.substr(0, 30)};
}

struct Observation {
    double barMs = -1;       // start to shown bar
    double reactionMs = -1;  // start to the case's reaction
    double peakMb = 0;       // the agent's peak working set
    std::wstring counter;    // Text1, the wallpaper step
    bool messageBox = false;
};

class HostileStore : public AgentSession {
  protected:
    // A normal store at speed 100 with the saved place 1200, 9000.
    void installTidy() {
        std::filesystem::remove_all(hostPath(paths::dataDir()));
        installNormal("100");
        std::filesystem::create_directories(hostPath(paths::agentDir()));
        note::writeNote(paths::topNote(), "1200");
        note::writeNote(paths::leftNote(), "9000");
    }
    static void putNotes(const Content& content) {
        putNotes(content, {paths::speedNote(), paths::topNote(), paths::leftNote()});
    }
    static void putNotes(const Content& content, const std::vector<std::string>& notes) {
        for (const std::string& path : notes) {
            std::filesystem::remove(hostPath(path));
            if (content)
                std::ofstream(hostPath(path), std::ios::binary) << content();
            else
                std::filesystem::create_directory(hostPath(path));
        }
    }

    // Starts the agent, waits until `reacted` holds (at most 10 s, so a hang
    // shows), then watches a little longer.
    Observation run(const std::function<bool(HWND)>& reacted, const char* what) {
        const auto files = snapshot();
        const auto started = std::chrono::steady_clock::now();
        auto since = [&] {
            return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() -
                                                             started)
                .count();
        };
        startAgent();
        Observation seen;
        HWND bar = waitForBar();
        EXPECT_NE(bar, nullptr) << what << ": no bar";
        if (!bar) {
            seen.messageBox = ba::waitForMessageBox(agent->id(), 0ms).has_value();
            return seen;
        }
        seen.barMs = since();
        if (ba::waitUntil([&] { return reacted(bar); }, 10s, 5ms))
            seen.reactionMs = since();
        ba::waitUntil([] { return false; }, 1000ms);  // any late message box or crash
        seen.messageBox = ba::waitForMessageBox(agent->id(), 0ms).has_value();
        seen.counter = counter(bar);
        PROCESS_MEMORY_COUNTERS memory{};
        GetProcessMemoryInfo(agent->handle(), &memory, sizeof memory);
        seen.peakMb = static_cast<double>(memory.PeakWorkingSetSize) / (1024.0 * 1024.0);
        EXPECT_TRUE(agent->running()) << what << ": the agent ended";
        agent->kill();
        agent->waitForExit(5s);
        EXPECT_TRUE(snapshot() == files) << what << ": a data store file changed";
        std::printf("%-34s bar %5.0f ms, reaction %5.0f ms, peak working set %5.1f MB, step %ls\n",
                    what, seen.barMs, seen.reactionMs, seen.peakMb, seen.counter.c_str());
        return seen;
    }

    // Text1 of the bar: the wallpaper step, "Text1" before the first tick.
    static std::wstring counter(HWND bar) {
        for (const ba::Control& c : ba::childControls(bar))
            if (_wcsicmp(c.className.c_str(), L"Edit") == 0) {
                // GetWindowText does not ask another process's edit control.
                wchar_t text[32] = {};
                DWORD_PTR got = 0;
                SendMessageTimeoutW(c.window, WM_GETTEXT, 32, reinterpret_cast<LPARAM>(text),
                                    SMTO_ABORTIFHUNG, 2000, &got);
                return text;
            }
        return L"?";
    }
    static std::pair<LONG, LONG> corner(HWND bar) {
        RECT r{};
        GetWindowRect(bar, &r);
        return {r.left, r.top};
    }
    static constexpr std::pair<LONG, LONG> kSaved{9000 / 15, 1200 / 15};
    static constexpr std::pair<LONG, LONG> kLaidOut{12630 / 15, 8355 / 15};
};

// Unreadable notes: the speed reads as 0, so the enabled timer never ticks,
// and the bar keeps its laid-out place; no message.
TEST_F(HostileStore, UnreadableNotesStopTheCycleAndKeepTheLaidOutPlace) {
    installTidy();
    const Observation tidy = run([](HWND bar) { return counter(bar) == L"3"; }, "tidy store");
    ASSERT_GE(tidy.reactionMs, 0) << "a tidy store at speed 100 does not cycle";

    for (const auto& [what, content] : hostileNotes()) {
        installTidy();
        putNotes(content);
        // The bar shown at its laid-out place is the reaction; the counter
        // then stays at its laid-out text, as nothing ticks.
        const Observation seen = run([](HWND bar) { return corner(bar) == kLaidOut; }, what);
        EXPECT_GE(seen.reactionMs, 0) << what << ": the bar moved to a place read from the notes";
        EXPECT_EQ(seen.counter, L"Text1") << what << ": the wallpaper timer ticked";
        EXPECT_FALSE(seen.messageBox) << what;
        EXPECT_LT(seen.peakMb, tidy.peakMb + 4) << what << ": memory spike";
    }
}

// Bitmaps are only tested for existence at start; at each tick the broken
// ones go to the platform like any other, and the cycle goes on past them.
TEST_F(HostileStore, BrokenBitmapsAreCycledPast) {
    installTidy();
    const Observation tidy = run([](HWND bar) { return counter(bar) == L"6"; }, "tidy bitmaps");
    ASSERT_GE(tidy.reactionMs, 0);

    installTidy();
    const std::vector<std::string> broken = hostileBitmaps();
    for (std::size_t i = 0; i < broken.size(); ++i)
        fs::writeFileAtomically(paths::wallpaper(static_cast<int>(i) + 1), broken[i]);
    const Observation seen = run([](HWND bar) { return counter(bar) == L"6"; }, "broken bitmaps");
    EXPECT_GE(seen.reactionMs, 0) << "the cycle stopped at a broken bitmap, at " << seen.counter;
    EXPECT_FALSE(seen.messageBox);
    EXPECT_LT(seen.peakMb, tidy.peakMb + 4) << "memory spike";
}

// The configuration tool on the same notes (its captions and speed) and
// bitmaps: it starts and keeps running, and a broken bitmap's slot shows the
// cannot-show picture within a second of the pointer coming over it.
TEST_F(HostileStore, TheToolStartsOnHostileNotesAndCannotShowBrokenBitmaps) {
    std::vector<std::string> notes{paths::speedNote()};
    for (int n = 1; n <= 10; ++n)
        notes.push_back(paths::captionNote(n));
    auto installTidyForTool = [&] {
        installTidy();
        for (int n = 1; n <= 10; ++n)
            note::writeNote(paths::captionNote(n),
                            "Selected Image # " + std::to_string(n) + ".bmp");
    };
    // Runs the tool on the store as it is, `use` done once its window shows;
    // returns its peak working set in MB.
    auto runTool = [&](const char* what, const std::function<void(ToolDriver&)>& use) {
        const auto files = snapshot();
        const auto started = std::chrono::steady_clock::now();
        ba::Process tool = ba::Process::start(fromUnix(BV_CONFIG_EXE));
        ToolDriver driver;
        ba::waitUntil(
            [&] {
                for (HWND w : ba::topLevelWindows(tool.id()))
                    if (IsWindowVisible(w) && ba::windowText(w) == kToolTitle)
                        return (driver.window = w) != nullptr;
                return false;
            },
            15s, 5ms);
        const double shownMs =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started)
                .count();
        EXPECT_NE(driver.window, nullptr) << what << ": no window";
        double peakMb = 0;
        if (driver.window) {
            Sleep(300);
            driver.collectControls();
            use(driver);
            ba::waitUntil([] { return false; }, 1000ms);  // any late message box or crash
            EXPECT_FALSE(ba::waitForMessageBox(tool.id(), 0ms)) << what;
            EXPECT_TRUE(tool.running()) << what << ": the tool ended";
            PROCESS_MEMORY_COUNTERS memory{};
            GetProcessMemoryInfo(tool.handle(), &memory, sizeof memory);
            peakMb = static_cast<double>(memory.PeakWorkingSetSize) / (1024.0 * 1024.0);
        }
        tool.kill();
        tool.waitForExit(5s);
        EXPECT_TRUE(snapshot() == files) << what << ": a data store file changed";
        std::printf("tool, %-28s window %5.0f ms, peak working set %5.1f MB\n", what, shownMs,
                    peakMb);
        return peakMb;
    };

    installTidyForTool();
    const double tidyPeak = runTool("tidy store", [](ToolDriver& tool) {
        for (int slot : {5, 6}) {
            tool.pointAt(slot);
            Sleep(300);
        }
    });
    for (const auto& [what, content] : hostileNotes()) {
        installTidyForTool();
        putNotes(content, notes);
        EXPECT_LT(runTool(what, [](ToolDriver&) {}), tidyPeak + 4) << what << ": memory spike";
    }

    installTidyForTool();
    const std::vector<std::string> broken = hostileBitmaps();
    for (std::size_t i = 0; i < broken.size(); ++i)
        fs::writeFileAtomically(paths::wallpaper(static_cast<int>(i) + 1), broken[i]);
    fs::writeFileAtomically(paths::wallpaper(6), "no picture, though named one");
    constexpr int kTidy = 7;
    const double peak = runTool("broken bitmaps", [&](ToolDriver& tool) {
        auto shownAfterPointing = [&](int slot) {
            tool.pointAt(slot);
            Sleep(500);
            return tool.preview();
        };
        const ba::Pixels cannotShow = shownAfterPointing(6);
        const ba::Pixels picture = shownAfterPointing(kTidy);
        ASSERT_NE(cannotShow.rgb, picture.rgb);
        for (int slot = 1; slot <= static_cast<int>(broken.size()); ++slot) {
            const auto pointed = std::chrono::steady_clock::now();
            tool.pointAt(slot);
            const bool shown =
                ba::waitUntil([&] { return tool.preview().rgb == cannotShow.rgb; }, 1s, 10ms);
            EXPECT_TRUE(shown) << "slot " << slot << " does not show the cannot-show picture";
            std::printf("tool, slot %d: %s after %.0f ms\n", slot,
                        shown ? "cannot-show picture" : "no cannot-show picture",
                        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() -
                                                                  pointed)
                            .count());
            EXPECT_EQ(shownAfterPointing(kTidy).rgb, picture.rgb) << "after slot " << slot;
        }
    });
    EXPECT_LT(peak, tidyPeak + 4) << "memory spike";
}

}  // namespace
}  // namespace bv::testing
