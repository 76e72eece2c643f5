// The wallpaper timer and the blinking menu button.
#include <string>

#include "agent/agent_bar.h"
#include "datastore/paths.h"
#include "resources/resource_ids.h"

namespace bv::agent {

void AgentBar::Timer1_Timer() {
    wallpaperStep = wallpaperStep + 1;
    if (wallpaperStep >= 1 && wallpaperStep <= 10)
        app.platform().setWallpaper(paths::wallpaper(wallpaperStep));
    else if (wallpaperStep == 11)
        wallpaperStep = 0;  // bitmap 10 stays for a second interval
    Text1.setText(std::to_string(wallpaperStep));
}

void AgentBar::Timer2_Timer() {
    blinkStep = blinkStep + 1;
    if (blinkStep == 1)
        Image3.setBitmap(BV_BMP_LIT);
    else if (blinkStep == 2)
        Image3.setBitmap(BV_BMP_DIM);
    else if (blinkStep == 8)
        blinkStep = 0;
}

}  // namespace bv::agent
