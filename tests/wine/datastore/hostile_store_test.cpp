// The real agent started on hostile data stores: broken, huge, deep, binary
// and misnamed notes and bitmaps. Each must give the agent's usual reaction to
// an unreadable file, without a crash, a hang, a memory spike or a changed
// file. Prints the time to the reaction and the agent's peak working set.
#include "tests/wine/agent/agent_session.h"
// after windows.h, which it needs
#include <psapi.h>

#include <cstdio>
#include <functional>
#include <map>
#include <random>

#include "automation/controls.h"
#include "automation/message_box.h"

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

// The three notes the agent reads at start, all given the same content; a
// null content makes each a folder of that name.
using Content = std::function<std::string()>;

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
        for (const std::string& path : {paths::speedNote(), paths::topNote(), paths::leftNote()}) {
            std::filesystem::remove(hostPath(path));
            if (content) {
                std::ofstream(hostPath(path), std::ios::binary) << content();
            } else {
                std::filesystem::create_directory(hostPath(path));
            }
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

    const std::string header = "{\\rtf1\\ansi\\ansicpg1252\\deff0 ";
    const std::vector<std::pair<const char*, Content>> cases = {
        {"empty notes", [] { return std::string(); }},
        {"10 MB notes", [&] { return header + std::string(10 << 20, 'x') + "\r\n\\par }\r\n"; }},
        {"notes nested 1e6 groups deep",
         [&] {
             return header + std::string(1'000'000, '{') + "300" + std::string(1'000'001, '}');
         }},
        {"binary notes", [] { return binaryNoise(4096); }},
        {"UTF-16 notes", [] { return utf16(note::toRtf("300")); }},
        {"folders named as the notes", nullptr},
    };
    for (const auto& [what, content] : cases) {
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
    const std::string whole = bitmap(10, 20, 30);
    std::string huge = whole;
    for (int at : {18, 22})  // 60000 by 60000 pixels, with 192 bytes of them
        for (int i = 0; i < 4; ++i)
            huge[static_cast<std::size_t>(at + i)] = static_cast<char>((60000 >> (8 * i)) & 0xff);
    const std::string gif =
        "GIF89a\x01\x00\x01\x00\x80\x00\x00\xff\xff\xff\x00\x00\x00"
        "!\xf9\x04\x01\x00\x00\x00\x00,\x00\x00\x00\x00\x01\x00\x01\x00"
        "\x00\x02\x02\x44\x01\x00;";
    fs::writeFileAtomically(paths::wallpaper(1), "");
    fs::writeFileAtomically(paths::wallpaper(2), whole.substr(0, 70));
    fs::writeFileAtomically(paths::wallpaper(3), gif);
    fs::writeFileAtomically(paths::wallpaper(4), huge);
    const Observation seen = run([](HWND bar) { return counter(bar) == L"6"; },
                                 "empty, cut, GIF and 60000x60000 bitmaps");
    EXPECT_GE(seen.reactionMs, 0) << "the cycle stopped at a broken bitmap, at " << seen.counter;
    EXPECT_FALSE(seen.messageBox);
    EXPECT_LT(seen.peakMb, tidy.peakMb + 4) << "memory spike";
}

}  // namespace
}  // namespace bv::testing
