// The tool replaces bitmaps and saves notes while the agent reads them: with
// another process reading the file as fast as it can, every read is one whole
// version, and every replace either lands or is reported with the old file kept.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "automation/process.h"
#include "automation/wait.h"
#include "datastore/failure.h"
#include "datastore/fileops.h"
#include "datastore/note.h"
#include "tests/wine/support/test_files.h"

namespace bv::testing {
namespace {

namespace ba = bv::automation;
using namespace std::chrono_literals;

const std::string kDir = "C:\\bv_race";
const std::string kSlotDir = kDir + "\\wallpapers";

// A 24-bit bitmap of w by h pixels, each size with its own colour.
std::string picture(int w, int h) {
    return BitmapFile(24, w, h, static_cast<char>(w & 0xff)).bytes();
}

struct ReaderCounts {
    long reads = -1, first = 0, second = 0, refused = 0, mixed = 0;
};

class Race : public ::testing::Test {
  protected:
    void SetUp() override {
        std::error_code ec;
        std::filesystem::remove_all(hostPath(kDir), ec);
        std::filesystem::create_directories(hostPath(kSlotDir));
    }
    void TearDown() override {
        if (reader)
            reader->kill();
        std::error_code ec;
        std::filesystem::remove_all(hostPath(kDir), ec);
    }

    // Starts the reader on `file` and waits for its first read.
    void startReader(const char* mode, const std::string& file, const std::string& first,
                     const std::string& second) {
        const std::string args = std::string(mode) + " " + file + " " + first + " " + second + " " +
                                 kDir + "\\ready " + kDir + "\\stop " + kDir + "\\result";
        reader.emplace(
            ba::Process::start(fromUnix(BV_RACE_READER), std::wstring(args.begin(), args.end())));
        ASSERT_TRUE(ba::waitUntil([] { return fs::fileExists(kDir + "\\ready"); }, 20s, 5ms));
    }

    ReaderCounts stopReader() {
        fs::writeFileAtomically(kDir + "\\stop", "");
        EXPECT_EQ(reader->waitForExit(20s), 0u);
        ReaderCounts c;
        std::ifstream(hostPath(kDir + "\\result")) >> c.reads >> c.first >> c.second >> c.refused >>
            c.mixed;
        return c;
    }

    // `times` replaces of `target` by `replace(i)`, which says whether the
    // file then holds what it wrote, while the reader reads it; each lands or
    // is refused with the old file kept. The reader then stops: no replace
    // lost, no read mixed, both versions read, no other file left behind.
    void race(const char* what, const std::string& target, int times, const char* firstName,
              const char* secondName, const std::function<bool(int)>& replace) {
        int done = 0, refused = 0, lost = 0;
        for (int i = 0; i < times; ++i) {
            const std::string before = fs::readFile(target);
            try {
                lost += !replace(i);
                ++done;
            } catch (const Failure& failure) {
                ++refused;
                EXPECT_EQ(fs::readFile(target), before) << failure.what();
            }
        }
        const ReaderCounts r = stopReader();
        std::printf(
            "%s race: %d replaces, %d done, %d refused with a report, %d lost; reader: %ld reads "
            "(%ld %s, %ld %s, %ld opens refused), %ld mixed\n",
            what, times, done, refused, lost, r.reads, r.first, firstName, r.second, secondName,
            r.refused, r.mixed);
        EXPECT_EQ(lost, 0);
        EXPECT_EQ(r.mixed, 0) << "see " << kDir << "\\result.mixed";
        EXPECT_GT(r.first, 0);
        EXPECT_GT(r.second, 0) << "the reader never saw the " << secondName << " version";
        EXPECT_EQ(names(kSlotDir), std::vector<std::string>{target.substr(target.rfind('\\') + 1)});
    }

    // The names left in a folder: a replace leaves no temporary file behind.
    static std::vector<std::string> names(const std::string& folder) {
        std::vector<std::string> out;
        for (const auto& entry : std::filesystem::directory_iterator(hostPath(folder)))
            out.push_back(entry.path().filename().string());
        std::sort(out.begin(), out.end());
        return out;
    }

    std::optional<ba::Process> reader;
};

TEST_F(Race, SlotBitmapReplacedWhileAnotherProcessReadsIt) {
    const std::string small = kDir + "\\small.bmp", large = kDir + "\\large.bmp";
    const std::string slot = kSlotDir + "\\1.bmp";
    fs::writeFileAtomically(small, picture(8, 8));
    fs::writeFileAtomically(large, picture(320, 240));
    fs::copyFile(small, slot);
    startReader("bytes", slot, small, large);

    race("bitmap", slot, 500, "small", "large", [&](int i) {
        const std::string& source = i % 2 ? small : large;
        fs::copyFile(source, slot);
        return fs::readFile(slot) == fs::readFile(source);
    });
}

TEST_F(Race, NoteSavedWhileAnotherProcessLoadsIt) {
    const std::string oldValue = "4500";
    const std::string newValue =
        "Selected Image # a rather longer caption, " + std::string(300, 'x') + ".bmp";
    const std::string first = kDir + "\\first.note", second = kDir + "\\second.note";
    const std::string note = kSlotDir + "\\speed.note";
    note::writeNote(first, oldValue);
    note::writeNote(second, newValue);
    note::writeNote(note, oldValue);
    startReader("note", note, first, second);

    race("note", note, 200, "old", "new", [&](int i) {
        const std::string& value = i % 2 ? oldValue : newValue;
        note::writeNote(note, value);
        return note::readNote(note) == value;
    });
}

// A reader that keeps the file open without sharing its deletion blocks the
// replace for good: the copy and the save report it and keep the old file.
TEST_F(Race, ReplaceRefusedForGoodIsReportedAndKeepsTheOldFile) {
    const std::string source = kDir + "\\large.bmp", slot = kSlotDir + "\\1.bmp";
    const std::string note = kSlotDir + "\\speed.note";
    fs::writeFileAtomically(source, picture(320, 240));
    fs::writeFileAtomically(slot, picture(8, 8));
    note::writeNote(note, "4500");
    for (const std::string& held : {slot, note}) {
        const std::string before = fs::readFile(held);
        const std::wstring wide(held.begin(), held.end());
        HANDLE open = CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(open, INVALID_HANDLE_VALUE);
        if (held == slot)
            EXPECT_THROW(fs::copyFile(source, slot), Failure);
        else
            EXPECT_THROW(note::writeNote(note, "9000"), Failure);
        CloseHandle(open);
        EXPECT_EQ(fs::readFile(held), before);
    }
    const auto left = names(kSlotDir);
    EXPECT_EQ(left, (std::vector<std::string>{"1.bmp", "speed.note"}));
}

}  // namespace
}  // namespace bv::testing
