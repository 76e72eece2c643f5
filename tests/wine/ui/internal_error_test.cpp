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
    auto box = ba::waitForMessageBox(probe.id(), 15s);
    ASSERT_TRUE(box) << "the program ended without a word";
    bv::testing::expectMessageBox(*box, L"internal_error_probe",
                                  L"internal_error_probe met an internal error and must close.",
                                  ba::MessageIcon::Stop);
    EXPECT_TRUE(probe.running()) << "ended before the box was answered";
    ASSERT_TRUE(ba::answerMessageBox(*box, L"OK"));
    EXPECT_EQ(probe.waitForExit(10s), 3u);
    EXPECT_FALSE(ba::waitForMessageBox(probe.id(), 500ms)) << "a second box";
}

}  // namespace
