#include "common/about_window.h"
#include "tests/native/ui/ui_fixture.h"
#include "ui/controls/label.h"
#include "ui/controls/text_box.h"

namespace bv::testing {
namespace {

// Their titles and focus orders, which differ, are read from real windows
// under Wine (wine/agent/agent_about_test.cpp).
TEST(AboutLayout, TheTwoCopiesDifferOnlyInCaptionSizeAndFocusOrder) {
    ui::sim::SimPlatform sim;
    ui::App app(sim, "t");
    common::AboutWindow agentCopy(app, common::kAgentAboutLayout);
    common::AboutWindow toolCopy(app, common::kConfigAboutLayout);
    ASSERT_EQ(agentCopy.form.controls().size(), toolCopy.form.controls().size());
    for (std::size_t i = 0; i < agentCopy.form.controls().size(); ++i) {
        const auto& a = agentCopy.form.controls()[i]->spec();
        const auto& b = toolCopy.form.controls()[i]->spec();
        EXPECT_STREQ(a.name, b.name);
        EXPECT_STREQ(a.text, b.text);
        EXPECT_EQ(std::tie(a.left, a.top, a.width, a.height),
                  std::tie(b.left, b.top, b.width, b.height));
    }
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
