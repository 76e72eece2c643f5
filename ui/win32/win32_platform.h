#pragma once
// The Win32 back end of the window layer: real top-level windows and
// controls, the message loop, message boxes, starting programs and the
// wallpaper call.
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "ui/app.h"
#include "ui/platform.h"
#include "ui/win32/fonts.h"
#include "ui/win32/pictures.h"

namespace bv::ui::win32 {

class Win32Form;

class Win32Platform : public Platform {
  public:
    Win32Platform();
    ~Win32Platform() override;
    Win32Platform(const Win32Platform&) = delete;
    Win32Platform& operator=(const Win32Platform&) = delete;

    std::unique_ptr<FormPeer> createPeer(Form& form) override;
    Answer messageBox(const std::string& prompt, Buttons buttons, Icon icon,
                      const std::string& title) override;
    void startProgram(const std::string& path, int windowStyle) override;
    void setWallpaper(const std::string& path) override;
    [[noreturn]] void endProgram() override;

    // The message loop. Returns when no form of the program is left, or
    // when the form of `quitWith` is gone; at once if none is loaded.
    int run();
    void quitWith(const Form& mainForm) { mainForm_ = &mainForm; }

    // Keyboard handling of our windows that the loop does before
    // translating a message: Tab and Shift+Tab by tab index across frames,
    // Enter on a push button, Alt+access key. True when the message is used
    // up. Loops of other code (tests) call it the same way.
    bool preTranslate(MSG& msg);

    // ---- used by the windows of this back end ----
    HINSTANCE instance() const { return instance_; }
    // A hidden owner, made for the first window that needs one.
    HWND parking();
    FontCache& fonts() { return fonts_; }
    PictureCache& pictures() { return pictures_; }
    HCURSOR handCursor();
    // Loads the common controls (sliders, tooltips) when the first window
    // needs one. Throws Failure when they cannot be had.
    void startCommonControls();
    Win32Form* formOf(HWND window) const;
    void enroll(Win32Form* form) { forms_.push_back(form); }
    void withdraw(Win32Form* form);
    void windowGone(const Win32Form& form);
    // For the program's first window the show command it was started with
    // (the agent starts the tool minimized); SW_SHOW afterwards.
    int nextShowCommand();

  private:
    // A form is loaded and not yet destroyed, whether its window is made or not.
    bool anyForm() const;

    HINSTANCE instance_;
    bool commonControls_ = false;
    HWND parking_ = nullptr;
    HCURSOR hand_ = nullptr;
    FontCache fonts_;
    PictureCache pictures_;
    std::vector<Win32Form*> forms_;
    const Form* mainForm_ = nullptr;
    int running_ = 0;
    bool firstShow_ = true;
    using SetParams = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT);
    SetParams systemParametersInfoA_ = nullptr;
};

}  // namespace bv::ui::win32
