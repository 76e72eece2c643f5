#pragma once
// One top-level window for a Form, with its controls: windowed controls
// (text boxes, buttons, sliders, frames, picture boxes) and the labels and
// image controls that their container paints and hit-tests itself.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ui/controls.h"
#include "ui/form.h"
#include "ui/platform.h"
#include "ui/win32/pictures.h"

namespace bv::ui::win32 {

class Win32Platform;

class Win32Form final : public FormPeer {
  public:
    Win32Form(Win32Platform& platform, Form& form);
    ~Win32Form() override;
    Win32Form(const Win32Form&) = delete;
    Win32Form& operator=(const Win32Form&) = delete;

    // Makes the hidden window and its controls. Throws Failure when a
    // laid-out picture cannot be loaded.
    void create();

    void controlChanged(Control& control, Prop prop) override;
    void moved() override;
    void show() override;
    void hide() override;
    void destroy() override;
    int popupMenu() override;
    void showOpenDialog(FileDialog& dialog) override;

    Form& form() const { return form_; }
    HWND hwnd() const { return hwnd_; }
    // The window of a control, or null for windowless and invisible ones.
    HWND controlWindow(const Control& control) const;

    // Tab, Enter and access keys (see Win32Platform::preTranslate).
    bool handleKey(const MSG& msg);

    static void registerClasses(HINSTANCE instance);

  private:
    struct Child {
        Control* control = nullptr;
        int container = -1;   // the frame or picture box holding it; -1: the client area
        HWND hwnd = nullptr;  // controls with a window of their own
        RECT rect{};          // pixels, in the container's client area
        PicturePtr picture;   // image controls
        std::wstring tip;
    };

    static LRESULT CALLBACK formProc(HWND window, UINT msg, WPARAM wp, LPARAM lp);
    static LRESULT CALLBACK containerProc(HWND window, UINT msg, WPARAM wp, LPARAM lp);
    static LRESULT CALLBACK editProc(HWND window, UINT msg, WPARAM wp, LPARAM lp);

    // win32_form.cpp: the window itself and the events of its surfaces.
    LRESULT onFormMessage(UINT msg, WPARAM wp, LPARAM lp);
    // Messages that the client area, frames and picture boxes share;
    // false when the window's default handling applies.
    bool onSurfaceMessage(HWND window, int container, UINT msg, WPARAM wp, LPARAM lp,
                          LRESULT& result);
    bool onNotification(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
    void onMouse(HWND window, int container, UINT msg, WPARAM wp, LPARAM lp);
    int hitTest(int container, POINT at) const;
    static MouseArgs mouseArgs(WPARAM keys, POINT at, const RECT& control);
    void reportPosition();
    // Runs a handler; false when this window (or the whole peer) is gone
    // afterwards, so the caller must not touch it any more.
    bool deliver(const std::function<void()>& handler);
    bool fire(int index, EventKind kind, const MouseArgs& args = {});

    // win32_controls.cpp: making and updating the controls.
    void createChild(int index);
    void stackChildren();
    HWND surface(int container) const;
    RECT placeOf(const Control& control) const;
    void setTimer(int index);
    void addTooltip(int index);
    void updateTooltip(int index);
    void invalidate(int index);
    PicturePtr loadPicture(const Picture& picture);
    LRESULT onEditMessage(HWND edit, UINT msg, WPARAM wp, LPARAM lp);
    int indexOf(HWND window) const;
    int indexOf(const Control& control) const;

    // paint.cpp
    void paint(int container, HDC dc, const RECT& area);
    void paintBuffered(HWND window, int container);
    void paintFrame(const Child& frame, HDC dc);
    void paintLabel(const Child& label, int container, HDC dc);
    void paintImage(const Child& image, HDC dc);
    COLORREF background(int container) const;

    // focus.cpp: keyboard focus in tab-index order.
    std::vector<int> tabOrder() const;
    HWND firstFocus() const;
    void moveFocus(bool backwards);
    bool accessKey(wchar_t key);

    Win32Platform& platform_;
    Form& form_;
    HWND hwnd_ = nullptr;
    HWND tooltip_ = nullptr;
    HWND focus_ = nullptr;  // the control to give the focus back to on activation
    std::vector<Child> children_;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
    int pressed_ = -1;      // windowless control under a held left button
    int editPressed_ = -1;  // text box that had the left button go down
    bool shown_ = false;
    bool destroying_ = false;
    bool settingText_ = false;
};

}  // namespace bv::ui::win32
