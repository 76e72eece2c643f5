#pragma once
// The whole of a program that is one main window: load it (its load handler
// does the start-up work), show it, and run until it is gone. `title` is a
// string literal.
#include "ui/app.h"
#include "ui/win32/internal_error.h"
#include "ui/win32/metrics.h"
#include "ui/win32/win32_platform.h"

namespace bv::ui::win32 {

template <class Window>
int runMainWindow(const char* title) {
    declareDpiAware();
    reportInternalErrorsAs(title);
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
