#include <stdexcept>

#include "tests/native/ui/ui_fixture.h"
#include "ui/controls/button.h"
#include "ui/controls/frame.h"
#include "ui/controls/image.h"
#include "ui/controls/label.h"
#include "ui/controls/slider.h"
#include "ui/controls/text_box.h"
#include "ui/layout_check.h"
#include "ui/sim/sim_form.h"

namespace bv::testing {
namespace {

using ui::ControlSpec;
namespace Kind = ui::Kind;

// Ten slots as a tool would lay them out in a loop: names and texts made
// at run time, gone before the window is used.
std::unique_ptr<ui::Form> slotsWindow(ui::App& app) {
    std::vector<std::string> names;
    for (int n = 1; n <= 10; ++n)
        names.push_back("Text" + std::to_string(n));
    std::string frame = "Frame4";
    std::vector<ControlSpec> rows{{.kind = Kind::Frame, .name = frame.c_str(), .text = "Top 10"}};
    for (int n = 0; n < 10; ++n)
        rows.push_back({.kind = Kind::TextBox,
                        .name = names[n].c_str(),
                        .container = n < 3 ? frame.c_str() : nullptr,
                        .top = 2160 + 480 * n,
                        .text = names[n].c_str(),
                        .readOnly = true});
    const ui::FormSpec spec{.name = "Form1", .caption = "slots", .controls = rows};
    auto form = std::make_unique<ui::Form>(app, spec);
    for (auto& name : names)
        name.assign(name.size(), '#');
    frame.assign(6, '#');
    return form;
}

TEST_F(UiTest, LayoutBuiltAtRunTimeIsTheWindowsOwn) {
    auto slots = slotsWindow(app);
    ui::TextBox& seventh = slots->textBox("Text7");
    EXPECT_EQ(seventh.text(), "Text7");
    EXPECT_EQ(seventh.top(), 2160.0f + 480 * 6);
    EXPECT_STREQ(slots->textBox("Text2").spec().container, "Frame4");
    EXPECT_EQ(slots->textBox("Text9").spec().container, nullptr);
}

TEST_F(UiTest, LayoutMistakesAreRefusedBeforeAnyWindowIsMade) {
    auto refused = [&](std::vector<ControlSpec> rows) {
        const ui::FormSpec spec{.name = "Bad", .caption = "", .controls = rows};
        EXPECT_THROW(ui::Form(app, spec), std::logic_error) << ui::checkLayout(rows).problem;
    };
    refused({{.kind = Kind::Label, .name = "L", .container = "Nowhere"}});
    refused({{.kind = Kind::Label, .name = "L"},
             {.kind = Kind::Button, .name = "B", .container = "L"}});
    refused({{.kind = Kind::Button, .name = "B"}, {.kind = Kind::Label, .name = "B"}});
    refused({{.kind = Kind::Button, .name = "B", .interval = 60}});
    refused({{.kind = Kind::Label, .name = "L", .picture = {ui::PictureType::Bitmap, 101}}});
    refused({{.kind = Kind::Slider, .name = "S", .min = 5, .max = 1, .value = 5}});
    refused({{.kind = Kind::Frame, .name = "A", .container = "B"},
             {.kind = Kind::Frame, .name = "B", .container = "A"}});

    // The same checks at compile time.
    static constexpr ControlSpec kLoose[] = {{.kind = Kind::Image, .name = "I", .wrap = true}};
    static_assert(ui::checkLayout(kLoose));
    static_assert(!ui::checkLayout(kTestControls));
}

// A kind the layer does not know, defined here as a program would add one:
// its model, its KindInfo and its simulated peer, nothing else.
struct GaugePeer : ui::Control::Peer {
    virtual void levelChanged() = 0;
};
class Gauge : public ui::ControlWith<GaugePeer> {
  public:
    using Peer = GaugePeer;
    using ControlWith::ControlWith;
    void setLevel(int level) { assign(level_, level, peer(), &Peer::levelChanged); }

  private:
    void makePeer(ui::PeerHost& host) override;
    int level_ = 0;
};
constexpr ui::KindInfo kGauge{ui::uses::Range, false, &ui::makeControl<Gauge>};

int levelsShown = 0;
class SimGauge : public ui::sim::Quiet<GaugePeer> {
    void levelChanged() override { ++levelsShown; }
};
void Gauge::makePeer(ui::PeerHost& host) {
    host.add<SimGauge>(*this);
}

TEST_F(UiTest, AKindDefinedOutsideTheLayerIsCheckedMadeAndShown) {
    static constexpr ControlSpec kRows[] = {{.kind = kGauge, .name = "G", .max = 3}};
    static_assert(!ui::checkLayout(kRows));
    const ControlSpec loose[] = {{.kind = kGauge, .name = "G", .text = "no text here"}};
    EXPECT_TRUE(ui::checkLayout(loose));

    ui::Form window(app, {.name = "W", .caption = "gauge", .controls = kRows});
    window.get<Gauge>("G").setLevel(2);
    EXPECT_EQ(levelsShown, 1);
    EXPECT_THROW(window.get<ui::Slider>("G"), std::logic_error);
}

// The deactivation that a show causes follows the event that showed; the
// Win32 back end's test expects the same sequence.
TEST_F(UiTest, DeactivationFollowsTheEventThatShowedAnotherWindow) {
    ui::Form other(app, kTestForm);
    std::vector<std::string> seen;
    form.Form_Deactivate = [&] { seen.push_back("first deactivated"); };
    other.Form_Deactivate = [&] { seen.push_back("other deactivated"); };
    sim.raise(app, [&] { form.show(); });
    sim.raise(
        app,
        [&] {
            seen.push_back("showing other");
            other.show();
            seen.push_back("other shown");
        });
    sim.raise(app, [&] { form.show(); });
    EXPECT_EQ(seen, (std::vector<std::string>{"showing other", "other shown", "first deactivated",
                                              "other deactivated"}));
}

TEST_F(UiTest, EndingThroughTheWindowsRunsTheirTerminateHandlersNewestFirst) {
    std::vector<std::string> seen;
    auto second = std::make_unique<ui::Form>(app, kTestForm);
    form.Form_Terminate = [&] { seen.push_back("first"); };
    second->Form_Terminate = [&] { seen.push_back("second"); };
    sim.raise(app, [&] {
        app.unloadAndEnd();
        seen.push_back("after");
    });
    EXPECT_EQ(seen, (std::vector<std::string>{"second", "first"}));
    EXPECT_TRUE(form.unloaded() && second->unloaded());
    EXPECT_TRUE(sim.ended());
}

TEST_F(UiTest, EndingAtOnceRunsNoTerminateHandlerAndAFailingOneIsReported) {
    int terminated = 0;
    form.Form_Terminate = [&] { ++terminated; };
    sim.raise(app, [&] { app.end(); });
    EXPECT_EQ(terminated, 0);

    ui::sim::SimPlatform other;
    ui::App program(other, "uninstall");
    ui::Form window(program, kTestForm);
    window.Form_Terminate = [] { throw Failure("Permission denied"); };
    other.raise(program, [&] { program.unloadAndEnd(); });
    ASSERT_EQ(other.messageBoxes.size(), 1u);
    EXPECT_EQ(other.messageBoxes[0].prompt, "Run-time error:\r\n\r\nPermission denied");
    EXPECT_TRUE(other.ended());
}

}  // namespace
}  // namespace bv::testing
