// The real mailview.exe where no one can see a window, as a Windows service
// runs: in a window station that is not visible it reads the whole mail and
// ends at once with status 0, opening neither the window nor the box.
#include <windows.h>

#include <gtest/gtest.h>

#include "harness-win32.h"

namespace {

const char kStation[] = "mailview-service";
const char kDesktop[] = "mailview-service\\desktop";

// A bound that a run never reaches, however loaded the machine: a run that
// opens a window here never ends at all.
const double kEndSeconds = 30;

// Whether `station` is visible; false, with a failure, when that is unreadable.
bool Visible(HWINSTA station) {
  USEROBJECTFLAGS info = {};
  DWORD needed = 0;
  bool read = GetUserObjectInformationA(station, UOI_FLAGS, &info, sizeof info, &needed);
  EXPECT_TRUE(read) << "UOI_FLAGS unreadable, error " << GetLastError();
  return read && (info.dwFlags & WSF_VISIBLE);
}

// A window station of its own without WSF_VISIBLE, and a desktop in it:
// what a service gets. Each test first checks that this really is so, and
// that this process's own station is the visible one.
class InvisibleStation : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(Visible(GetProcessWindowStation())) << "the tests' own station is hidden";

    station_ = CreateWindowStationA(kStation, 0, WINSTA_ALL_ACCESS, NULL);
    ASSERT_NE(station_, nullptr) << "error " << GetLastError();
    ASSERT_FALSE(Visible(station_)) << "the new station is visible";

    // A desktop is made in the calling process's station.
    HWINSTA own = GetProcessWindowStation();
    ASSERT_TRUE(SetProcessWindowStation(station_));
    desktop_ = CreateDesktopA("desktop", NULL, NULL, 0, GENERIC_ALL, NULL);
    DWORD error = GetLastError();
    ASSERT_TRUE(SetProcessWindowStation(own));
    ASSERT_NE(desktop_, nullptr) << "error " << error;
  }

  void TearDown() override {
    if (desktop_ != NULL)
      CloseDesktop(desktop_);
    if (station_ != NULL)
      CloseWindowStation(station_);
  }

  HWINSTA station_ = NULL;
  HDESK desktop_ = NULL;
};

TEST_F(InvisibleStation, ReadsTheWholeMailAndEndsAtOnceWithStatusZero) {
  std::string megabyte;
  while (megabyte.size() < 1024 * 1024)
    megabyte += std::string(99, 'm') + "\n";
  struct Run {
    const char* what;
    std::string input;
  } runs[] = {
      {"an accepted mail", "To: ada@example.org\r\nSubject: Your order\r\n\r\nThank you.\r\n"},
      {"10,000 characters", std::string(10000, 'x')},
      {"a megabyte", megabyte},
  };
  for (const Run& run : runs) {
    SCOPED_TRACE(run.what);
    Process mailview;
    ASSERT_TRUE(StartCommandLine(&mailview, MailviewCommand(), {PIPE, run.input}, kDesktop))
        << "error " << GetLastError();
    EXPECT_EQ(WaitForExit(&mailview, kEndSeconds), 0) << "-2: still running";
    // Its pipe holds PIPE_BUFFER bytes: the writer finished only if
    // mailview read all but those, and did not end before it.
    EXPECT_EQ(mailview.written, run.input.size());
    EXPECT_FALSE(mailview.writeFailed) << "the writer saw a broken pipe";
  }
}

}  // namespace
