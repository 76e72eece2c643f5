#pragma once
// An agent started on the simulated desktop over a temporary drive C:.
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>

#include "agent/agent_bar.h"
#include "datastore/note.h"
#include "datastore/paths.h"
#include "tests/native/support/message_boxes.h"
#include "tests/native/support/temp_drive.h"
#include "ui/sim/sim_platform.h"

namespace bv::testing {

class AgentTest : public ::testing::Test {
  protected:
    TempDrive drive;
    ui::sim::SimPlatform sim;
    ui::App app{sim, "brenlo_kel_vo"};
    std::unique_ptr<agent::AgentBar> bar;

    void start() {
        bar = std::make_unique<agent::AgentBar>(app);
        sim.raise(app, [&] {
            bar->form.load();
            bar->form.show();
        });
    }

    // What the configuration tool leaves behind.
    void makeDataStore() const {
        drive.makeFolders(paths::wallpapersDir());
        drive.makeFolders(paths::scriptDir());
    }
    void putMarker() const { drive.put(paths::okNote(), note::toRtf("Top ten saved.")); }
    void putWallpapers() const {
        for (int n = 1; n <= 10; ++n)
            drive.put(paths::wallpaper(n), "BM fake bitmap " + std::to_string(n));
    }
    void putNote(const std::string& path, const std::string& text) const {
        drive.put(path, note::toRtf(text));
    }
    void putConfigTool() const { drive.put(paths::configToolExe(), "MZ"); }
    // An agent of its own, started on a normal run's data store with this
    // speed note (none when nullopt), for tests that go through many cases.
    struct Run {
        ui::sim::SimPlatform sim;
        ui::App app{sim, "brenlo_kel_vo"};
        agent::AgentBar bar{app};
    };
    std::unique_ptr<Run> startAgain(const std::optional<std::string>& speed) const {
        drive.clear();
        makeDataStore();
        putWallpapers();
        putMarker();
        if (speed)
            putNote(paths::speedNote(), *speed);
        auto run = std::make_unique<Run>();
        run->sim.raise(run->app, [&] { run->bar.form.load(); });
        return run;
    }

    // A normal run's data store with the given speed note text.
    void installNormal(const std::string& speed) const {
        makeDataStore();
        putWallpapers();
        putMarker();
        putNote(paths::speedNote(), speed);
    }
    // The same at speed 3000, with the bar's place saved in the agent folder.
    void installPlaced(const std::string& top, const std::string& left) const {
        installNormal("3000");
        drive.makeFolders(paths::agentDir());
        putNote(paths::topNote(), top);
        putNote(paths::leftNote(), left);
    }
};

}  // namespace bv::testing
