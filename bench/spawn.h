// Starting the programs under measurement and collecting their ends.
#ifndef MAILVIEW_BENCH_SPAWN_H_
#define MAILVIEW_BENCH_SPAWN_H_

#include <sys/types.h>

// Seconds on the monotonic clock.
double Now();

// Starts argv[0] (looked up in PATH) with `stdinFd` as its standard input,
// `stdoutFd` (or /dev/null when -1) as its standard output and /dev/null as
// its standard error. With `noDisplay` it gets no DISPLAY or
// WAYLAND_DISPLAY. The child is forked, so its peak memory figure starts
// from the resident memory the caller holds at that moment (not from the
// caller's peak, as a vfork or posix_spawn child's would): the caller should
// hold little of its own.
// Returns its pid, or -1 when no process could be started.
pid_t Spawn(const char* const argv[], int stdinFd, int stdoutFd,
            bool noDisplay);

// What a process used, as the kernel counted it.
struct Usage {
  long peakKiB;       // peak resident memory
  double cpuSeconds;  // user and system time
};

// Waits for `pid` to end and sets *usage (if not null) to what it used.
// Returns its exit status, or -1 when a signal ended it.
int WaitExit(pid_t pid, Usage* usage);

// An fd that becomes readable when `pid` ends, or -1.
int ExitFd(pid_t pid);

// The median of values[0..n), n >= 1. Sorts `values`.
double Median(double* values, int n);

// A ratio as the tables show it, two decimals, with its verdict against a
// goal it must not exceed: "1.03 (<= 1.05 met)". The figure shown is the
// one judged. Returns a static buffer, overwritten by the next call.
const char* Judged(double ratio, double goal);

#endif  // MAILVIEW_BENCH_SPAWN_H_
