// What the POSIX harness (harness-posix.cpp) needs of the system that POSIX
// does not give; on Linux in harness-linux.cpp.
#ifndef MAILVIEW_TESTS_HARNESS_SYSTEM_H_
#define MAILVIEW_TESTS_HARNESS_SYSTEM_H_

#include "harness.h"

// In a child between fork and exec, so with calls safe there only: marks
// every fd from `first` up close-on-exec; makes the terminal `fd` the
// controlling one of the session the child leads.
void CloseOnExecFrom(int first);
void TakeControllingTerminal(int fd);

// An fd that turns readable once the child `pid` has ended, or -1.
int ExitFd(pid_t pid);

// waitpid() with `options`, setting *usage (when given) once it reaped.
pid_t WaitForChild(pid_t pid, int* status, int options, Usage* usage);

#endif  // MAILVIEW_TESTS_HARNESS_SYSTEM_H_
