// What the back end paints: containers, labels, images and frames, the
// repainted places, tooltips of drawn controls, and pictures from
// resources and files.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "automation/input.h"
#include "automation/screenshot.h"
#include "datastore/failure.h"
#include "tests/wine/ui/ui_win32_fixture.h"
#include "ui/win32/fitted_picture.h"
#include "ui/win32/pictures.h"

namespace bv::ui::win32::tests {
namespace {

TEST_F(Win32Back, ContainersPaintLabelsAndImagesUnderTheirControls) {
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    Snapshot shot(window());
    // Flag at its own size, Wide stretched to twice it.
    EXPECT_EQ(shot.at(9, 9), kRed);
    EXPECT_EQ(shot.at(14, 12), kBlue);
    EXPECT_EQ(shot.at(17, 9), face);
    EXPECT_EQ(shot.at(42, 10), kRed);
    EXPECT_EQ(shot.at(53, 18), kBlue);
    EXPECT_EQ(shot.at(58, 10), face);
    EXPECT_EQ(shot.at(250, 190), face);

    // The band label is opaque in its picture box's own colour.
    Snapshot pane(child("Pane"));
    EXPECT_EQ(pane.at(5, 5), kBlue);
    EXPECT_EQ(pane.at(60, 30), kGreen);
    form->pictureBox("Pane").setBackColor(hex(0xFF0000));
    EXPECT_EQ(Snapshot(child("Pane")).at(60, 30), kRed);

    // The picture follows the model; clearing it leaves the background.
    form->image("Flag").setPicture({});
    EXPECT_EQ(Snapshot(window()).at(9, 9), face);

    // Changes repaint just the control's place.
    pump(50);
    RECT dirty{};
    EXPECT_FALSE(GetUpdateRect(window(), &dirty, FALSE));
    form->label("Caption").setCaption("Another text");
    ASSERT_TRUE(GetUpdateRect(window(), &dirty, FALSE));
    EXPECT_EQ(dirty.left, 8);
    EXPECT_EQ(dirty.top, 48);
    EXPECT_EQ(dirty.right, 141);
    EXPECT_EQ(dirty.bottom, 65);
    pump(50);
    form->image("Wide").setBitmap(kTestBitmap);
    ASSERT_TRUE(GetUpdateRect(window(), &dirty, FALSE));
    EXPECT_EQ(dirty.left, 40);
    EXPECT_EQ(dirty.right, 56);
    pump(50);

    bv::automation::saveScreenshot(window(), L"ui_win32_test_form");
}

// A frame is the platform's group box: its inside is drawn over what lies
// behind it and under its own controls, whose notifications and mouse it
// hands on, and its controls go where it goes.
TEST_F(Win32Back, FramesAreGroupBoxesThatHoldTheirControls) {
    constexpr COLORREF kYellow = RGB(255, 255, 0);
    const ControlSpec rows[] = {
        placed({.kind = Kind::Frame, .name = "Group", .backColor = hex(0xFFFF00)}, 1500, 300, 1500,
               1200),
        placed({.kind = Kind::Image, .name = "Hot", .container = "Group"}, 150, 300, 1800, 300),
        // Wider than the frame: clipped at its edge.
        placed({.kind = Kind::Label,
                .name = "Inside",
                .container = "Group",
                .backColor = hex(0x00FF00)},
               150, 300, 1800, 300),
        placed({.kind = Kind::Button, .name = "Push", .container = "Group", .text = "Push"}, 150,
               750, 600, 300),
        // Red left half, blue right half.
        placed({.kind = Kind::Image, .name = "Behind", .stretch = true, .picture = kTestPicture}, 0,
               0, 4500, 3000),
    };
    FormSpec spec = kTestLayout;
    spec.controls = rows;
    Form framed(app, spec);
    framed.show();
    pump(50);
    HWND window = formWindow(framed);
    HWND group = controlWindow(framed, "Group");
    HWND push = controlWindow(framed, "Push");
    ASSERT_EQ(GetParent(push), group);
    ASSERT_EQ(GetParent(group), window);
    auto placeOf = [window](HWND control) {
        RECT r{};
        GetWindowRect(control, &r);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
        return r;
    };
    EXPECT_EQ(placeOf(push).left, 110);
    EXPECT_EQ(placeOf(push).top, 70);

    // The frame spans pixels 100 to 199 across, 20 to 99 down, in a window
    // of its own that its label is drawn on.
    Snapshot shot(window), inside(group);
    EXPECT_EQ(inside.at(150 - 100, 45 - 20), kGreen);
    EXPECT_EQ(shot.at(205, 45), kBlue);
    EXPECT_EQ(inside.at(150 - 100, 95 - 20), kYellow);

    int hot = 0, behind = 0, pushed = 0;
    framed.image("Hot").Click = [&] { ++hot; };
    framed.image("Behind").Click = [&] { ++behind; };
    framed.button("Push").Click = [&] { ++pushed; };
    // To the window the system finds under that point, as a real click goes.
    auto click = [window](int x, int y) {
        POINT at{x, y};
        ClientToScreen(window, &at);
        HWND under = WindowFromPoint(at);
        ScreenToClient(under, &at);
        SendMessageW(under, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
        SendMessageW(under, WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
    };
    click(120, 45);
    click(150, 95);  // the frame hides what lies under it
    EXPECT_EQ(hot, 1);
    EXPECT_EQ(behind, 0);
    click(250, 150);
    EXPECT_EQ(behind, 1);
    SendMessageW(push, BM_CLICK, 0, 0);
    EXPECT_EQ(pushed, 1);

    framed.control("Group").setLeft(1800);
    EXPECT_EQ(placeOf(push).left, 130);
    Snapshot moved(window), movedInside(group);
    EXPECT_EQ(moved.at(110, 45), kRed);
    EXPECT_EQ(movedInside.at(135 - 120, 45 - 20), kGreen);
    click(135, 45);
    EXPECT_EQ(hot, 2);
}

TEST_F(Win32Back, MovedImagesRepaintAndMoveTheirTooltips) {
    Image& flag = form->image("Flag");
    flag.setTop(flag.top() - 58);  // as the agent moves its buttons
    Snapshot shot(window());
    EXPECT_EQ(shot.at(9, 4), kRed);
    EXPECT_EQ(shot.at(9, 11), GetSysColor(COLOR_BTNFACE));

    // Tooltips of windowless controls come with the mouse.
    bv::automation::moveMouseTo(window(), POINT{9, 6});
    pump(50);
    HWND tips = threadWindow(TOOLTIPS_CLASSW, window());
    ASSERT_NE(tips, nullptr);
    ASSERT_EQ(SendMessageW(tips, TTM_GETTOOLCOUNT, 0, 0), 1);
    wchar_t text[80] = {};
    TTTOOLINFOW info{};
    info.cbSize = TTTOOLINFOW_V2_SIZE;
    info.lpszText = text;
    ASSERT_TRUE(SendMessageW(tips, TTM_ENUMTOOLSW, 0, reinterpret_cast<LPARAM>(&info)));
    EXPECT_EQ(std::wstring(text), L"Flag tip");
    EXPECT_EQ(info.rect.left, 8);
    EXPECT_EQ(info.rect.top, 4);
    EXPECT_EQ(info.rect.bottom, 10);

    EXPECT_THROW(flag.setLeft(1e30f), Failure);
    EXPECT_FLOAT_EQ(flag.left(), 120.0f);
}

TEST_F(Win32Back, PicturesComeFromResourcesAndFiles) {
    auto& cache = platform.pictures();
    auto jpeg = cache.resource({PictureType::Jpeg, BV_JPEG_BAR});
    ASSERT_NE(jpeg, nullptr);
    EXPECT_EQ(jpeg->width(), 177);
    EXPECT_EQ(jpeg->height(), 25);
    auto gif = cache.resource({PictureType::Gif, BV_GIF_BADGE});
    EXPECT_EQ(gif->width(), 32);
    EXPECT_EQ(gif->height(), 32);
    // Decoded once, then shared.
    EXPECT_EQ(cache.resource({PictureType::Jpeg, BV_JPEG_BAR}), jpeg);
    EXPECT_EQ(cache.resource(kTestPicture), cache.resource(kTestPicture));
    EXPECT_THROW(cache.resource({PictureType::Bitmap, 999}), Failure);

    Image& wide = form->image("Wide");
    const std::string bmp = writeTemp("bv_ui_two.bmp", testBitmapBytes());
    wide.setPicture({});
    wide.loadPicture(bmp);
    EXPECT_EQ(Snapshot(window()).at(42, 10), kRed);

    // Refused files leave the picture as it was.
    auto expectRefused = [&](const std::string& path, const std::string& why) {
        EXPECT_EQ(failureOf([&] { wide.loadPicture(path); }), why);
        EXPECT_EQ(wide.picture().file, bmp);
        EXPECT_EQ(Snapshot(window()).at(42, 10), kRed);
    };
    const std::string junk = writeTemp("bv_ui_junk.bmp", "not a picture at all");
    expectRefused(junk, "Invalid picture");
    const std::string missing = tempFolder() + "bv_no_such_picture.bmp";
    expectRefused(missing, "File not found: " + missing);
    DeleteFileW(bv::text::widen(bmp).c_str());
    DeleteFileW(bv::text::widen(junk).c_str());
}

// The agent shows the bar from a bitmap made of the JPEG, the tool its badge
// from one made of the GIF: their pixels must be the platform decoder's.
std::vector<std::uint8_t> drawn(const bv::ui::win32::LoadedPicture& picture,
                                std::uint8_t background = 0) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = picture.width();
    info.bmiHeader.biHeight = -picture.height();
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    HBITMAP target = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, target);
    std::memset(bits, background, ((picture.width() * 3 + 3) & ~3) * picture.height());
    picture.draw(dc, RECT{0, 0, picture.width(), picture.height()});
    GdiFlush();
    const auto* first = static_cast<const std::uint8_t*>(bits);
    std::vector<std::uint8_t> out(first,
                                  first + ((picture.width() * 3 + 3) & ~3) * picture.height());
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(target);
    return out;
}

TEST_F(Win32Back, TheBarBitmapHoldsTheJpegAsDecoded) {
    auto& cache = platform.pictures();
    auto bitmap = cache.resource({PictureType::Bitmap, BV_BMP_BAR});
    auto jpeg = cache.resource({PictureType::Jpeg, BV_JPEG_BAR});
    ASSERT_EQ(bitmap->width(), jpeg->width());
    ASSERT_EQ(bitmap->height(), jpeg->height());
    EXPECT_TRUE(drawn(*bitmap) == drawn(*jpeg));
}

TEST_F(Win32Back, TheBadgeBitmapIsTheGifWithItsSeeThroughPixels) {
    auto& cache = platform.pictures();
    auto bitmap = cache.resource({PictureType::GifAsBitmap, BV_BMP_BADGE});
    auto gif = cache.resource({PictureType::Gif, BV_GIF_BADGE});
    ASSERT_EQ(bitmap->width(), gif->width());
    for (std::uint8_t background : {0x00, 0x80, 0xff})
        EXPECT_TRUE(drawn(*bitmap, background) == drawn(*gif, background)) << int{background};
    EXPECT_FALSE(drawn(*bitmap, 0x00) == drawn(*bitmap, 0xff));  // some pixels see through
}

// Bitmap files of every plain depth, bottom-up and top-down, as GDI alone
// makes them into pictures: red, green / blue, white on two rows (1 bit:
// red / blue).
std::string bitmapFile(int bits, bool topDown) {
    const std::uint32_t colours[4] = {0xff0000, 0x00ff00, 0x0000ff, 0xffffff};
    bv::testing::BitmapFile bmp(static_cast<unsigned>(bits), 2, topDown ? -2 : 2);
    for (int i = 0; bits <= 8 && i < std::min(1 << bits, 4); ++i)
        bmp.colour(static_cast<unsigned>(i), colours[bits == 1 ? 2 * i : i]);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 2; ++x) {
            const auto index = static_cast<std::uint32_t>(bits == 1 ? y : 2 * y + x);
            bmp.pixel(x, y, bits <= 8 ? index : colours[2 * y + x]);
        }
    return bmp.bytes();
}

// Also as made at a size of their own for a stretched image, by a pass that
// reads the file's rows itself.
TEST_F(Win32Back, BitmapFilesOfEveryPlainDepthShowTheirColours) {
    for (int bits : {1, 4, 8, 16, 24, 32})
        for (bool topDown : {false, true})
            for (bool fitted : {false, true}) {
                const std::string bmp = bitmapFile(bits, topDown);
                const auto pixels =
                    fitted
                        ? drawn(*win32::loadPictureFileAt(writeTemp("depth.bmp", bmp), SIZE{2, 2}))
                        : drawn(*win32::decodePicture(bmp.data(), bmp.size()));
                // Drawn top-down at 24 bits, rows of 8 bytes, blue first.
                auto shows = [&](int x, int y, std::uint32_t rgb) {
                    for (int c = 0; c < 3; ++c) {
                        const int want = static_cast<int>((rgb >> (8 * c)) & 0xff);
                        if (std::abs(pixels[static_cast<std::size_t>(y * 8 + x * 3 + c)] - want) >
                            8)
                            return false;
                    }
                    return true;
                };
                const bool twoColours = bits == 1;
                EXPECT_TRUE(shows(0, 0, 0xff0000) &&
                            shows(1, 0, twoColours ? 0xff0000 : 0x00ff00) &&
                            shows(0, 1, 0x0000ff) && shows(1, 1, twoColours ? 0x0000ff : 0xffffff))
                    << bits << " bits, " << (topDown ? "top-down" : "bottom-up")
                    << (fitted ? ", fitted" : "");
            }
}

}  // namespace
}  // namespace bv::ui::win32::tests
