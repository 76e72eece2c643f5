// Sliders: a trackbar window of our own rather than the common controls'
// one, because loading comctl32 for it cost the configuration tool tens of
// milliseconds and about 3 MB before its window showed. It keeps the
// platform trackbar's geometry and look (the visual style's trackbar parts,
// or 3-D edges without a style), its keys and mouse, answers the trackbar
// messages that automation reads, and tells its parent with WM_HSCROLL as
// the trackbar does. A value set by a handler only moves the thumb.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cmath>

#include "datastore/failure.h"
#include "ui/backend.h"
#include "ui/controls/slider.h"
#include "ui/win32/children.h"
#include "ui/win32/controls/surfaces.h"
#include "ui/win32/late_library.h"
#include "ui/win32/paint.h"
#include "ui/win32/win32_form.h"
#include "ui/win32/win32_platform.h"

namespace bv::ui::win32 {

const wchar_t kSliderClass[] = L"BvSlider";

namespace {

constexpr UINT_PTR kPagingTimer = 1;
constexpr UINT kFirstPageDelay = 400, kPageRepeat = 100;  // ms, as a held key repeats

// The visual style's trackbar parts and the tick colour (vssym32.h).
constexpr int kTrack = 1, kTrackNormal = 1, kThumbBottom = 4, kTics = 9, kTicsNormal = 1;
constexpr int kColorProperty = 204;
enum ThumbState { kNormal = 1, kHot = 2, kPressed = 3, kFocused = 4, kDisabled = 5 };

// uxtheme, looked up at the first slider: absent before XP.
struct VisualStyle {
    using Open = HANDLE(WINAPI*)(HWND, LPCWSTR);
    using Close = HRESULT(WINAPI*)(HANDLE);
    using Draw = HRESULT(WINAPI*)(HANDLE, HDC, int, int, const RECT*, const RECT*);
    using Colour = HRESULT(WINAPI*)(HANDLE, int, int, int, COLORREF*);
    Open open = nullptr;
    Close close = nullptr;
    Draw draw = nullptr;
    Colour colour = nullptr;

    static const VisualStyle& get() {
        static const VisualStyle style = [] {
            VisualStyle s;
            try {
                s.open = lateFunction<Open>("uxtheme.dll", "OpenThemeData");
                s.close = lateFunction<Close>("uxtheme.dll", "CloseThemeData");
                s.draw = lateFunction<Draw>("uxtheme.dll", "DrawThemeBackground");
                s.colour = lateFunction<Colour>("uxtheme.dll", "GetThemeColor");
            } catch (const Failure&) {
                s = VisualStyle{};
            }
            return s;
        }();
        return style;
    }
};

// Where the platform's horizontal trackbar puts its channel and thumb in a
// client area of this height: a 21-pixel thumb, smaller in thinner bars.
struct Geometry {
    RECT channel{};
    int thumbWidth = 0, thumbLength = 0;

    explicit Geometry(const RECT& client) {
        const int height = client.bottom - client.top;
        thumbLength = height >= 21 ? 21 : std::max(4, height - 5);
        thumbWidth = thumbLength / 4 * 2 + 1;
        const int inset = thumbLength / 4 + 3;
        const int top = thumbLength / 2 - 1;
        channel = RECT{client.left + inset, top, client.right - inset, top + 4};
    }
    int travel() const {
        return std::max(0, static_cast<int>(channel.right - channel.left) - thumbWidth);
    }
    RECT thumb(int value, int min, int max) const {
        const double share = max > min ? double(value - min) / (double(max) - min) : 0.0;
        const int left = channel.left + static_cast<int>(share * travel());
        return RECT{left, 2, left + thumbWidth, 2 + thumbLength};
    }
    // The value whose thumb starts at this x.
    int valueAt(int thumbLeft, int min, int max) const {
        if (travel() == 0)
            return min;
        const double share = double(thumbLeft - channel.left) / travel();
        const double value = std::round(min + share * (double(max) - min));
        return static_cast<int>(std::clamp(value, double(min), double(max)));
    }
};

class Win32Slider final : public ChildWith<SliderPeer> {
  public:
    Win32Slider(Win32Form& form, Slider& slider, int index)
        : ChildWith(form, slider, index), slider_(slider), position_(slider.value()) {}

    bool focusable() const override { return true; }

    void create() override {
        static const bool registered =
            Win32Form::registerChildClass(form().platform().instance(), kSliderClass);
        if (!registered)
            throw Failure("Out of memory");
        makeWindow(kSliderClass, WS_TABSTOP, 0, L"", this);
        openStyle();
    }

    void valueChanged() override { setPosition(slider_.value()); }

    bool reflect(UINT msg, WPARAM, LPARAM, LRESULT& result) override {
        if (msg != WM_HSCROLL)
            return false;
        const int position = position_;
        Slider& slider = slider_;
        form().deliver([&slider, position] { BackEnd::userMoved(slider, position); });
        result = 0;
        return true;
    }

