#pragma once
// A program's message boxes as the user meets them: waited for, checked and
// answered, with the failures placed at the caller's line.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <optional>
#include <source_location>
#include <stdexcept>
#include <string>

#include "automation/message_box.h"
#include "automation/process.h"

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

// The next box of `process`, read while it stays open; none ends the test.
inline automation::MessageBoxInfo nextMessageBox(
    const automation::Process& process, std::source_location at = std::source_location::current()) {
    auto box = automation::waitForMessageBox(process.id(), std::chrono::seconds(20));
    if (!box)
        throw std::runtime_error(std::string("no message box at ") + at.file_name() + ":" +
                                 std::to_string(at.line()));
    return *box;
}

// Presses `button`; false when the box has no such button or stays.
inline bool answer(const automation::MessageBoxInfo& box, const std::wstring& button,
                   std::source_location at = std::source_location::current()) {
    const ::testing::ScopedTrace trace(at.file_name(), static_cast<int>(at.line()),
                                       "the message box");
    const bool answered = automation::answerMessageBox(box, button);
    EXPECT_TRUE(answered) << "not answered " << button;
    return answered;
}

struct ShownBox {
    std::wstring title, prompt;
    automation::MessageIcon icon;
};

// Waits for the next message box of `process`, checks it against `shown`
// when given, lets `whileOpen` look at it and presses `button`. False when no
// box came or `button` did not close it.
inline bool answerNextBox(
    const automation::Process& process, const std::wstring& button,
    const std::optional<ShownBox>& shown = std::nullopt,
    const std::function<void(const automation::MessageBoxInfo&)>& whileOpen = {},
    std::source_location at = std::source_location::current()) {
    const ::testing::ScopedTrace trace(at.file_name(), static_cast<int>(at.line()),
                                       "the message box");
    const auto box = automation::waitForMessageBox(process.id(), std::chrono::seconds(20));
    EXPECT_TRUE(box) << "no message box";
    if (!box)
        return false;
    if (shown)
        expectMessageBox(*box, shown->title, shown->prompt, shown->icon, at);
    if (whileOpen)
        whileOpen(*box);
    return answer(*box, button, at);
}

}  // namespace bv::testing
