// Faults around the real program: a display or a Wayland compositor that
// dies under its windows, a writer that sends a gibibyte, a standard input
// left non-blocking, a terminal that hangs up.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <string>
#include <thread>
#include <vector>

#include "child.h"
#include "run_process.h"

namespace {

const char* const kRecord = MAILVIEW_RECORD;
const char* const kMailview = MAILVIEW_EXE;

const char kRefusal[] =
    "MessageBoxA owner=(nil) flags=0x30 caption=5:Error text=14:Email too long\n";

// The text the recording stand-in put into the window, or "<none>".
std::string Shown(const std::string& out) {
  std::string text;
  return RecordedText(out, 1121, &text) ? text : "<none>";
}

bool WriteAll(int fd, const std::string& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR)
      continue;
    if (n < 0)
      return false;
    done += n;
  }
  return true;
}

// Starts the real program on a private X server with `input` on a pipe,
// waits for its window named `title`, kills the server and returns the
// program's exit status.
int StatusAfterDisplayDiesUnder(const std::string& input, const std::string& title) {
  XServer x;
  EXPECT_TRUE(StartXServer(&x));
  int p[2];
  EXPECT_EQ(0, pipe2(p, O_CLOEXEC));
  Child c = StartChild({kMailview}, p[0], {"DISPLAY=" + x.display, "WAYLAND_DISPLAY"});
  close(p[0]);
  EXPECT_TRUE(WriteAll(p[1], input));
  close(p[1]);
  EXPECT_TRUE(WaitForWindow(x, title, 60)) << title;
  KillXServer(&x);
  int status = WaitForExit(c.pid, 60);
  EXPECT_EQ("", ReadToEnd(c.out));
  return status;
}

TEST(Faults, DisplayDiesUnderTheSendMailWindow) {
  EXPECT_EQ(0, StatusAfterDisplayDiesUnder("To: a@example.org\r\n\r\nhello\r\n",
                                           "Send Mail"));
}

TEST(Faults, DisplayDiesUnderTheRefusalBox) {
  EXPECT_EQ(0, StatusAfterDisplayDiesUnder(std::string(10000, 'x'), "Error"));
}

// The same on a private Wayland compositor, with no X display: waits until
// the window titled `title` is shown, kills the compositor and returns the
// program's exit status.
int StatusAfterCompositorDiesUnder(const std::string& input, const std::string& title) {
  Compositor wayland;
  EXPECT_TRUE(StartCompositor(&wayland));
  int p[2];
  EXPECT_EQ(0, pipe2(p, O_CLOEXEC));
  // libwayland's trace of the program's requests and events, on the pipe.
  Child c = StartChild({kMailview}, p[0],
                       {"XDG_RUNTIME_DIR=" + wayland.runtimeDir,
                        "WAYLAND_DISPLAY=" + wayland.socket, "GDK_BACKEND=wayland",
                        "DISPLAY", "WAYLAND_DEBUG=client"},
                       true);
  close(p[0]);
  EXPECT_TRUE(WriteAll(p[1], input));
  close(p[1]);
  // Shown: the title set, then the compositor's word that a surface has
  // entered its output.
  std::string trace;
  EXPECT_TRUE(ReadUntil(c.out, "set_title(\"" + title + "\")", ".enter(wl_output@", 60,
                        &trace))
      << trace.substr(trace.size() > 4000 ? trace.size() - 4000 : 0);
  KillCompositor(&wayland);
  std::thread drain([&] { trace += ReadToEnd(c.out); });
  int status = WaitForExit(c.pid, 60);
  drain.join();
  return status;
}

TEST(Faults, CompositorDiesUnderTheSendMailWindow) {
  EXPECT_EQ(0, StatusAfterCompositorDiesUnder("To: a@example.org\r\n\r\nhello\r\n",
                                              "Send Mail"));
}

TEST(Faults, CompositorDiesUnderTheRefusalBox) {
  EXPECT_EQ(0, StatusAfterCompositorDiesUnder(std::string(10000, 'x'), "Error"));
}

