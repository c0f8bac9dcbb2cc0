// What only Linux gives the harness: what it tells of a running program in
// /proc (the system call it is blocked in, how much it has read), a pidfd
// for each child, and the calls that harness-posix.cpp finds in
// harness_system.h.
#include "harness.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>

#include "harness_system.h"

namespace {

// The system calls a reader may wait for its input in, by the names they
// have on this architecture (some have no poll or select of their own).
const long INPUT_WAITS[] = {
    SYS_read, SYS_pselect6, SYS_ppoll, SYS_epoll_pwait,
#ifdef SYS_poll
    SYS_poll,
#endif
#ifdef SYS_select
    SYS_select,
#endif
#ifdef SYS_epoll_wait
    SYS_epoll_wait,
#endif
};

}  // namespace

void CloseOnExecFrom(int first) {
  close_range(first, ~0U, CLOSE_RANGE_CLOEXEC);
}

void TakeControllingTerminal(int fd) {
  ioctl(fd, TIOCSCTTY, 0);
}

int ExitFd(pid_t pid) {
  return static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
}

pid_t WaitForChild(pid_t pid, int* status, int options, Usage* usage) {
  struct rusage used = {};
  pid_t done = wait4(pid, status, options, &used);
  if (done == pid && usage) {
    usage->peakKiB = used.ru_maxrss;
    usage->cpuSeconds = used.ru_utime.tv_sec + used.ru_stime.tv_sec +
                        (used.ru_utime.tv_usec + used.ru_stime.tv_usec) / 1e6;
  }
  return done;
}

bool SystemCallsCanBeSeen() {
  // Read while it is being read, the file names that very read.
  int fd = open("/proc/self/syscall", O_RDONLY | O_CLOEXEC);
  if (fd < 0)
    return false;
  char text[64] = {};
  ssize_t n = read(fd, text, sizeof text - 1);
  close(fd);
  char* end;
  long number = strtol(text, &end, 10);
  return n > 0 && *end == ' ' && number == SYS_read;
}

bool WaitUntilWaitingForInput(const Process& p, double seconds) {
  std::string path = "/proc/" + std::to_string(p.pid) + "/syscall";
  bool gone = false;
  bool waiting = WaitUntil(seconds, [&] {
    std::ifstream file(path);
    std::string first, fd;
    if (!(file >> first))
      return gone = true;
    file >> fd;
    char* end;
    long number = strtol(first.c_str(), &end, 10);
    // A read counts only on standard input: the dynamic loader reads too.
    if (*end != '\0' || (number == SYS_read && fd != "0x0"))
      return false;
    for (long wait : INPUT_WAITS)
      if (number == wait)
        return true;
    return false;
  });
  return waiting && !gone;
}

long BytesRead(const Process& p) {
  std::ifstream file("/proc/" + std::to_string(p.pid) + "/io");
  std::string key;
  long value;
  while (file >> key >> value)
    if (key == "rchar:")
      return value;
  return -1;
}

bool WaitUntilRead(const Process& p, long bytes, double seconds) {
  bool gone = false;
  bool read = WaitUntil(seconds, [&] {
    long n = BytesRead(p);
    gone = n < 0;
    return gone || n >= bytes;
  });
  return read && !gone;
}
