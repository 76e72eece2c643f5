#pragma once
// The controls of one Win32 window, as the back end keeps them: one Child
// per layout row, in table order (front to back). Each control kind is a
// subclass in controls/<kind>.cpp, holding its creation, its property
// updates and its reflected messages, and the kind's makePeer that makes
// it. Children is the one owner of the list.
//
// A kind reaches the rest of the back end only through its Child: the
// fonts, the pictures, the form's window. The windows of our own classes
// and the system controls we subclass run one window procedure, windowProc
// below.
#include <windows.h>

#include <deque>
#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "ui/app.h"
#include "ui/backend.h"
#include "ui/control.h"

namespace bv::ui {
class Timer;
}

namespace bv::ui::win32 {

class FontCache;
class PictureCache;
class Win32Form;

// What the layer makes for the control of a row (its window's control id,
// its timer, its tooltip) carries this id, and the row is found back from
// it. From 100 on: clear of the dialog ids of the system (IDOK, ...).
constexpr int kFirstRowId = 100;
inline UINT_PTR idOfRow(int row) {
    return static_cast<UINT_PTR>(kFirstRowId + row);
}
inline int rowOfId(UINT_PTR id) {
    return static_cast<int>(id) - kFirstRowId;
}

class Child {
  public:
    Child(Win32Form& form, Control& control, int index);
    virtual ~Child() = default;
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;

    Control& control() const { return control_; }
    Win32Form& form() const { return form_; }
    // The program, whose raise() runs the control's handlers.
    App& app() const;
    int index() const { return index_; }
    UINT_PTR id() const { return idOfRow(index_); }
    HWND hwnd() const { return hwnd_; }
    // Pixels, in the client area of its container.
    const RECT& rect() const { return rect_; }
    // The frame or picture box holding it, on whose window it is placed
    // and drawn; null: the form's client area.
    Child* container() const { return container_; }

    // ---- what a kind may do differently ----
    // Makes its window, if the kind has one. The holder's window exists.
    virtual void create() {}
    // Every control of the window has been made.
    virtual void afterCreate() {}
    // Works while its form is hidden (a running timer), so the form's window
    // must be made with the form.
    virtual bool needsFormWindow() const { return false; }
    // Labels and images: drawn and hit-tested by their holder.
    virtual bool drawnByContainer() const { return false; }
    virtual void paint(HDC) const {}
    // Frames and picture boxes: surfaces that hold other controls, painted
    // in their background colour, then their decoration, then the controls
    // drawn on them.
    virtual COLORREF background() const;
    // `area`: what is painted, in the container's client coordinates.
    virtual void paintDecoration(HDC, const RECT& /*area*/) const {}
    virtual bool focusOnClick() const { return false; }
    // Keyboard: in the tab order; a push button (Enter, access key).
    virtual bool focusable() const { return false; }
    virtual bool pushButton() const { return false; }
    // WM_COMMAND, WM_HSCROLL and WM_CTLCOLORSTATIC that the parent got from
    // this control's window. False: not handled.
    virtual bool reflect(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
    // WM_TIMER of this control's id.
    virtual void tick() {}
    // A message of its own window (a surface's, or a subclassed control's).
    // False: the default handling, the system control's own for a subclass.
    // Surfaces hand theirs to the form, as the form's window does.
    virtual bool onMessage(HWND window, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);

    // ---- shared by every kind ----
    // The control's place changed: move its window or repaint both places.
    void moveToPlace();
    void invalidate() const;
    // Tells screen readers that this drawn control changed (an EVENT_OBJECT_...).
    void announce(DWORD event) const;
    // A timer started or stopped: the images that show whether it runs say so.
    void announceRunning(const Timer& timer) const;

    // ---- for windowProc ----
    void windowMade(HWND window) { hwnd_ = window; }
    void windowGone() { hwnd_ = nullptr; }
    WNDPROC systemProc() const { return systemProc_; }

  protected:
    // Makes the control's window on its holder, with the layout's font.
    // Throws Failure when the system refuses.
    HWND makeWindow(const wchar_t* cls, DWORD style, DWORD exStyle, const std::wstring& text,
                    void* param = nullptr);
    // Puts the system control just made under windowProc: its messages come
    // to onMessage, then to the system's procedure (callSystem).
    void subclass();
    LRESULT callSystem(UINT msg, WPARAM wp, LPARAM lp) const;

    // ---- what a kind reaches of the back end ----
    // The layout's font at the screen's resolution; never null.
    HFONT font() const;
    FontCache& fonts() const;
    PictureCache& pictures() const;
    // The colour of what it lies on: its container, or the form.
    COLORREF surfaceColor() const;
    // The form's window, or null while it is not made.
    HWND formWindow() const;
    // The form's window, made now if need be: null once the form is gone.
    // Throws Failure when the system refuses.
    HWND makeFormWindow() const;
    // Throws Failure when the common controls cannot be had.
    void startCommonControls() const;

  private:
    friend class Children;
    Win32Form& form_;
    Control& control_;
    int index_;
    Child* container_ = nullptr;
    HWND hwnd_ = nullptr;
    WNDPROC systemProc_ = nullptr;  // a subclassed control's own

    RECT rect_{};
    bool created_ = false;
};

// The window procedure of every window of the layer: Owner (Win32Form, or
// Child) comes with WM_NCCREATE for a class of our own, or is set by
// Child::subclass. Messages reach the owner only while it owns the window;
// at WM_NCDESTROY a subclassed control gets its own procedure back and the
// owner forgets the window; a fault of the layer itself goes to the
// program's report, never unwinding into the system.
template <class Owner>
LRESULT CALLBACK windowProc(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE)
        if (auto* made =
                static_cast<Owner*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams)) {
            SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(made));
            made->windowMade(window);
        }
    auto* owner = reinterpret_cast<Owner*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!owner || owner->hwnd() != window)
        return DefWindowProcW(window, msg, wp, lp);
    // Taken first: a handler may unload the window and its owner.
    const WNDPROC system = owner->systemProc();
    App& app = owner->app();
    auto byDefault = [&] {
        return system ? CallWindowProcW(system, window, msg, wp, lp)
                      : DefWindowProcW(window, msg, wp, lp);
    };
    if (msg == WM_NCDESTROY) {
        if (system)
            SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(system));
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        owner->windowGone();
        return byDefault();
    }
    try {
        LRESULT result = 0;
        if (owner->onMessage(window, msg, wp, lp, result))
            return result;
    } catch (...) {
        // Handlers' own failures were reported by App::raise.
        app.report(std::current_exception());
        return 0;
    }
    return byDefault();
}

