// The harness itself, with the shell and coreutils as the programs run.
#include "harness.h"

#include <gtest/gtest.h>
#include <poll.h>
#include <stdlib.h>
#include <string.h>
#include <sys/mman.h>
#include <unistd.h>

#include <string>

namespace {

Result Shell(const std::string& script, const Options& o = Options(), Usage* usage = nullptr) {
  return RunProgram({"sh", "-c", script}, o, 60, usage);
}

TEST(Harness, RedirectsAndReportsTheEnd) {
  Options o;
  o.input = "a\r\nb\xff";
  Result r = Shell("cat", o);
  EXPECT_EQ("a\r\nb\xff", r.out);
  EXPECT_EQ(0, r.status);
  EXPECT_EQ(5u, r.written);
  EXPECT_EQ("", Shell("echo err >&2; exit 3").out);
  o.err = CAPTURE;
  EXPECT_EQ("err\n", Shell("echo err >&2; exit 3", o).out);
  EXPECT_EQ(3, Shell("echo err >&2; exit 3").status);
  EXPECT_EQ(-1, Shell("kill -9 $$").status);
  EXPECT_EQ(127, RunProgram({"/nonexistent/program"}).status);
  EXPECT_EQ(127, RunProgram({"no-such-program-on-the-path"}).status);
  // A writer whose reader ends early sees the pipe break; it is not killed.
  o.input = std::string(1 << 20, 'x');
  r = Shell("exit 0", o);
  EXPECT_TRUE(r.writeFailed);
  EXPECT_LT(r.written, o.input.size());
}

TEST(Harness, GivesEachKindOfStandardInput) {
  // What the child finds on fd 0, told by the shell and coreutils; for a
  // terminal, whether it is the controlling one (tty_nr in /proc/PID/stat).
  const char* script =
      "stat -L -c %F /dev/stdin 2>/dev/null || echo none; "
      "if [ -t 0 ]; then n=$(cut -d' ' -f7 /proc/$$/stat); "
      "  [ \"$(printf '%x %x' $((n >> 8 & 0xfff)) $((n & 0xff | n >> 12 & 0xfff00)))\" = "
      "    \"$(stat -L -c '%t %T' /dev/stdin)\" ] && echo controlling; fi; "
      "cat 2>/dev/null";
  struct {
    StdinKind kind;
    std::string expected;
  } cases[] = {
      {PIPE, "fifo\ntyped\n"},
      {FILE_, "regular file\ntyped\n"},
      {DEV_NULL, "character special file\n"},
      {CLOSED, "none\n"},
      {DIRECTORY, "directory\n"},
      {PTY, "character special file\ncontrolling\ntyped\n"},
      {GENERATED, "fifo\ngenerated\n"},
  };
  for (const auto& c : cases) {
    Options o;
    o.stdinKind = c.kind;
    o.input = c.kind == PTY ? "typed\n\x04" : "typed\n";
    o.generate = [](int fd) { WriteAll(fd, "generated\n"); };
    EXPECT_EQ(c.expected, Shell(script, o).out) << c.kind;
  }
  // An fd of the caller's, which stays the caller's.
  int p[2];
  ASSERT_EQ(0, pipe(p));
  Options o = Given(p[0]);
  ASSERT_TRUE(WriteAll(p[1], "given\n"));
  close(p[1]);
  EXPECT_EQ("fifo\ngiven\n", Shell(script, o).out);
  EXPECT_EQ(0, close(p[0]));
}

TEST(Harness, SetsAndRemovesVariables) {
  setenv("DISPLAY", ":99", 1);
  setenv("WAYLAND_DISPLAY", "wayland-9", 1);
  const char* script = "echo \"[${DISPLAY-unset}][${WAYLAND_DISPLAY-unset}][${EMPTY-unset}]\"";
  Options o;
  EXPECT_EQ("[:99][wayland-9][unset]\n", Shell(script, o).out);
  o.env = {"DISPLAY", "WAYLAND_DISPLAY=w", "EMPTY="};
  EXPECT_EQ("[unset][w][]\n", Shell(script, o).out);
  EXPECT_STREQ(":99", getenv("DISPLAY")) << "ours is left alone";
}

// Starts cat reading a pipe of ours; the pipe's write end, or -1.
int StartCatOnAPipe(Process* cat) {
  int p[2];
  if (pipe(p) != 0)
    return -1;
  bool started = Start(cat, {"cat"}, Given(p[0]));
  close(p[0]);
  if (!started)
    close(p[1]);
  return started ? p[1] : -1;
}

TEST(Harness, WaitsAreBoundedAndSeeWhatTheyWaitFor) {
  Process sleeper;
  ASSERT_TRUE(Start(&sleeper, {"sleep", "600"}));
  EXPECT_FALSE(Ended(sleeper));
  EXPECT_EQ(-2, WaitForExit(&sleeper, 0.2)) << "killed once the time is up";

  // cat waits for its input, takes what is written, and ends at its end,
  // which makes its exit fd readable.
  Process cat;
  int writer = StartCatOnAPipe(&cat);
  ASSERT_GE(writer, 0);
  long before = BytesRead(cat);
  ASSERT_GE(before, 0);
  ASSERT_TRUE(WriteAll(writer, "seen\n"));
  EXPECT_TRUE(WaitUntilRead(cat, before + 5, 60));
  std::string out;
  EXPECT_TRUE(ReadUntil(&cat, "se", "en\n", 60, &out));
  EXPECT_FALSE(Ended(cat));
  ASSERT_GE(cat.exitFd, 0);
  struct pollfd end = {cat.exitFd, POLLIN, 0};
  EXPECT_EQ(0, poll(&end, 1, 0));
  close(writer);
  EXPECT_EQ(1, poll(&end, 1, 60 * 1000));
  EXPECT_EQ(0, WaitForExit(&cat, 60));
  EXPECT_TRUE(Ended(cat));
}

TEST(Harness, SeesAProgramWaitForItsInput) {
  if (!SystemCallsCanBeSeen())
    GTEST_SKIP() << "the kernel shows system calls in another numbering here (an emulator?)";
  Process cat;
  int writer = StartCatOnAPipe(&cat);
  ASSERT_GE(writer, 0);
  EXPECT_TRUE(WaitUntilWaitingForInput(cat, 60));
  close(writer);
  EXPECT_EQ(0, WaitForExit(&cat, 60));
  EXPECT_FALSE(WaitUntilWaitingForInput(cat, 0.1)) << "gone";
}

TEST(Harness, PeakMemoryLeavesOutOurPeak) {
  // Our own peak, far above what we hold now, does not show in a small
  // child's figure. What the child holds at fork does (under ASan that is
  // tens of MiB of shadow and quarantine), so the bound is half our peak,
  // not a figure for cat alone.
  const size_t OURS = 256 << 20;
  void* block = mmap(nullptr, OURS, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  ASSERT_NE(block, MAP_FAILED);
  memset(block, 1, OURS);
  munmap(block, OURS);
  Usage small = {};
  Shell("cat >/dev/null", Options(), &small);
  EXPECT_GT(small.peakKiB, 0);
  EXPECT_LT(small.peakKiB, long(OURS >> 10) / 2);
  // ... while a child that holds 48 MB reports it, and the work it did.
  Usage large = {};
  EXPECT_EQ("48000000\n",
            Shell("x=$(head -c 48000000 /dev/zero | tr '\\0' a); echo ${#x}", Options(), &large).out);
  EXPECT_GT(large.peakKiB, 48000L);
  EXPECT_GT(large.cpuSeconds, small.cpuSeconds);
}

}  // namespace
