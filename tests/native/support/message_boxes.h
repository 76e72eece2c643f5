#pragma once
// A message box the simulated desktop recorded, checked field by field with
// the failures placed at the caller's line.
#include <gtest/gtest.h>

#include <source_location>
#include <string>

#include "ui/sim/sim_platform.h"

namespace bv::testing {

inline void expectMessageBox(const ui::sim::MessageBoxCall& box, const std::string& title,
                             const std::string& prompt, ui::Buttons buttons, ui::Icon icon,
                             std::source_location at = std::source_location::current()) {
    const ::testing::ScopedTrace trace(at.file_name(), static_cast<int>(at.line()),
                                       "the message box");
    EXPECT_EQ(box.title, title);
    EXPECT_EQ(box.prompt, prompt);
    EXPECT_EQ(box.buttons, buttons);
    EXPECT_EQ(box.icon, icon);
}

}  // namespace bv::testing
