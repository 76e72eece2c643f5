#pragma once
// The about window. The agent has it as Form3; the configuration tool's copy
// differs only in caption, size and focus order.
#include "ui/app.h"
#include "ui/form.h"

namespace bv::common {

extern const ui::FormSpec kAgentAboutLayout;   // the agent's Form3
extern const ui::FormSpec kConfigAboutLayout;  // the configuration tool's Form2

class AboutWindow {
  public:
    AboutWindow(ui::App& app, const ui::FormSpec& layout);

    ui::Form form;

    void Command1_Click();
    void Form_Deactivate();
};

}  // namespace bv::common
