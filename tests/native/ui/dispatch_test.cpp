#include "tests/native/ui/ui_fixture.h"
#include "ui/controls/button.h"
#include "ui/controls/note_box.h"
#include "ui/controls/timer.h"

namespace bv::testing {
namespace {

TEST_F(UiTest, FailureInAHandlerIsReportedByNameAndEndsTheProgram) {
    bool after = false;
    int clicks = 0;
    form.button("Command1").Click = [&] {
        ++clicks;
        form.noteBox("sp").setText("changed");
        throw Failure("Path/File access error");
        after = true;
    };
    sim.click(form, "Command1");
    ASSERT_EQ(sim.messageBoxes.size(), 1u);
    EXPECT_NE(sim.messageBoxes[0].prompt.find("Path/File access error"), std::string::npos);
    EXPECT_EQ(sim.messageBoxes[0].title, "test");
    EXPECT_EQ(sim.messageBoxes[0].buttons, ui::Buttons::Ok);
    EXPECT_TRUE(sim.ended());
    EXPECT_FALSE(after);
    EXPECT_EQ(form.noteBox("sp").text(), "changed");  // what was done stays done
    sim.click(form, "Command1");
    EXPECT_EQ(clicks, 1);
}

// The program never runs on, with every later event dropped, because the
// report itself failed.
TEST_F(UiTest, AReportThatCannotBeShownStillEndsTheProgram) {
    sim.answer = [](const ui::sim::MessageBoxCall&) -> ui::Answer {
        throw Failure("Out of memory");
    };
    form.button("Command1").Click = [] { throw Failure("Overflow"); };
    sim.click(form, "Command1");
    EXPECT_EQ(sim.messageBoxes.size(), 1u);
    EXPECT_TRUE(sim.ended());
    EXPECT_TRUE(app.ended());
}

TEST_F(UiTest, StepDropsFailuresButNotTheEndOfTheProgram) {
    std::vector<int> ran;
    form.button("Command1").Click = [&] {
        EXPECT_FALSE(ui::step([&] { throw Failure("x"); }));
        ran.push_back(1);
        EXPECT_TRUE(ui::step([&] { ran.push_back(2); }));
        ui::step([&] { app.end(); });
        ran.push_back(3);
    };
    sim.click(form, "Command1");
    EXPECT_EQ(ran, (std::vector<int>{1, 2}));
    EXPECT_TRUE(sim.ended());
    EXPECT_TRUE(sim.messageBoxes.empty());
}

TEST_F(UiTest, EndingInsideANestedEventStopsEverything) {
    form.timer("Timer1").setInterval(100);
    int ticks = 0;
    form.timer("Timer1").Tick = [&] {
        if (++ticks == 3)
            app.end();
    };
    bool after = false;
    sim.answer = [&](const ui::sim::MessageBoxCall&) {
        sim.advance(1000);
        return ui::Answer::Yes;
    };
    form.button("Command1").Click = [&] {
        app.msgBox("q", ui::Buttons::YesNo, ui::Icon::Question, "t");
        after = true;
    };
    sim.click(form, "Command1");
    EXPECT_EQ(ticks, 3);
    EXPECT_FALSE(after);
    EXPECT_TRUE(sim.ended());
}

struct Window {
    Window(ui::App& app, int& loads) : form(app, kTestForm) {
        form.Form_Load = [&loads] { ++loads; };
        form.button("Command1").Click = [this] { form.unload(); };
    }
    ui::Form form;
};

TEST_F(UiTest, SingleInstanceIsMadeOnceAndAnewAfterUnload) {
    int loads = 0;
    ui::SingleInstance<Window> second(app, [&] { return std::make_unique<Window>(app, loads); });
    EXPECT_EQ(second.loaded(), nullptr);
    Window* first = &second();
    EXPECT_EQ(&second(), first);
    EXPECT_EQ(loads, 1);
    sim.click(first->form, "Command1");  // unloads itself inside its own handler
    EXPECT_EQ(second.loaded(), nullptr);
    second();
    EXPECT_EQ(loads, 2);
}

TEST_F(UiTest, ActivatingAnotherWindowDeactivatesTheActiveOne) {
    ui::Form other(app, kTestForm);
    int deactivations = 0;
    form.Form_Deactivate = [&] { ++deactivations; };
    form.show();
    EXPECT_EQ(sim.active(), &form);
    sim.activate(other);
    EXPECT_EQ(deactivations, 1);
    sim.activate(other);
    EXPECT_EQ(deactivations, 1);
}

}  // namespace
}  // namespace bv::testing