// A Child that is also the control's peer of kind P.
template <class P>
class ChildWith : public Child, public P {
  public:
    using Child::Child;
    void placeChanged() override { moveToPlace(); }
};

class Children {
  public:
    explicit Children(Win32Form& form);
    ~Children();

    // A Child for every control, each its control's peer; no window yet.
    void makePeers();
    // The controls' windows, timers and tooltips, from the controls' state.
    void create();
    const std::vector<std::unique_ptr<Child>>& all() const { return list_; }
    Child* of(HWND window) const;
    Child* at(int index) const;
    // The window of a container, or the form's for null.
    HWND surface(const Child* container) const;
    // The topmost control drawn on the container at this point, or null.
    Child* hitTest(const Child* container, POINT at) const;
    void forgetWindows();

    void addTooltip(Child& child);
    // The first mouse move over a window of the form: the tooltips that
    // waited for it are made and shown this move.
    void mouseMoved(HWND window, WPARAM wp, LPARAM lp);
    void moveTooltip(const Child& child);

    // The control's place in pixels. Throws Failure for a place that the
    // platform cannot hold.
    static RECT placeOf(const Control& control);

  private:
    void create(Child& child);
    void stack();
    void addTooltips();

    Win32Form& form_;
    std::vector<std::unique_ptr<Child>> list_;
    HWND tooltip_ = nullptr;
    bool tooltipsLate_ = false;
    std::deque<std::wstring> tips_;  // the texts the tooltips show
};

}  // namespace bv::ui::win32

namespace bv::ui {

// What a control's peer is made with on this back end: each kind's makePeer
// (controls/<kind>.cpp) adds its Child here.
class PeerHost {
  public:
    PeerHost(win32::Win32Form& form, std::vector<std::unique_ptr<win32::Child>>& list)
        : form_(form), list_(list) {}
    // Makes a Child of type C for the control, which takes it as its peer.
    template <class C, class Model>
    void add(Model& control) {
        auto child = std::make_unique<C>(form_, control, static_cast<int>(list_.size()));
        BackEnd::attach(control, *child);
        list_.push_back(std::move(child));
    }

  private:
    win32::Win32Form& form_;
    std::vector<std::unique_ptr<win32::Child>>& list_;
};

}  // namespace bv::ui
