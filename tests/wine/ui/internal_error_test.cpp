// A program that ends through std::terminate says so in a message box.
#include <gtest/gtest.h>
#include <windows.h>

#include "automation/message_box.h"
#include "automation/process.h"
#include "tests/wine/support/message_boxes.h"
#include "tests/wine/support/test_files.h"

namespace {

using namespace std::chrono_literals;
namespace ba = bv::automation;

TEST(InternalError, IsToldInAMessageBoxBeforeTheProgramEnds) {
    auto probe = ba::Process::start(bv::testing::fromUnix(BV_PROBE_EXE));
    ASSERT_TRUE(bv::testing::answerNextBox(
        probe, L"OK",
        {{L"internal_error_probe", L"internal_error_probe met an internal error and must close.",
          ba::MessageIcon::Stop}},
        [&](auto&) { EXPECT_TRUE(probe.running()) << "ended before the box was answered"; }))
        << "the program ended without a word";
    EXPECT_EQ(probe.waitForExit(10s), 3u);
    EXPECT_FALSE(ba::waitForMessageBox(probe.id(), 500ms)) << "a second box";
}

// Without the common controls, the window with a slider cannot be made: the
// report names what is missing, not the window that could not be made.
// Wine's own per-program setting takes comctl32 away from the probe alone.
TEST(InternalError, MissingCommonControlsAreNamedByTheReport) {
    const wchar_t* key = L"Software\\Wine\\AppDefaults\\internal_error_probe.exe\\DllOverrides";
    HKEY overrides = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, key, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                              &overrides, nullptr),
              ERROR_SUCCESS);
    const wchar_t disabled[] = L"disabled";
    RegSetValueExW(overrides, L"comctl32", 0, REG_SZ, reinterpret_cast<const BYTE*>(disabled),
                   sizeof disabled);
    RegCloseKey(overrides);
    struct Restore {
        const wchar_t* key;
        ~Restore() { RegDeleteKeyW(HKEY_CURRENT_USER, key); }
    } restore{key};
    auto probe = ba::Process::start(bv::testing::fromUnix(BV_PROBE_EXE), L"slider");
    ASSERT_TRUE(bv::testing::answerNextBox(
        probe, L"OK",
        {{L"internal_error_probe", L"Run-time error:\r\n\r\nFile not found: comctl32.dll",
          ba::MessageIcon::Stop}}))
        << "the program showed no report";
    EXPECT_TRUE(probe.waitForExit(10s).has_value());
}

}  // namespace
