#pragma once
// Form1 of setup: asks before it is shown, then installs from the package
// folder in five steps on five ticks of Timer1.
#include <string>
#include <vector>

#include "ui/app.h"
#include "ui/controls/label.h"
#include "ui/controls/timer.h"
#include "ui/form.h"

namespace bv::installer {

extern const ui::FormSpec kSetupLayout;

class SetupWindow {
  public:
    explicit SetupWindow(ui::App& app);

    ui::App& app;
    ui::Form form;
    ui::Label& Label1;  // the status
    ui::Timer& Timer1;  // drives the steps

    int stepCount = 0;  // raised at the start of every tick
    // Each program or readme copy that failed, and why: the closing message
    // names them rather than claim success.
    std::vector<std::string> notPlaced;

    void Form_Load();
    void Timer1_Timer();

  private:
    void place(const std::string& from, const std::string& to);
    void closingMessage();
};

}  // namespace bv::installer
