#pragma once
// Window layouts as data: one table row per control, front to back, places
// and sizes in twips (15 to a pixel at 96 dots per inch).
#include <cstdint>
#include <memory>
#include <span>

namespace bv::ui {

// Colours as the platform keeps them: red in the lowest byte.
using Color = std::uint32_t;
constexpr Color rgb(unsigned r, unsigned g, unsigned b) {
    return r | (g << 8) | (b << 16);
}
// A colour written as red, green, blue in hexadecimal, e.g. hex(0x808080).
constexpr Color hex(std::uint32_t rrggbb) {
    return rgb((rrggbb >> 16) & 0xff, (rrggbb >> 8) & 0xff, rrggbb & 0xff);
}
constexpr Color kNoColor = 0xffffffffu;

class Control;
class Form;
struct ControlSpec;

// The fields of a layout row that a kind may set; the layout check refuses
// any other field that differs from its default.
namespace uses {
enum : unsigned {
    Text = 1u << 0,
    FontFace = 1u << 1,
    Fore = 1u << 2,
    Back = 1u << 3,
    Transparent = 1u << 4,
    Edit = 1u << 5,  // read-only, multi-line, vertical scroll bar
    Centered = 1u << 6,
    Wrap = 1u << 7,
    BorderLine = 1u << 8,
    Stretch = 1u << 9,
    Picture = 1u << 10,
    Tooltip = 1u << 11,
    Mouse = 1u << 12,
    Range = 1u << 13,  // min, max, value, changes, ticks
    Timing = 1u << 14,
    Tab = 1u << 15,
};
}  // namespace uses

// A control kind as the portable core knows it. Each kind's header
// (ui/controls/<kind>.h) defines its one KindInfo in namespace Kind, so that
// rows name it Kind::Label, Kind::Slider, ...
struct KindInfo {
    unsigned fields = 0;         // uses::...
    bool holdsControls = false;  // a container other rows may name
    std::unique_ptr<Control> (*make)(Form&, const ControlSpec&) = nullptr;
};

// A row's kind: which KindInfo it is.
class KindRef {
  public:
    constexpr KindRef() = default;
    constexpr KindRef(const KindInfo& info) : info_(&info) {}  // implicit: rows write Kind::X
    constexpr const KindInfo* operator->() const { return info_; }
    constexpr explicit operator bool() const { return info_ != nullptr; }
    friend constexpr bool operator==(const KindRef&, const KindRef&) = default;

  private:
    const KindInfo* info_ = nullptr;
};

struct Font {
    const char* face = "MS Sans Serif";
    float points = 8.25f;
    bool bold = false;
};

enum class Pointer { Arrow, Hand };

// Where a picture comes from: a resource of the program, or a file.
// GifAsBitmap: a GIF's pixels kept as a bitmap, its see-through colour as
// magenta (255, 0, 255), which is drawn as the background.
enum class PictureType { None, Bitmap, Jpeg, Gif, GifAsBitmap };
struct PictureRef {
    PictureType type = PictureType::None;
    int resource = 0;
};

struct ControlSpec {
    KindRef kind;
    const char* name;
    const char* container = nullptr;  // nullptr: the window's client area
    int left = 0, top = 0, width = 0, height = 0;
    const char* text = "";  // caption or text
    Font font{};
    Color foreColor = kNoColor;
    Color backColor = kNoColor;
    bool transparent = false;  // labels: background not painted
    int tabIndex = -1;
    bool visible = true;
    bool readOnly = false;
    bool multiLine = false;
    bool vScroll = false;
    bool centered = false;
    bool wrap = false;
    bool border = false;   // images: single line; picture boxes: sunken
    bool stretch = false;  // images: picture stretched to the control
    PictureRef picture{};
    const char* tooltip = nullptr;
    Pointer pointer = Pointer::Arrow;
    int min = 0, max = 10, value = 0;  // sliders
    int smallChange = 1, largeChange = 5;
    bool ticks = true;
    int interval = 0;  // timers, milliseconds
    bool enabled = true;
};

struct MenuItemSpec {
    const char* name;
    const char* caption;  // "-" is a separator
};

enum class Border { FixedSingle, FixedDialog, Sizable };
enum class Placement { Manual, CenterScreen, WindowsDefault };

struct FormSpec {
    const char* name;
    const char* caption;
    Border border = Border::FixedDialog;
    bool titleBar = true;  // false: no caption bar at all
    bool minButton = false;
    bool maxButton = false;
    int clientWidth = 0, clientHeight = 0;  // twips
    Placement placement = Placement::CenterScreen;
    int left = 0, top = 0;  // twips, for Placement::Manual
    bool taskbar = false;
    int icon = 1;  // icon resource
    std::span<const ControlSpec> controls{};
    const char* menuName = nullptr;  // the popup menu, never shown as a bar
    const char* menuCaption = nullptr;
    std::span<const MenuItemSpec> menu{};
};

// The resolution that layouts and pictures are made for, in dots per inch,
// and the twips of one of its pixels.
constexpr int kBaseDpi = 96;
constexpr int kTwipsPerPixelAt96 = 15;

}  // namespace bv::ui
