// What the POSIX harness (harness-posix.cpp) needs of the system that POSIX
// does not give. On Linux in harness-linux.cpp.
#ifndef MAILVIEW_TESTS_HARNESS_SYSTEM_H_
#define MAILVIEW_TESTS_HARNESS_SYSTEM_H_

#include <sys/types.h>

#include "harness.h"

// In a child between fork and exec, so only calls that are safe there:
// marks every fd from `first` up close-on-exec.
void CloseOnExecFrom(int first);

// In the same child, which leads a session of its own: makes `fd`, a
// terminal, its controlling terminal.
void TakeControllingTerminal(int fd);

// An fd that turns readable once the child `pid` has ended, or -1.
int ExitFd(pid_t pid);

// waitpid() for the child `pid` with `options`, which also sets *usage
// (when given) to what the child used, once it has been reaped.
pid_t WaitForChild(pid_t pid, int* status, int options, Usage* usage);

#endif  // MAILVIEW_TESTS_HARNESS_SYSTEM_H_
