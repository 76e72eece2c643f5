// The speed slider, the sample-speed indicator, "&Exit" and "&About".
#include "config/config_window.h"
#include "datastore/numbers.h"

namespace bv::config {

void ConfigWindow::Slider1_Scroll() {
    Label1.setCaption("Speed : " + num::decimal(Slider1.value()));
    Timer1.setInterval(Slider1.value());
}

// Red, green, blue, blue: one cycle every four intervals.
void ConfigWindow::Timer1_Timer() {
    ++sampleTick;
    switch (sampleTick) {
        case 1:
            Picture2.setBackColor(ui::rgb(255, 0, 0));
            break;
        case 2:
            Picture2.setBackColor(ui::rgb(0, 255, 0));
            break;
        case 3:
            Picture2.setBackColor(ui::rgb(0, 0, 255));
            break;
        default:
            sampleTick = 0;
            break;
    }
}

void ConfigWindow::Command2_Click() {
    if (app.msgBox("Do you want unload brenlo vistrel?", ui::Buttons::YesNo, ui::Icon::Question,
                   "Brenlo Vistrel") == ui::Answer::Yes)
        app.end();
}

void ConfigWindow::Command3_Click() {
    Form2().form.show();
}

}  // namespace bv::config
