// GoogleTest's own extension point, used to build it with mingw's default
// (win32) thread model, whose C++ library has no std::mutex: the one class
// of GoogleTest that needs it is given here over a Win32 event instead.
#ifndef MAILVIEW_TESTS_WINE_GTEST_CUSTOM_PORT_H_
#define MAILVIEW_TESTS_WINE_GTEST_CUSTOM_PORT_H_

#include <windows.h>

#define GTEST_HAS_NOTIFICATION_ 1

namespace testing {
namespace internal {

// Lets a controller thread hold back new threads until it says go.
class Notification {
 public:
  Notification() : event_(CreateEventA(NULL, TRUE, FALSE, NULL)) {}
  ~Notification() { CloseHandle(event_); }
  Notification(const Notification&) = delete;
  Notification& operator=(const Notification&) = delete;

  void Notify() { SetEvent(event_); }
  void WaitForNotification() { WaitForSingleObject(event_, INFINITE); }

 private:
  HANDLE event_;
};

}  // namespace internal
}  // namespace testing

#endif  // MAILVIEW_TESTS_WINE_GTEST_CUSTOM_PORT_H_