    bool onWindowMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override {
        result = 0;
        switch (msg) {
            case WM_PAINT: {
                PAINTSTRUCT ps{};
                if (HDC dc = BeginPaint(hwnd(), &ps)) {
                    RECT client{};
                    GetClientRect(hwnd(), &client);
                    paintOffScreen(dc, client, [this](HDC target) { paintOn(target); });
                    EndPaint(hwnd(), &ps);
                }
                return true;
            }
            case WM_PRINTCLIENT:
                paintOn(reinterpret_cast<HDC>(wp));
                return true;
            case WM_ERASEBKGND:
                result = 1;
                return true;
            case WM_GETDLGCODE:
                result = DLGC_WANTARROWS;
                return true;
            case WM_SETFOCUS:
            case WM_KILLFOCUS:
            case WM_ENABLE:
                redraw();
                return false;
            case WM_UPDATEUISTATE:
                result = DefWindowProcW(hwnd(), msg, wp, lp);
                redraw();
                return true;
            case WM_DESTROY:
                closeStyle();
                return false;
            case WM_THEMECHANGED:
                closeStyle();
                openStyle();
                redraw();
                return true;
            case WM_KEYDOWN:
                return keyDown(wp);
            case WM_KEYUP:
                if (isMovingKey(wp))
                    notify(TB_ENDTRACK);
                return true;
            case WM_LBUTTONDOWN:
                buttonDown(pointOf(lp));
                return true;
            case WM_MOUSEMOVE:
                mouseMove(pointOf(lp));
                return true;
            case WM_MOUSELEAVE:
                tracking_ = false;
                setHot(false);
                return true;
            case WM_LBUTTONUP:
                if (GetCapture() == hwnd())
                    ReleaseCapture();  // WM_CAPTURECHANGED ends the drag or paging
                return true;
            case WM_CAPTURECHANGED:
                endPress();
                return true;
            case WM_TIMER:
                if (wp == kPagingTimer)
                    pageTowardPointer(kPageRepeat);
                return true;
            case TBM_GETPOS:
                result = position_;
                return true;
            case TBM_SETPOS:
                setPosition(static_cast<int>(lp));
                return true;
            case TBM_GETRANGEMIN:
                result = slider_.min();
                return true;
            case TBM_GETRANGEMAX:
                result = slider_.max();
                return true;
            case TBM_GETLINESIZE:
                result = slider_.spec().smallChange;
                return true;
            case TBM_GETPAGESIZE:
                result = slider_.spec().largeChange;
                return true;
            case TBM_GETCHANNELRECT:
                if (lp)
                    *reinterpret_cast<RECT*>(lp) = geometry().channel;
                return true;
            case TBM_GETTHUMBRECT:
                if (lp)
                    *reinterpret_cast<RECT*>(lp) = thumb();
                return true;
            default:
                return false;
        }
    }

  private:
    static POINT pointOf(LPARAM lp) {
        return POINT{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
    }
    static bool isMovingKey(WPARAM key) {
        return key == VK_LEFT || key == VK_UP || key == VK_RIGHT || key == VK_DOWN ||
               key == VK_PRIOR || key == VK_NEXT || key == VK_HOME || key == VK_END;
    }

    Geometry geometry() const {
        RECT client{};
        GetClientRect(hwnd(), &client);
        return Geometry(client);
    }
    RECT thumb() const { return geometry().thumb(position_, slider_.min(), slider_.max()); }

    // ---- the value ----
    void setPosition(int value) {
        value = std::clamp(value, slider_.min(), slider_.max());
        if (value == position_)
            return;
        position_ = value;
        redraw();
    }
    // A move by the user: the thumb goes there and the parent hears of it.
    void moveTo(int value, int code) {
        setPosition(value);
        notify(code);
    }
    void moveBy(int delta, int code) {
        moveTo(static_cast<int>(std::clamp<long long>(static_cast<long long>(position_) + delta,
                                                      slider_.min(), slider_.max())),
               code);
    }
    void notify(int code) {
        SendMessageW(GetParent(hwnd()), WM_HSCROLL, MAKEWPARAM(code, position_),
                     reinterpret_cast<LPARAM>(hwnd()));
    }

    bool keyDown(WPARAM key) {
        const int line = slider_.spec().smallChange, page = slider_.spec().largeChange;
        switch (key) {
            case VK_LEFT:
            case VK_UP:
                moveBy(-line, TB_LINEUP);
                return true;
            case VK_RIGHT:
            case VK_DOWN:
                moveBy(line, TB_LINEDOWN);
                return true;
            case VK_PRIOR:
                moveBy(-page, TB_PAGEUP);
                return true;
            case VK_NEXT:
                moveBy(page, TB_PAGEDOWN);
                return true;
            case VK_HOME:
                moveTo(slider_.min(), TB_TOP);
                return true;
            case VK_END:
                moveTo(slider_.max(), TB_BOTTOM);
                return true;
            default:
                return false;
        }
    }

    // ---- the mouse: the thumb is dragged; beside it, the bar pages toward
    // the pointer, again and again while the button is held ----
    void buttonDown(POINT at) {
        HWND window = hwnd();
        SetFocus(window);
        if (!IsWindow(window) || GetFocus() != window)
            return;
        SetCapture(window);
        const RECT now = thumb();
        if (PtInRect(&now, at)) {
            dragging_ = true;
            redraw();
            return;
        }
        pointer_ = at;
        paging_ = true;
        pageTowardPointer(kFirstPageDelay);
    }
    void pageTowardPointer(UINT nextAfter) {
        const RECT now = thumb();
        const int page = slider_.spec().largeChange;
        HWND window = hwnd();
        if (pointer_.x < now.left)
            moveBy(-page, TB_PAGEUP);
        else if (pointer_.x >= now.right)
            moveBy(page, TB_PAGEDOWN);
        else
            return;
        if (IsWindow(window) && paging_)
            SetTimer(window, kPagingTimer, nextAfter, nullptr);
    }
    void mouseMove(POINT at) {
        if (!tracking_) {
            TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, hwnd(), 0};
            tracking_ = TrackMouseEvent(&track) != FALSE;
        }
        if (dragging_) {
            // As the platform's trackbar: the pointer is the thumb's middle.
            const Geometry g = geometry();
            const int value = g.valueAt(at.x - g.thumbWidth / 2, slider_.min(), slider_.max());
            if (value != position_)
                moveTo(value, TB_THUMBTRACK);
            return;
        }
        if (paging_) {
            pointer_ = at;
            return;
        }
        const RECT now = thumb();
        setHot(PtInRect(&now, at) != FALSE);
    }
    void endPress() {
        if (paging_) {
            paging_ = false;
            KillTimer(hwnd(), kPagingTimer);
            notify(TB_ENDTRACK);
        } else if (dragging_) {
            dragging_ = false;
            redraw();
            HWND window = hwnd();
            notify(TB_THUMBPOSITION);
            if (IsWindow(window))
                notify(TB_ENDTRACK);
        }
    }
    void setHot(bool hot) {
        if (hot != hot_) {
            hot_ = hot;
            redraw();
        }
    }

