// Timers: a window timer of the form, whose id is the control's place in
// the table plus one.
#include "ui/controls/timer.h"
#include "ui/backend.h"
#include "ui/win32/accessible.h"
#include "ui/win32/children.h"
#include "ui/win32/win32_form.h"

namespace bv::ui::win32 {

namespace {

class Win32Timer final : public ChildWith<TimerPeer> {
  public:
    Win32Timer(Win32Form& form, Timer& timer, int index)
        : ChildWith(form, timer, index), timer_(timer) {}

    void afterCreate() override { timingChanged(); }
    bool needsFormWindow() const override { return timer_.running(); }

    void timingChanged() override {
        // A running timer needs the form's window, shown or not.
        HWND owner = timer_.running() ? form().ensureWindow() : form().hwnd();
        if (!owner)
            return;
        const auto id = static_cast<UINT_PTR>(index()) + 1;
        // An interval of 0 must never tick, so it never reaches SetTimer.
        if (timer_.running())
            SetTimer(owner, id, static_cast<UINT>(timer_.interval()), nullptr);
        else
            KillTimer(owner, id);
        accessible::runningChanged(form(), timer_);
    }

    void tick() override {
        if (timer_.running())
            app().raise(timer_, EventKind::Timer);
    }

  private:
    Timer& timer_;
};

}  // namespace

}  // namespace bv::ui::win32

void bv::ui::Timer::makePeer(PeerHost& host) {
    host.add<win32::Win32Timer>(*this);
}
