// A program that meets an exception nothing may let through, as a fault in a
// shipped program would: it must say so before it ends. Started with
// "slider", it shows a window with a slider instead, for a system where the
// common controls cannot be had.
#include <windows.h>

#include <cstring>
#include <stdexcept>

#include "ui/controls/slider.h"
#include "ui/form.h"
#include "ui/win32/internal_error.h"
#include "ui/win32/main_window.h"

namespace {

volatile bool fault = true;

void cannotThrow() noexcept {
    struct Guard {
        ~Guard() noexcept(false) {
            if (fault)
                throw std::runtime_error("fault");
        }
    } guard;
}

constexpr bv::ui::ControlSpec kSliderRows[] = {
    {.kind = bv::ui::Kind::Slider, .name = "Slider1", .width = 2400, .height = 450}};
constexpr bv::ui::FormSpec kSliderForm{.name = "Form1",
                                       .caption = "Slider",
                                       .clientWidth = 3000,
                                       .clientHeight = 900,
                                       .controls = kSliderRows};

struct SliderWindow {
    explicit SliderWindow(bv::ui::App& app) : form(app, kSliderForm) {}
    bv::ui::Form form;
};

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
    if (commandLine && std::strstr(commandLine, "slider"))
        return bv::ui::win32::runMainWindow<SliderWindow>("internal_error_probe");
    bv::ui::win32::reportInternalErrorsAs("internal_error_probe");
    cannotThrow();
    return 0;
}
