// The preview shows whatever the platform's picture loading takes, whatever
// the name says: GIF and JPEG data saved as a slot's .bmp file show as
// pictures, see-through parts and all, and only data that no loader takes
// shows the cannot-show picture. Each slot's picture is kept once shown; a
// file that changes shows anew.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "automation/pixels.h"
#include "datastore/fileops.h"
#include "datastore/paths.h"
#include "tests/wine/config/tool_driver.h"
#include "tests/wine/config/tool_in_process.h"
#include "tests/wine/support/test_files.h"
#include "ui/win32/pictures.h"

namespace {

namespace fs = bv::fs;
namespace paths = bv::paths;
using bv::automation::Pixels;

// The tool in this process over an empty data store, and what its preview shows.
class Preview : public ::testing::Test {
  protected:
    Preview() {
        std::filesystem::remove_all(bv::testing::hostPath(paths::dataDir()), ec);
        std::filesystem::create_directories(bv::testing::hostPath(paths::wallpapersDir()));
    }
    ~Preview() override {
        std::filesystem::remove_all(bv::testing::hostPath(paths::dataDir()), ec);
    }
    void start() {
        inProcess.emplace();
        driver.window = inProcess->peer().hwnd();
        SetForegroundWindow(driver.window);
    }
    Pixels shown(int slot) {
        inProcess->tool.Text_MouseMove(slot, {});
        inProcess->pump(150);
        return driver.preview();
    }

    std::error_code ec;
    std::optional<bv::testing::ToolInProcess> inProcess;
    bv::testing::ToolDriver driver;
};

// Within `slack` in each of red, green and blue.
bool within(std::uint32_t seen, std::uint32_t want, int slack = 3) {
    for (int shift : {0, 8, 16})
        if (std::abs(static_cast<int>((seen >> shift) & 0xff) -
                     static_cast<int>((want >> shift) & 0xff)) > slack)
            return false;
    return true;
}

TEST_F(Preview, GifAndJpegDataShowAndOnlyWhatNoLoaderTakesCannotShow) {
    const std::string pictures = BV_PICTURES_DIR;
    fs::writeFileAtomically(paths::wallpaper(1), fs::readFile(pictures + "/quarters.gif"));
    fs::writeFileAtomically(paths::wallpaper(2), fs::readFile(pictures + "/quarters.jpg"));
    fs::writeFileAtomically(paths::wallpaper(3), "GIF89a, and nothing a decoder takes");
    fs::writeFileAtomically(paths::wallpaper(4), bv::testing::quarters(16, 16));
    fs::writeFileAtomically(paths::wallpaper(5), fs::readFile(pictures + "/half_see_through.gif"));

    start();
    const Pixels bitmap = shown(4);
    for (int slot : {1, 2}) {
        const Pixels p = shown(slot);
        const LONG r = p.width - 4, b = p.height - 4;
        EXPECT_TRUE(within(p.at(3, 3), 0xFF0000)) << slot;
        EXPECT_TRUE(within(p.at(r, 3), 0x00FF00)) << slot;
        EXPECT_TRUE(within(p.at(3, b), 0x0000FF)) << slot;
        EXPECT_TRUE(within(p.at(r, b), 0xFFFF00)) << slot;
        EXPECT_TRUE(within(p.at(r / 2, b / 2), bitmap.at(r / 2, b / 2), 40)) << slot;
        // Kept once shown: the same picture when the pointer comes back.
        shown(4);
        EXPECT_EQ(shown(slot).rgb, p.rgb) << slot;
    }
    const Pixels cannotShow = shown(3);
    EXPECT_NE(cannotShow.rgb, bitmap.rgb);
    EXPECT_FALSE(within(cannotShow.at(3, 3), 0xFF0000));

    // A GIF's see-through half shows the frame under it, shown or kept.
    const Pixels half = shown(5);
    const std::uint32_t face = bv::automation::toRgb(GetSysColor(COLOR_BTNFACE));
    EXPECT_TRUE(within(half.at(20, 60), 0xFF0000));
    EXPECT_TRUE(within(half.at(190, 60), face));
    shown(4);
    EXPECT_EQ(shown(5).rgb, half.rgb);
}

// A file changed, deleted or spoilt between two hovers of its slot shows as
// it is now, though the slot's picture was kept.
TEST_F(Preview, ASlotShowsItsFileAsItIsNowThoughItsPictureWasKept) {
    fs::writeFileAtomically(paths::wallpaper(1), bv::testing::bitmap(200, 30, 30));
    fs::writeFileAtomically(paths::wallpaper(2), bv::testing::bitmap(30, 200, 30));
    fs::writeFileAtomically(paths::wallpaper(3), "no loader takes this");
    start();
    const Pixels placeholder = driver.preview();
    const Pixels cannotShow = shown(3);
    const Pixels red = shown(1);
    ASSERT_TRUE(within(red.at(107, 63), 0xC81E1E));
    shown(2);

    // The same size and a new picture, as a pick of another bitmap makes it.
    fs::writeFileAtomically(paths::wallpaper(1), bv::testing::bitmap(30, 30, 200));
    EXPECT_TRUE(within(shown(1).at(107, 63), 0x1E1EC8));
    shown(2);
    std::filesystem::remove(bv::testing::hostPath(paths::wallpaper(1)));
    EXPECT_EQ(shown(1).rgb, placeholder.rgb);
    fs::writeFileAtomically(paths::wallpaper(1), bv::testing::bitmap(200, 30, 30));
    EXPECT_EQ(shown(1).rgb, red.rgb);
    shown(2);
    fs::writeFileAtomically(paths::wallpaper(1), "nor this");
    EXPECT_EQ(shown(1).rgb, cannotShow.rgb);
}

// A large bitmap is made small once for the preview; it looks as the
// platform's halftone stretch of the whole picture did.
TEST_F(Preview, ALargeBitmapLooksAsTheStretchedWholeOne) {
    constexpr int kW = 3840, kH = 2160;
    bv::testing::BitmapFile bmp(24, kW, kH);
    for (int y = 0; y < kH; ++y)  // from the bottom
        for (int x = 0; x < kW; ++x) {
            const bool block = x > kW / 3 && x < kW * 2 / 3 && y > kH / 4 && y < kH / 2;
            bmp.pixel(x, kH - 1 - y,
                      (x * 255 / kW) << 16 | (y * 255 / kH) << 8 | (block ? 255 : 0));
        }
    fs::writeFileAtomically(paths::wallpaper(1), bmp.bytes());
    start();
    const Pixels now = shown(1);
    const auto whole = bv::ui::win32::loadPictureFile(paths::wallpaper(1));
    const Pixels before = bv::automation::render(now.width, now.height, [&](HDC dc) {
        whole->draw(dc, RECT{0, 0, now.width, now.height});
    });
    ASSERT_EQ(now.rgb.size(), before.rgb.size());
    std::size_t alike = 0;
    long total = 0;
    for (std::size_t i = 0; i < now.rgb.size(); ++i) {
        for (int shift : {0, 8, 16})
            total += std::abs(static_cast<int>((now.rgb[i] >> shift) & 0xff) -
                              static_cast<int>((before.rgb[i] >> shift) & 0xff));
        alike += within(now.rgb[i], before.rgb[i], 12);
    }
    // Only the block's edges may fall a pixel apart.
    EXPECT_GE(alike * 100, now.rgb.size() * 97);
    EXPECT_LE(total, static_cast<long>(now.rgb.size() * 3 * 3));
}

}  // namespace
