#include "spawn.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <stdlib.h>
#include <string.h>
#include <sys/mman.h>
#include <unistd.h>

#include <string>

namespace {

// Runs `sh -c script` with `input` on a pipe as its standard input and
// returns what it wrote; sets *status and *peakKiB.
std::string Shell(const char* script, const std::string& input, bool noDisplay,
                  int* status, Usage* usage = nullptr) {
  int in[2], out[2];
  if (pipe2(in, O_CLOEXEC) != 0 || pipe2(out, O_CLOEXEC) != 0)
    abort();
  const char* argv[] = {"sh", "-c", script, nullptr};
  pid_t pid = Spawn(argv, in[0], out[1], noDisplay);
  close(in[0]);
  close(out[1]);
  if (write(in[1], input.data(), input.size()) != ssize_t(input.size()))
    ADD_FAILURE() << "short write";
  close(in[1]);
  std::string result;
  char buf[4096];
  for (ssize_t n; (n = read(out[0], buf, sizeof buf)) > 0;)
    result.append(buf, n);
  close(out[0]);
  *status = WaitExit(pid, usage);
  return result;
}

TEST(SpawnTest, RedirectsAndReportsTheEnd) {
  int status;
  EXPECT_EQ(Shell("cat", "a\r\nb\xff", false, &status), "a\r\nb\xff");
  EXPECT_EQ(status, 0);
  EXPECT_EQ(Shell("echo err >&2; exit 3", "", false, &status), "");
  EXPECT_EQ(status, 3);
  EXPECT_EQ(Shell("kill -9 $$", "", false, &status), "");
  EXPECT_EQ(status, -1);

  const char* missing[] = {"/nonexistent/program", nullptr};
  EXPECT_EQ(WaitExit(Spawn(missing, 0, -1, false), nullptr), 127);
}

TEST(SpawnTest, TakesTheDisplayAwayOnlyWhenAsked) {
  setenv("DISPLAY", ":99", 1);
  setenv("WAYLAND_DISPLAY", "wayland-9", 1);
  const char* script = "echo \"[$DISPLAY][$WAYLAND_DISPLAY]\"";
  int status;
  EXPECT_EQ(Shell(script, "", true, &status), "[][]\n");
  EXPECT_EQ(Shell(script, "", false, &status), "[:99][wayland-9]\n");
  EXPECT_STREQ(getenv("DISPLAY"), ":99") << "ours is left alone";
}

TEST(SpawnTest, PeakMemoryLeavesOutOurPeak) {
  // Our own peak, far above what we hold now, does not show in a small
  // child's figure. What the child holds at fork does (under ASan that is
  // tens of MiB of shadow and quarantine), so the bound is half our peak,
  // not a figure for cat alone.
  const size_t OURS = 256 << 20;
  void* block = mmap(nullptr, OURS, PROT_READ | PROT_WRITE,
                     MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  ASSERT_NE(block, MAP_FAILED);
  memset(block, 1, OURS);
  munmap(block, OURS);
  int status;
  Usage small = {};
  Shell("cat >/dev/null", "", false, &status, &small);
  EXPECT_GT(small.peakKiB, 0);
  EXPECT_LT(small.peakKiB, long(OURS >> 10) / 2);
  // ... while a child that holds 48 MB reports it, and the work it did.
  Usage large = {};
  std::string out = Shell(
      "x=$(head -c 48000000 /dev/zero | tr '\\0' a); echo ${#x}", "", false,
      &status, &large);
  EXPECT_EQ(out, "48000000\n");
  EXPECT_GT(large.peakKiB, 48000L);
  EXPECT_GT(large.cpuSeconds, small.cpuSeconds);
}

TEST(SpawnTest, ExitFdBecomesReadableWhenTheChildEnds) {
  int in[2];
  ASSERT_EQ(pipe2(in, O_CLOEXEC), 0);
  const char* argv[] = {"cat", nullptr};
  pid_t pid = Spawn(argv, in[0], -1, false);
  close(in[0]);
  int fd = ExitFd(pid);
  ASSERT_GE(fd, 0);
  struct pollfd p = {fd, POLLIN, 0};
  EXPECT_EQ(poll(&p, 1, 0), 0) << "cat waits for its input";
  close(in[1]);
  EXPECT_EQ(poll(&p, 1, 60 * 1000), 1);
  EXPECT_EQ(WaitExit(pid, nullptr), 0);
  close(fd);
}

TEST(SpawnTest, Median) {
  double odd[] = {5, 1, 3};
  EXPECT_EQ(Median(odd, 3), 3);
  double even[] = {4, 1, 3, 2};
  EXPECT_EQ(Median(even, 4), 2.5);
  double one[] = {7};
  EXPECT_EQ(Median(one, 1), 7);
}

TEST(SpawnTest, JudgesTheFigureShown) {
  EXPECT_STREQ(Judged(0.5, 1.05), "0.50 (<= 1.05 met)");
  EXPECT_STREQ(Judged(1.05, 1.05), "1.05 (<= 1.05 met)");
  EXPECT_STREQ(Judged(1.0549, 1.05), "1.05 (<= 1.05 met)");
  EXPECT_STREQ(Judged(1.0551, 1.05), "1.06 (<= 1.05 MISSED)");
  EXPECT_STREQ(Judged(2.3, 1.5), "2.30 (<= 1.50 MISSED)");
}

}  // namespace
