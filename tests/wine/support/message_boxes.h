#pragma once
// A program's message box as the user sees it: its title, prompt and icon,
// each checked, with the failures placed at the caller's line.
#include <gtest/gtest.h>

#include <source_location>
#include <string>

#include "automation/message_box.h"

namespace bv::testing {

inline void expectMessageBox(const automation::MessageBoxInfo& box, const std::wstring& title,
                             const std::wstring& prompt, automation::MessageIcon icon,
                             std::source_location at = std::source_location::current()) {
    const ::testing::ScopedTrace trace(at.file_name(), static_cast<int>(at.line()),
                                       "the message box");
    EXPECT_EQ(box.title, title);
    EXPECT_EQ(box.prompt, prompt);
    EXPECT_EQ(box.icon, icon);
}

}  // namespace bv::testing
