// Timers: a window timer of the form, with the control's id.
#include "ui/controls/timer.h"
#include "ui/backend.h"
#include "ui/win32/children.h"

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
        HWND owner = timer_.running() ? makeFormWindow() : formWindow();
        if (!owner)
            return;
        // An interval of 0 must never tick, so it never reaches SetTimer.
        if (timer_.running())
            SetTimer(owner, id(), static_cast<UINT>(timer_.interval()), nullptr);
        else
            KillTimer(owner, id());
        announceRunning(timer_);
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
