// Starting the real programs by hand, for tests that need more control than
// run_process.h gives: a standard input prepared by the test, a writer that
// generates its input as it goes, a display that dies, a terminal that hangs up.
#ifndef MAILVIEW_TESTS_CHILD_H_
#define MAILVIEW_TESTS_CHILD_H_

#include <sys/types.h>

#include <string>
#include <vector>

struct Child {
  pid_t pid = -1;
  int out = -1;  // the read end of a pipe on the child's standard output
};

// Starts `argv` (argv[0] a path, or a name looked up in PATH) with `in` as
// standard input (-1: none), `env` changing the environment (NAME=value sets,
// a bare NAME removes), and standard output on a pipe.
// The caller keeps `in` and closes it when it likes. With `errorsToo` the
// pipe also carries the child's standard error.
Child StartChild(const std::vector<std::string>& argv, int in,
                 const std::vector<std::string>& env = {},
                 bool errorsToo = false);

// Reads `fd` to its end and closes it.
std::string ReadToEnd(int fd);

// Waits up to `seconds` for `pid` to end. Returns its exit status, -1 when
// a signal ended it, or -2 when it did not end in time (it is then killed).
int WaitForExit(pid_t pid, int seconds);

// Waits up to `seconds` until `pid` is blocked in a system call that waits
// for input (read, poll, select and their kin). True when it is.
bool WaitUntilWaitingForInput(pid_t pid, int seconds);

// The bytes `pid` has taken with read() and its kin so far (rchar in
// /proc/PID/io), or -1 when that cannot be read.
long BytesRead(pid_t pid);

// Waits up to `seconds` until `pid` has read at least `bytes` bytes in all.
bool WaitUntilRead(pid_t pid, long bytes, int seconds);

// A private X server (Xvfb) that a test may kill.
struct XServer {
  pid_t pid = -1;
  std::string display;  // ":N"
};

// Starts one; false when Xvfb could not be started.
bool StartXServer(XServer* server);

// Waits up to `seconds` for a window named exactly `name` on the server.
bool WaitForWindow(const XServer& server, const std::string& name, int seconds);

// Kills the server at once and reaps it.
void KillXServer(XServer* server);

// A private Wayland compositor (weston's headless back end) that a test may
// kill, with a runtime directory of its own.
struct Compositor {
  pid_t pid = -1;
  std::string runtimeDir;  // for XDG_RUNTIME_DIR
  std::string socket;      // for WAYLAND_DISPLAY
};

// Starts one and waits until it accepts connections; false when it did not.
bool StartCompositor(Compositor* compositor);

// Kills the compositor at once, reaps it and removes its runtime directory.
void KillCompositor(Compositor* compositor);

// Reads `fd` until what has been read holds `first` and, after it, `then`,
// or until `seconds` have gone. True when both were seen. What was read is
// appended to *text.
bool ReadUntil(int fd, const std::string& first, const std::string& then,
               int seconds, std::string* text);

#endif  // MAILVIEW_TESTS_CHILD_H_
