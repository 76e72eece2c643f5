// The preview shows whatever the platform's picture loading takes, whatever
// the name says: GIF and JPEG data saved as a slot's .bmp file show as
// pictures, and only data that no loader takes shows the cannot-show picture.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "automation/pixels.h"
#include "datastore/fileops.h"
#include "datastore/paths.h"
#include "tests/wine/config/tool_driver.h"
#include "tests/wine/config/tool_in_process.h"
#include "tests/wine/support/test_files.h"

namespace {

// Within `slack` in each of red, green and blue.
bool within(std::uint32_t seen, std::uint32_t want, int slack = 3) {
    for (int shift : {0, 8, 16})
        if (std::abs(static_cast<int>((seen >> shift) & 0xff) -
                     static_cast<int>((want >> shift) & 0xff)) > slack)
            return false;
    return true;
}

TEST(PreviewPictures, GifAndJpegDataShowAndOnlyWhatNoLoaderTakesCannotShow) {
    namespace fs = bv::fs;
    namespace paths = bv::paths;
    std::error_code ec;
    std::filesystem::remove_all(bv::testing::hostPath(paths::dataDir()), ec);
    std::filesystem::create_directories(bv::testing::hostPath(paths::wallpapersDir()));
    const std::string pictures = BV_PICTURES_DIR;
    fs::writeFileAtomically(paths::wallpaper(1), fs::readFile(pictures + "/quarters.gif"));
    fs::writeFileAtomically(paths::wallpaper(2), fs::readFile(pictures + "/quarters.jpg"));
    fs::writeFileAtomically(paths::wallpaper(3), "GIF89a, and nothing a decoder takes");
    fs::writeFileAtomically(paths::wallpaper(4), bv::testing::quarters(16, 16));

    bv::testing::ToolInProcess inProcess;
    bv::config::ConfigWindow& tool = inProcess.tool;
    bv::testing::ToolDriver driver;
    driver.window = inProcess.peer().hwnd();
    SetForegroundWindow(driver.window);
    auto shown = [&](int slot) {
        tool.Text_MouseMove(slot, {});
        inProcess.pump(150);
        return driver.preview();
    };

    const bv::automation::Pixels bitmap = shown(4);
    for (int slot : {1, 2}) {
        const bv::automation::Pixels p = shown(slot);
        const LONG r = p.width - 4, b = p.height - 4;
        EXPECT_TRUE(within(p.at(3, 3), 0xFF0000)) << slot;
        EXPECT_TRUE(within(p.at(r, 3), 0x00FF00)) << slot;
        EXPECT_TRUE(within(p.at(3, b), 0x0000FF)) << slot;
        EXPECT_TRUE(within(p.at(r, b), 0xFFFF00)) << slot;
        EXPECT_TRUE(within(p.at(r / 2, b / 2), bitmap.at(r / 2, b / 2), 40)) << slot;
    }
    const bv::automation::Pixels cannotShow = shown(3);
    EXPECT_NE(cannotShow.rgb, bitmap.rgb);
    EXPECT_FALSE(within(cannotShow.at(3, 3), 0xFF0000));
    std::filesystem::remove_all(bv::testing::hostPath(paths::dataDir()), ec);
}

}  // namespace
