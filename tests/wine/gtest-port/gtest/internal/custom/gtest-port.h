#pragma once
// GoogleTest's hook for platform adjustments, found before Debian's empty one.
// MinGW's win32 thread model has no std::mutex or std::condition_variable,
// on which gtest builds its Notification; this one waits on a Win32 event.
// gtest's other locks already use Win32 critical sections.
#include <windows.h>

#define GTEST_HAS_NOTIFICATION_ 1

namespace testing::internal {

class Notification {
  public:
    Notification() : event_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
    ~Notification() { CloseHandle(event_); }
    Notification(const Notification&) = delete;
    Notification& operator=(const Notification&) = delete;

    void Notify() { SetEvent(event_); }
    void WaitForNotification() { WaitForSingleObject(event_, INFINITE); }

  private:
    HANDLE event_;
};

}  // namespace testing::internal
