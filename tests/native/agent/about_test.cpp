#include "common/about_window.h"
#include "tests/native/ui/ui_fixture.h"
#include "ui/controls/button.h"
#include "ui/controls/label.h"
#include "ui/controls/picture_box.h"
#include "ui/controls/text_box.h"

namespace bv::testing {
namespace {

std::vector<std::string> focusOrder(const ui::Form& form) {
    std::vector<const ui::Control*> focusable;
    for (const auto& c : form.controls())
        if (c->spec().tabIndex >= 0 &&
            (c->kind() == ui::Kind::Button || c->kind() == ui::Kind::TextBox ||
             c->kind() == ui::Kind::PictureBox))
            focusable.push_back(c.get());
    std::sort(focusable.begin(), focusable.end(),
              [](auto* a, auto* b) { return a->spec().tabIndex < b->spec().tabIndex; });
    std::vector<std::string> names;
    for (auto* c : focusable)
        names.push_back(c->name());
    return names;
}

TEST(AboutLayout, TheTwoCopiesDifferOnlyInCaptionSizeAndFocusOrder) {
    ui::sim::SimPlatform sim;
    ui::App app(sim, "t");
    common::AboutWindow agentCopy(app, common::kAgentAboutLayout);
    common::AboutWindow toolCopy(app, common::kConfigAboutLayout);
    EXPECT_EQ(focusOrder(agentCopy.form),
              (std::vector<std::string>{"Command1", "Text1", "Picture1"}));
    EXPECT_EQ(focusOrder(toolCopy.form),
              (std::vector<std::string>{"Picture1", "Text1", "Command1"}));
    ASSERT_EQ(agentCopy.form.controls().size(), toolCopy.form.controls().size());
    for (std::size_t i = 0; i < agentCopy.form.controls().size(); ++i) {
        const auto& a = agentCopy.form.controls()[i]->spec();
        const auto& b = toolCopy.form.controls()[i]->spec();
        EXPECT_STREQ(a.name, b.name);
        EXPECT_STREQ(a.text, b.text);
        EXPECT_EQ(std::tie(a.left, a.top, a.width, a.height),
                  std::tie(b.left, b.top, b.width, b.height));
    }
    EXPECT_STREQ(common::kAgentAboutLayout.caption, "Form3");
    EXPECT_STREQ(common::kConfigAboutLayout.caption, "About Vistrel v1.0");
}

TEST(AboutLayout, AboutTextHasSevenLinesEndingTheContactLine) {
    ui::sim::SimPlatform sim;
    ui::App app(sim, "t");
    common::AboutWindow about(app, common::kAgentAboutLayout);
    const std::string text = about.form.textBox("Text1").text();
    std::vector<std::string> lines;
    for (std::size_t at = 0, end; (end = text.find("\r\n", at)) != std::string::npos; at = end + 2)
        lines.push_back(text.substr(at, end - at));
    ASSERT_EQ(lines.size(), 7u);
    EXPECT_EQ(lines[0], "==== Brenlo Vistrel ====");
    EXPECT_EQ(lines[2], "v1.0 Top Ten Edition");
    EXPECT_NE(lines[4].find("Brenlo Corporation"), std::string::npos);
    EXPECT_TRUE(lines[1].empty() && lines[5].empty());
    // "Contact " and two numbers like 011-2345678, comma, no space.
    const std::string& c = lines[6];
    ASSERT_EQ(c.size(), 8u + 11 + 1 + 11);
    EXPECT_EQ(c.substr(0, 8), "Contact ");
    EXPECT_EQ(c[8 + 3], '-');
    EXPECT_EQ(c[8 + 11], ',');
    EXPECT_EQ(about.form.label("Label1").caption().find(" | ouput date : 2011.06.13") + 26,
              about.form.label("Label1").caption().size());
}

}  // namespace
}  // namespace bv::testing