    // ---- drawing ----
    void openStyle() {
        const VisualStyle& style = VisualStyle::get();
        theme_ = style.open ? style.open(hwnd(), L"TRACKBAR") : nullptr;
    }
    void closeStyle() {
        if (theme_)
            VisualStyle::get().close(theme_);
        theme_ = nullptr;
    }
    void redraw() const {
        if (hwnd())
            InvalidateRect(hwnd(), nullptr, FALSE);
    }

    void paintOn(HDC dc) const {
        RECT client{};
        GetClientRect(hwnd(), &client);
        fill(dc, client, form().surfaceColor(container()));
        const Geometry g(client);
        RECT channel = g.channel;
        RECT knob = g.thumb(position_, slider_.min(), slider_.max());
        const VisualStyle& style = VisualStyle::get();
        if (slider_.spec().ticks) {
            COLORREF colour = GetSysColor(COLOR_BTNTEXT);
            if (theme_)
                style.colour(theme_, kTics, kTicsNormal, kColorProperty, &colour);
            paintTicks(dc, g, colour);
        }
        if (theme_) {
            style.draw(theme_, dc, kTrack, kTrackNormal, &channel, nullptr);
            style.draw(theme_, dc, kThumbBottom, thumbState(), &knob, nullptr);
        } else {
            DrawEdge(dc, &channel, EDGE_SUNKEN, BF_RECT);
            DrawEdge(dc, &knob, EDGE_RAISED, BF_RECT | BF_MIDDLE | BF_SOFT);
        }
        const bool focusShown =
            GetFocus() == hwnd() && !(SendMessageW(hwnd(), WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS);
        if (focusShown) {
            SetTextColor(dc, RGB(0, 0, 0));
            SetBkColor(dc, RGB(255, 255, 255));
            DrawFocusRect(dc, &client);
        }
    }

    // One tick a value below the thumb, longer at both ends; where values
    // lie closer than a pixel the ticks make one band.
    void paintTicks(HDC dc, const Geometry& g, COLORREF colour) const {
        const int top = 2 + g.thumbLength + 2;
        const int first = g.channel.left + g.thumbWidth / 2;
        const int travel = g.travel();
        const double range = double(slider_.max()) - slider_.min();
        auto tick = [&](int left, int right, int length) {
            fill(dc, RECT{left, top, right + 1, top + length}, colour);
        };
        if (range >= travel) {
            tick(first, first + travel, 3);
        } else {
            for (int v = 1; v < range; ++v) {
                const int x = first + static_cast<int>(v / range * travel);
                tick(x, x, 3);
            }
        }
        tick(first, first, 4);
        tick(first + travel, first + travel, 4);
    }

    int thumbState() const {
        if (!IsWindowEnabled(hwnd()))
            return kDisabled;
        if (dragging_)
            return kPressed;
        if (hot_)
            return kHot;
        return GetFocus() == hwnd() ? kFocused : kNormal;
    }

    Slider& slider_;
    int position_;
    HANDLE theme_ = nullptr;
    bool dragging_ = false, paging_ = false, hot_ = false, tracking_ = false;
    POINT pointer_{};  // where the paging goes
};

}  // namespace

}  // namespace bv::ui::win32

void bv::ui::Slider::makePeer(PeerHost& host) {
    host.add<win32::Win32Slider>(*this);
}
