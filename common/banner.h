#pragma once
// The header shown at the top of the about windows, the configuration
// tool's main window and the setup window: a frame holding a picture box
// with a grey band and two titles.
#include <algorithm>
#include <array>
#include <cstddef>

#include "ui/controls/frame.h"
#include "ui/controls/label.h"
#include "ui/controls/picture_box.h"
#include "ui/layout.h"

namespace bv::common {

struct BannerPlace {
    int top;    // of the frame, in its window
    int width;  // of the picture box
    const char* title;
    int frameTab;
    int pictureTab;
};

constexpr std::size_t kBannerRows = 5;

// The banner's rows, front to back, for a layout table.
constexpr std::array<ui::ControlSpec, kBannerRows> banner(const BannerPlace& p) {
    namespace Kind = ui::Kind;
    constexpr ui::Font kTitleFont{"Trebuchet MS", 15.75f, true};
    constexpr ui::Font kMakerFont{"Trebuchet MS", 9.75f, true};
    return {{
        {.kind = Kind::Frame,
         .name = "Frame3",
         .left = 120,
         .top = p.top,
         .width = p.width + 240,
         .height = 1575,
         .tabIndex = p.frameTab},
        {.kind = Kind::PictureBox,
         .name = "Picture1",
         .container = "Frame3",
         .left = 120,
         .top = 240,
         .width = p.width,
         .height = 1215,
         .tabIndex = p.pictureTab,
         .border = true},
        {.kind = Kind::Label,
         .name = "Label2",
         .container = "Picture1",
         .left = 120,
         .top = 480,
         .width = 4695,
         .height = 975,
         .text = p.title,
         .font = kTitleFont,
         .foreColor = ui::hex(0x808080),
         .transparent = true},
        {.kind = Kind::Label,
         .name = "Label5",
         .container = "Picture1",
         .left = 120,
         .top = 240,
         .width = 1815,
         .height = 255,
         .text = "Brenlo Corporation's",
         .font = kMakerFont,
         .foreColor = ui::hex(0x808080),
         .transparent = true},
        {.kind = Kind::Label,
         .name = "Label4",
         .container = "Picture1",
         .left = 0,
         .top = 0,
         .width = p.width,
         .height = 615,
         .backColor = ui::hex(0xE0E0E0)},
    }};
}

// Joins layout tables into one, in order.
template <std::size_t... N>
constexpr std::array<ui::ControlSpec, (N + ...)> join(
    const std::array<ui::ControlSpec, N>&... tables) {
    std::array<ui::ControlSpec, (N + ...)> out{};
    std::size_t at = 0;
    ((std::copy(tables.begin(), tables.end(), out.begin() + at), at += N), ...);
    return out;
}

}  // namespace bv::common
