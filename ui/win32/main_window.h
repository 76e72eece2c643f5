#pragma once
// The start of every program, and the whole of a program that is one main
// window.
#include "ui/app.h"
#include "ui/win32/internal_error.h"
#include "ui/win32/metrics.h"
#include "ui/win32/win32_platform.h"

namespace bv::ui::win32 {

// What a program does first, before any window or measurement. `title`
// names it in the internal error's box: a string literal.
inline void beginProgram(const char* title) {
    declareDpiAware();
    reportInternalErrorsAs(title);
}

// Loads the main window (its load handler does the start-up work), shows
// it, and runs until it is gone.
template <class Window>
int runMainWindow(const char* title) {
    beginProgram(title);
    Win32Platform platform;
    App app(platform, title);
    Window window(app);
    platform.quitWith(window.form);
    app.raise(window.form, [&] {
        window.form.load();
        window.form.show();
    });
    return platform.run();
}

}  // namespace bv::ui::win32
