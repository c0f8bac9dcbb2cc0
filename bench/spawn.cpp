// Starting programs for measurement on Linux.
#include "spawn.h"

#include <algorithm>

#include <errno.h>
#include <fcntl.h>
#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

double Now() {
  struct timespec ts;
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return ts.tv_sec + ts.tv_nsec / 1e9;
}

pid_t Spawn(const char* const argv[], int stdinFd, int stdoutFd,
            bool noDisplay) {
  pid_t pid = fork();
  if (pid != 0)
    return pid;
  // The benchmarks run on one thread, so the child may use the C library.
  int null = open("/dev/null", O_RDWR | O_CLOEXEC);
  if (null < 0)
    _exit(127);
  dup2(stdinFd, 0);
  dup2(stdoutFd >= 0 ? stdoutFd : null, 1);
  dup2(null, 2);
  if (noDisplay) {
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
  }
  execvp(argv[0], const_cast<char* const*>(argv));
  _exit(127);
}

int WaitExit(pid_t pid, Usage* usage) {
  int status;
  struct rusage ru;
  pid_t done;
  do {
    done = wait4(pid, &status, 0, &ru);
  } while (done < 0 && errno == EINTR);
  if (done != pid)
    return -1;
  if (usage) {
    usage->peakKiB = ru.ru_maxrss;
    usage->cpuSeconds = ru.ru_utime.tv_sec + ru.ru_stime.tv_sec +
                        (ru.ru_utime.tv_usec + ru.ru_stime.tv_usec) / 1e6;
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

int ExitFd(pid_t pid) {
  return static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
}

double Median(double* values, int n) {
  std::sort(values, values + n);
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

const char* Judged(double ratio, double goal) {
  static char text[48];
  double shown = round(ratio * 100) / 100;
  snprintf(text, sizeof text, "%.2f (<= %.2f %s)", shown, goal,
           shown <= goal + 1e-9 ? "met" : "MISSED");
  return text;
}
