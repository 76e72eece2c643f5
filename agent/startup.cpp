// Start-up of the agent bar. Every step runs whatever became of the steps
// before it: a step that fails is dropped without a word.
#include "agent/agent_bar.h"
#include "datastore/fileops.h"
#include "datastore/numbers.h"
#include "datastore/paths.h"

namespace bv::agent {

using ui::step;

namespace {

bool allWallpapersPresent() {
    bool all = true;
    for (int n = 1; n <= 10; ++n)
        all = fs::fileExists(paths::wallpaper(n)) && all;
    return all;
}

}  // namespace

void AgentBar::Form_Load() {
    step([&] { Image2.setTop(Image2.top() - 58); });
    step([&] { Image3.setTop(Image3.top() - 58); });

    if (!fs::fileExists(paths::okNote())) {
        step([&] {
            app.msgBox("Set your top-ten and restart your pc.", ui::Buttons::Ok,
                       ui::Icon::Information, "First Run");
        });
        step([&] { startConfigurationTool(); });
    } else if (!allWallpapersPresent()) {
        step([&] {
            app.msgBox("An error occured while bitmap loading progress", ui::Buttons::Ok,
                       ui::Icon::Question, "Missing Filess Error");
        });
    } else {
        step([&] { sp.loadFile(paths::speedNote()); });
        step([&] { Timer1.setInterval(num::leadingInteger(sp.text())); });
        step([&] { Timer1.setEnabled(true); });
    }

    step([&] { fs::makeDirectory(paths::agentDir()); });

    if (fs::fileExists(paths::topNote()) && fs::fileExists(paths::leftNote())) {
        step([&] { Form2().topt.loadFile(paths::topNote()); });
        step([&] { Form2().leftt.loadFile(paths::leftNote()); });
        step([&] { form.setTop(num::toSingle(Form2().topt.text())); });
        step([&] { form.setLeft(num::toSingle(Form2().leftt.text())); });
    }
}

}  // namespace bv::agent
