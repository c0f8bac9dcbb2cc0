// Faults around the real program: a display or a Wayland compositor that
// dies under its windows, a writer that sends a gibibyte, a standard input
// left non-blocking, a terminal that hangs up.
#include <gtest/gtest.h>

#include <errno.h>
#include <fcntl.h>
#include <string.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "displays.h"
#include "harness.h"
#include "recorded.h"

namespace {

// Starts the real program on a private X server with `input` on a pipe,
// waits for its window named `title`, kills the server and returns the
// program's exit status.
int StatusAfterDisplayDiesUnder(const std::string& input, const std::string& title) {
  XServer x;
  EXPECT_TRUE(StartXServer(&x));
  Process mailview;
  EXPECT_TRUE(
      Start(&mailview, {MAILVIEW_EXE}, Piped(input, {"DISPLAY=" + x.display, "WAYLAND_DISPLAY"})));
  EXPECT_NE("", FindWindow(title, 60, x.display)) << title;
  KillXServer(&x);
  EXPECT_EQ("", ReadToEnd(&mailview, 60));
  return WaitForExit(&mailview, 60);
}

// Each window, with what shows it.
const std::pair<std::string, std::string> kWindows[] = {
    {"To: a@example.org\r\n\r\nhello\r\n", "Send Mail"}, {std::string(10000, 'x'), "Error"}};

TEST(Faults, DisplayDiesUnderEitherWindow) {
  for (const auto& [input, title] : kWindows)
    EXPECT_EQ(0, StatusAfterDisplayDiesUnder(input, title)) << title;
}

// The same on a private Wayland compositor, with no X display: waits until
// the window titled `title` is shown, kills the compositor and returns the
// program's exit status.
int StatusAfterCompositorDiesUnder(const std::string& input, const std::string& title) {
  Compositor wayland;
  EXPECT_TRUE(StartCompositor(&wayland));
  // libwayland's trace of the program's requests and events, on the pipe.
  Process mailview;
  EXPECT_TRUE(Start(&mailview, {MAILVIEW_EXE},
                    Piped(input,
                          {"XDG_RUNTIME_DIR=" + wayland.runtimeDir,
                           "WAYLAND_DISPLAY=" + wayland.socket, "GDK_BACKEND=wayland",
                           "DISPLAY", "WAYLAND_DEBUG=client"},
                          CAPTURE)));
  // Shown: the title set, then the compositor's word that a surface has
  // entered its output.
  std::string trace;
  EXPECT_TRUE(ReadUntil(&mailview, "set_title(\"" + title + "\")", ".enter(wl_output@", 60,
                        &trace))
      << trace.substr(trace.size() > 4000 ? trace.size() - 4000 : 0);
  KillCompositor(&wayland);
  trace += ReadToEnd(&mailview, 60);
  return WaitForExit(&mailview, 60);
}

TEST(Faults, CompositorDiesUnderEitherWindow) {
  for (const auto& [input, title] : kWindows)
    EXPECT_EQ(0, StatusAfterCompositorDiesUnder(input, title)) << title;
}

TEST(Faults, AGibibyteWithPausesIsReadToItsEnd) {
  // Generated as it goes: one block of CR LF lines, written over and over.
  std::string block;
  while (block.size() < 65536)
    block += "0123456789 The quick brown fox jumps over the lazy dog.\r\n";
  const size_t total = size_t(1) << 30;
  const size_t pauseEvery = size_t(64) << 20;
  size_t written = 0;
  int pauses = 0, error = 0;
  Process mailview;
  Options o;
  o.stdinKind = GENERATED;
  o.generate = [&](int fd) {
    for (size_t nextPause = pauseEvery; written < total && !error;) {
      if (written >= nextPause) {
        // Let the reader empty the pipe and wait on it before going on.
        EXPECT_TRUE(WaitUntil(60, [&] {
          int queued = 1;
          return ioctl(fd, FIONREAD, &queued) == 0 && queued == 0;
        }));
        EXPECT_TRUE(WaitUntilWaitingForInput(mailview, 60));
        nextPause += pauseEvery;
        ++pauses;
      }
      size_t at = written % block.size();
      size_t n = block.size() - at < total - written ? block.size() - at : total - written;
      ssize_t done = write(fd, block.data() + at, n);
      if (done >= 0)
        written += done;
      else if (errno != EINTR)
        error = errno;
    }
  };
  ASSERT_TRUE(Start(&mailview, {MAILVIEW_RECORD}, o));
  EXPECT_EQ(REFUSAL, ReadToEnd(&mailview, 600));
  EXPECT_EQ(0, WaitForExit(&mailview, 600));
  EXPECT_EQ(0, error) << strerror(error);
  EXPECT_EQ(total, written);
  EXPECT_EQ(15, pauses);
}

TEST(Faults, NonBlockingStandardInputLosesNothing) {
  // A pipe: every part is written only once the reader waits for it.
  int p[2];
  ASSERT_EQ(0, pipe2(p, O_CLOEXEC));
  fcntl(p[0], F_SETFL, fcntl(p[0], F_GETFL) | O_NONBLOCK);
  Process piped;
  EXPECT_TRUE(Start(&piped, {MAILVIEW_RECORD}, Given(p[0])));
  close(p[0]);
  for (const char* part : {"To: a@example.org\r\n", "Subject: late\r", "\n\r\nbody"}) {
    EXPECT_TRUE(WaitUntilWaitingForInput(piped, 60));
    EXPECT_TRUE(WriteAll(p[1], part));
  }
  close(p[1]);
  EXPECT_EQ("To: a@example.org\r\nSubject: late\r\n\r\nbody", Shown(ReadToEnd(&piped, 60)));
  EXPECT_EQ(0, WaitForExit(&piped, 60));

  // A terminal: a line typed late, then end of file.
  int master, slave;
  ASSERT_TRUE(OpenTerminal(&master, &slave));
  fcntl(slave, F_SETFL, fcntl(slave, F_GETFL) | O_NONBLOCK);
  Process typed;
  EXPECT_TRUE(Start(&typed, {MAILVIEW_RECORD}, Given(slave)));
  EXPECT_TRUE(WaitUntilWaitingForInput(typed, 60));
  EXPECT_TRUE(WriteAll(master, "typed late\n"));
  EXPECT_TRUE(WaitUntilWaitingForInput(typed, 60));
  EXPECT_TRUE(WriteAll(master, "\x04"));
  EXPECT_EQ("typed late\r\n", Shown(ReadToEnd(&typed, 60)));
  EXPECT_EQ(0, WaitForExit(&typed, 60));
  close(master);
  close(slave);
}

TEST(Faults, TerminalHangingUpMidLineEndsTheReading) {
  // Once as a terminal that is only the program's input, once as its
  // controlling terminal, whose hangup also sends SIGHUP.
  for (bool controlling : {false, true}) {
    int master, slave;
    ASSERT_TRUE(OpenTerminal(&master, &slave));
    std::vector<std::string> argv = {MAILVIEW_RECORD};
    if (controlling)
      argv = {"setsid", "--ctty", MAILVIEW_RECORD};
    Process mailview;
    EXPECT_TRUE(Start(&mailview, argv, Given(slave)));
    close(slave);
    // Waiting before anything is typed, it has read all it reads but the
    // terminal; the line has been taken once its count has grown by the
    // line's length. (Blocked in read() proves nothing: it may be blocked
    // still while the line is on its way.)
    EXPECT_TRUE(WaitUntilWaitingForInput(mailview, 60));
    long before = BytesRead(mailview);
    EXPECT_GE(before, 0);
    EXPECT_TRUE(WriteAll(master, "first line\nhalf a li"));
    EXPECT_TRUE(WaitUntilRead(mailview, before + 11, 60)) << controlling;
    close(master);
    std::string shown = Shown(ReadToEnd(&mailview, 60));
    EXPECT_EQ(0, WaitForExit(&mailview, 60)) << controlling;
    // Whether the half-typed line survives the hangup is the kernel's affair.
    EXPECT_TRUE(shown == "first line\r\n" || shown == "first line\r\nhalf a li")
        << shown;
  }
}

}  // namespace
