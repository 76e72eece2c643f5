#pragma once
// The real configuration tool under Wine, driven with the real mouse and
// keyboard on a data store that the test lays out.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>
#include <richedit.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <optional>
#include <source_location>
#include <string>
#include <vector>

#include "automation/controls.h"
#include "automation/input.h"
#include "automation/message_box.h"
#include "automation/pixels.h"
#include "automation/process.h"
#include "automation/wait.h"
#include "automation/window_search.h"
#include "datastore/fileops.h"
#include "datastore/note.h"
#include "datastore/paths.h"
#include "datastore/wide.h"
#include "tests/wine/config/tool_driver.h"
#include "tests/wine/support/test_files.h"

namespace bv::testing {

using namespace std::chrono_literals;
namespace ba = bv::automation;

inline constexpr const char* kPicturesDir = "C:\\pics";

struct RtfSource {
    std::string bytes;
    std::size_t at = 0;
};

inline DWORD CALLBACK readRtfSource(DWORD_PTR cookie, LPBYTE buffer, LONG want, LONG* got) {
    auto& s = *reinterpret_cast<RtfSource*>(cookie);
    const auto n = std::min<std::size_t>(static_cast<std::size_t>(want), s.bytes.size() - s.at);
    std::copy_n(s.bytes.data() + s.at, n, buffer);
    s.at += n;
    *got = static_cast<LONG>(n);
    return 0;
}

// The plain text of a note file as the platform's own rich edit control reads it.
inline std::optional<std::string> richEditText(const std::string& path) {
    static HMODULE library = LoadLibraryW(L"riched20.dll");
    if (!library)
        return std::nullopt;
    HWND box = CreateWindowExW(0, RICHEDIT_CLASSW, L"", WS_POPUP | ES_MULTILINE, 0, 0, 100, 50,
                               nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    RtfSource source{fs::readFile(path)};
    EDITSTREAM stream{};
    stream.dwCookie = reinterpret_cast<DWORD_PTR>(&source);
    stream.pfnCallback = &readRtfSource;
    SendMessageW(box, EM_STREAMIN, SF_RTF, reinterpret_cast<LPARAM>(&stream));
    std::wstring text(4096, L'\0');
    GETTEXTEX get{};
    get.cb = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    get.codepage = 1200;
    text.resize(static_cast<std::size_t>(SendMessageW(
        box, EM_GETTEXTEX, reinterpret_cast<WPARAM>(&get), reinterpret_cast<LPARAM>(text.data()))));
    DestroyWindow(box);
    while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n'))
        text.pop_back();
    if (stream.dwError)
        return std::nullopt;
    return text::narrow(text);
}

class ConfigSession : public ::testing::Test, protected ToolDriver {
  protected:
    void SetUp() override {
        std::error_code ec;
        std::filesystem::remove_all(hostPath(paths::dataDir()), ec);
        std::filesystem::remove_all(hostPath(kPicturesDir), ec);
        std::filesystem::create_directories(hostPath(kPicturesDir));
    }
    void TearDown() override {
        if (tool)
            tool->kill();
    }

    // A one-colour picture in the pictures folder; returns its full path.
    static std::string putPicture(const std::string& name, unsigned char r, unsigned char g,
                                  unsigned char b) {
        const std::string path = std::string(kPicturesDir) + "\\" + name;
        fs::writeFileAtomically(path, bitmap(r, g, b));
        return path;
    }

    void startTool(int show = SW_SHOWNORMAL) {
        tool.emplace(ba::Process::start(fromUnix(BV_CONFIG_EXE), L"", show));
        window = nullptr;
        ba::waitUntil(
            [&] {
                for (HWND w : ba::topLevelWindows(tool->id()))
                    if (IsWindowVisible(w) && ba::windowText(w) == kToolTitle)
                        return (window = w) != nullptr;
                return false;
            },
            15s);
        ASSERT_NE(window, nullptr) << "the tool's window did not open";
        Sleep(300);  // let it paint
        collectControls();
    }

    // A pick through the dialog that must take the name.
    void pick(int slot, const std::string& path) { ASSERT_EQ(choose(slot, path), ""); }
    void cancelPick(int slot) {
        HWND dialog = openDialogOf(slot);
        ASSERT_NE(dialog, nullptr);
        SetForegroundWindow(dialog);
        Sleep(200);
        ba::pressKey(VK_ESCAPE);
        ASSERT_TRUE(ba::waitUntil([&] { return !IsWindow(dialog); }, 10s));
    }
    // A click on the slider's thumb: the focus, and no change of value.
    void clickThumb() const {
        SetForegroundWindow(window);
        const RECT thumb = ba::sliderThumb(slider);
        POINT at{(thumb.left + thumb.right) / 2, (thumb.top + thumb.bottom) / 2};
        ClientToScreen(slider, &at);
        ba::pointerClick(at);
    }
    void hover(int slot) {
        pointAt(slot);
        Sleep(250);
    }

    std::uint32_t previewCentre() const { return preview().at(107, 63); }
    // Checked once the preview's paint has reached the screen.
    void expectPreviewCentre(std::uint32_t rgb, const char* note = "",
                             std::source_location at = std::source_location::current()) const {
        const ::testing::ScopedTrace trace(at.file_name(), static_cast<int>(at.line()), note);
        EXPECT_EQ(ba::readUntil([&] { return previewCentre(); }, rgb), rgb);
    }
    std::uint32_t indicatorColour() const {
        const POINT at = ba::centreOf(indicator);
        return ba::captureScreen(RECT{at.x, at.y, at.x + 1, at.y + 1}).at(0, 0);
    }

    std::optional<ba::Process> tool;
};

inline std::uint32_t colour(unsigned r, unsigned g, unsigned b) {
    return (r << 16) | (g << 8) | b;
}

}  // namespace bv::testing
