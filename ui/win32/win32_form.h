#pragma once
// One top-level window for a Form. Its controls are the Children (one per
// layout row, each kind in controls/). The class is spread over a file per
// concern: win32_form.cpp (making, showing, closing, the popup menu),
// placement.cpp (styles and where the window stands), dispatch.cpp (the
// window procedures and the events they raise), paint.cpp (drawing the
// surfaces) and focus.cpp (the keyboard).
#include <windows.h>

#include <string>
#include <vector>

#include "ui/app.h"
#include "ui/form.h"
#include "ui/platform.h"
#include "ui/win32/children.h"

namespace bv::ui::win32 {

class Win32Platform;

class Win32Form final : public FormPeer {
  public:
    Win32Form(Win32Platform& platform, Form& form);
    ~Win32Form() override;
    Win32Form(const Win32Form&) = delete;
    Win32Form& operator=(const Win32Form&) = delete;

    // The window and its controls' windows are made when first needed: at
    // the first show, or for a timer that runs. Making them costs start-up
    // time that a program which first asks a question (setup) or never
    // shows the form (uninstall) need not spend. Returns the window, or null
    // once the form is gone. Throws Failure when the system refuses or a
    // laid-out picture cannot be loaded.
    HWND ensureWindow();
    // Makes the window at once if a control works while the form is hidden
    // (a timer that runs from the layout on).
    void ensureWindowIfNeeded();
    // Loaded and not yet destroyed, whether or not its window is made.
    bool live() const { return life_ != Life::Gone; }

    void moved() override;
    void show() override;
    void hide() override;
    void destroy() override;
    int popupMenu(MenuPlace place) override;

    Form& form() const { return form_; }
    App& app() const { return form_.app(); }
    Win32Platform& platform() const { return platform_; }
    HWND hwnd() const { return hwnd_; }
    Children& children() { return children_; }

    // Every message of the window (from windowProc, children.h) and of the
    // surfaces on it (picture boxes, frames), which hand theirs here with
    // their Child as `holder`. False: the window's default handling applies.
    bool onMessage(HWND window, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result,
                   Child* holder = nullptr);

    // ---- for windowProc ----
    void windowMade(HWND window) { hwnd_ = window; }
    // WM_NCDESTROY: the window and its controls' windows are gone.
    void windowGone();
    WNDPROC systemProc() const { return nullptr; }

    // Tab, Enter and access keys (see Win32Platform::preTranslate).
    bool handleKey(const MSG& msg);

    // The colour of a surface: the client area (null) or a container.
    COLORREF surfaceColor(const Child* container) const;

    // Registers a class of the back end's own (surfaces.h), whose windows
    // are their Child's.
    static bool registerChildClass(HINSTANCE instance, const wchar_t* name);

  private:
    // Made when first needed; shown once; closing between DestroyWindow and
    // its WM_NCDESTROY; gone for good after it (or when it was never made).
    enum class Life { Unmade, Made, Shown, Closing, Gone };

    void create();
    // The picture boxes' class, registered with the first window.
    static void registerSurfaceClasses(HINSTANCE instance);
    // The class of this window's icon, registered on first use.
    const wchar_t* formClass(std::wstring& name);

    // placement.cpp
    void styles(DWORD& style, DWORD& exStyle) const;
    POINT firstPlace(int width, int height) const;
    void reportPosition();

    // dispatch.cpp
    bool onFormMessage(UINT msg, WPARAM wp, LPARAM lp);
    bool onKey(UINT msg, WPARAM wp, LPARAM lp);
    void onMouse(HWND window, Child* holder, UINT msg, WPARAM wp, LPARAM lp);

    // paint.cpp
    void paint(const Child* container, HDC dc, const RECT& area);
    void paintBuffered(HWND window, const Child* holder);

    // focus.cpp
    std::vector<Child*> tabOrder() const;
    HWND firstFocus() const;
    void moveFocus(bool backwards);
    bool accessKey(wchar_t key);

    Win32Platform& platform_;
    Form& form_;
    Children children_;
    HWND hwnd_ = nullptr;
    HWND focus_ = nullptr;      // the control to give the focus back to on activation
    Child* pressed_ = nullptr;  // drawn control under a held left button
    Life life_ = Life::Unmade;
};

}  // namespace bv::ui::win32