TEST(Faults, AGibibyteWithPausesIsReadToItsEnd) {
  int p[2];
  ASSERT_EQ(0, pipe2(p, O_CLOEXEC));
  Child c = StartChild({kRecord}, p[0]);
  close(p[0]);
  // Generated as it goes: one block of CR LF lines, written over and over.
  std::string block;
  while (block.size() < 65536)
    block += "0123456789 The quick brown fox jumps over the lazy dog.\r\n";
  const size_t total = size_t(1) << 30;
  const size_t pauseEvery = size_t(64) << 20;
  size_t written = 0, nextPause = pauseEvery;
  bool failed = false;
  int pauses = 0;
  while (written < total && !failed) {
    if (written >= nextPause) {
      // Let the reader empty the pipe and wait on it before going on.
      int queued = 1;
      for (int i = 0; i < 6000 && queued > 0; ++i) {
        ioctl(p[1], FIONREAD, &queued);
        if (queued > 0)
          usleep(10000);
      }
      EXPECT_EQ(0, queued);
      EXPECT_TRUE(WaitUntilWaitingForInput(c.pid, 60));
      nextPause += pauseEvery;
      ++pauses;
    }
    size_t at = written % block.size();
    size_t n = block.size() - at < total - written ? block.size() - at : total - written;
    ssize_t done = write(p[1], block.data() + at, n);
    if (done < 0 && errno == EINTR)
      continue;
    if (done < 0)
      failed = true;
    else
      written += done;
  }
  close(p[1]);
  EXPECT_FALSE(failed) << strerror(errno);
  EXPECT_EQ(total, written);
  EXPECT_EQ(15, pauses);
  EXPECT_EQ(0, WaitForExit(c.pid, 120));
  EXPECT_EQ(kRefusal, ReadToEnd(c.out));
}

// Opens a terminal whose keys are not echoed; both ends close on exec.
void OpenTerminal(int* master, int* slave) {
  ASSERT_EQ(0, openpty(master, slave, NULL, NULL, NULL));
  struct termios t;
  tcgetattr(*slave, &t);
  t.c_lflag &= ~ECHO;
  tcsetattr(*slave, TCSANOW, &t);
  fcntl(*master, F_SETFD, FD_CLOEXEC);
  fcntl(*slave, F_SETFD, FD_CLOEXEC);
}

TEST(Faults, NonBlockingStandardInputLosesNothing) {
  // A pipe: every part is written only once the reader waits for it.
  int p[2];
  ASSERT_EQ(0, pipe2(p, O_CLOEXEC));
  fcntl(p[0], F_SETFL, fcntl(p[0], F_GETFL) | O_NONBLOCK);
  Child c = StartChild({kRecord}, p[0]);
  close(p[0]);
  for (const char* part : {"To: a@example.org\r\n", "Subject: late\r", "\n\r\nbody"}) {
    EXPECT_TRUE(WaitUntilWaitingForInput(c.pid, 60));
    EXPECT_TRUE(WriteAll(p[1], part));
  }
  close(p[1]);
  EXPECT_EQ(0, WaitForExit(c.pid, 60));
  EXPECT_EQ("To: a@example.org\r\nSubject: late\r\n\r\nbody", Shown(ReadToEnd(c.out)));

  // A terminal: a line typed late, then end of file.
  int master, slave;
  OpenTerminal(&master, &slave);
  fcntl(slave, F_SETFL, fcntl(slave, F_GETFL) | O_NONBLOCK);
  c = StartChild({kRecord}, slave);
  EXPECT_TRUE(WaitUntilWaitingForInput(c.pid, 60));
  EXPECT_TRUE(WriteAll(master, "typed late\n"));
  EXPECT_TRUE(WaitUntilWaitingForInput(c.pid, 60));
  EXPECT_TRUE(WriteAll(master, "\x04"));
  EXPECT_EQ(0, WaitForExit(c.pid, 60));
  EXPECT_EQ("typed late\r\n", Shown(ReadToEnd(c.out)));
  close(master);
  close(slave);
}

TEST(Faults, TerminalHangingUpMidLineEndsTheReading) {
  // Once as a terminal that is only the program's input, once as its
  // controlling terminal, whose hangup also sends SIGHUP.
  for (bool controlling : {false, true}) {
    int master, slave;
    OpenTerminal(&master, &slave);
    std::vector<std::string> argv = {kRecord};
    if (controlling)
      argv = {"setsid", "--ctty", kRecord};
    Child c = StartChild(argv, slave);
    close(slave);
    // Waiting before anything is typed, it has read all it reads but the
    // terminal; the line has been taken once its count has grown by the
    // line's length. (Blocked in read() proves nothing: it may be blocked
    // still while the line is on its way.)
    EXPECT_TRUE(WaitUntilWaitingForInput(c.pid, 60));
    long before = BytesRead(c.pid);
    EXPECT_GE(before, 0);
    EXPECT_TRUE(WriteAll(master, "first line\nhalf a li"));
    EXPECT_TRUE(WaitUntilRead(c.pid, before + 11, 60)) << controlling;
    close(master);
    EXPECT_EQ(0, WaitForExit(c.pid, 60)) << controlling;
    std::string shown = Shown(ReadToEnd(c.out));
    // Whether the half-typed line survives the hangup is the kernel's affair.
    EXPECT_TRUE(shown == "first line\r\n" || shown == "first line\r\nhalf a li")
        << shown;
  }
}

}  // namespace
