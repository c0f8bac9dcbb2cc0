// Starting programs for the tests and the benchmarks, and watching them run:
// a given standard input, arguments and environment; waits bounded on the
// monotonic clock; how each program ended and what the kernel says it used.
// On POSIX in harness-posix.cpp, with what only Linux gives in
// harness-linux.cpp; on Windows in harness-win32.cpp, for a pipe, a file or
// no input, with what only Windows has in harness-win32.h. Displays and
// windows: displays.h.
#ifndef MAILVIEW_TESTS_HARNESS_H_
#define MAILVIEW_TESTS_HARNESS_H_

#include <stddef.h>

#include <functional>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/types.h>

#include <thread>
#endif

// What a program gets as its standard input. Windows has the first three.
enum StdinKind {
  PIPE,       // a pipe fed `input` from a thread of ours, then closed
  FILE_,      // a temporary file holding `input`
  CLOSED,     // no standard input at all
  DEV_NULL,   // /dev/null
  DIRECTORY,  // a directory opened for reading
  PTY,        // a new terminal without echo, the program's controlling one,
              // `input` typed on it; it hangs up only once the program ended
  GENERATED,  // a pipe written by `generate` on a thread, closed on return
  GIVEN_FD,   // `fd`, which the caller prepared and keeps
};

#ifndef _WIN32
// Where standard output or standard error goes: one of these, or an fd
// the caller prepared and keeps.
enum { CAPTURE = -1, INHERIT = -2, DISCARD = -3 };
#endif

struct Options {
  StdinKind stdinKind = PIPE;
  std::string input;  // for PIPE, FILE_ and PTY
#ifndef _WIN32
  std::function<void(int fd)> generate;  // for GENERATED
  int fd = -1;                           // for GIVEN_FD
  // NAME=value sets a variable, a bare NAME removes it; the rest of our
  // environment goes along.
  std::vector<std::string> env;
  int out = CAPTURE;  // CAPTURE: on a pipe that we read (Process::out)
  int err = INHERIT;  // CAPTURE: along with standard output
#endif
};

// A started program. Never copied; once it is destroyed, a program still
// running has been killed and reaped, so a failed test leaves nothing.
struct Process {
#ifdef _WIN32
  HANDLE handle = NULL;    // the process, or NULL
  DWORD pid = 0, tid = 0;  // its id, and its first thread's (its windows')
  HANDLE writer = NULL;    // the harness's: the thread that feeds a PIPE
#else
  pid_t pid = -1;
  int out = -1;          // the read end of its captured standard output, or -1
  int exitFd = -1;       // readable once the program has ended (a pidfd), or -1
  std::thread writer;    // the harness's: the thread that writes its input
  int terminal = -1;     // the harness's: the PTY's master side
  std::string tempFile;  // the harness's: FILE_'s file
#endif
  // For PIPE and PTY, valid once WaitForExit has returned: the bytes of
  // `input` written, and whether a write failed (EPIPE, say).
  size_t written = 0;
  bool writeFailed = false;

  Process() = default;
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;
  ~Process();
};

// What a process used, as the kernel counted it (not on Windows). Its peak
// counts from the resident memory we held when we forked it, not from our
// peak: a caller that measures should hold little of its own.
struct Usage {
  long peakKiB;       // peak resident memory
  double cpuSeconds;  // user and system time
};

// Seconds on the monotonic clock.
double Now();

// Asks `done` every 10 ms until it holds (true) or `seconds` have gone.
bool WaitUntil(double seconds, const std::function<bool()>& done);

// Starts argv[0] (a path, or a name looked up in the PATH it is given)
// with `argv` as `options` say, and no fd of ours but its standard streams.
// False when no process could be made, or the input is of a kind this
// system lacks; a program that cannot be run ends with status 127. On
// Windows, where it is not started, the arguments go as one command line
// quoted for the C runtime, and it gets our inheritable handles too.
bool Start(Process* process, const std::vector<std::string>& argv,
           const Options& options = Options());

// Waits up to `seconds` for the program to end, reaps it, and waits for
// the writer of its input. Returns its exit status, -1 when a signal ended
// it (on Windows, when its status is 0x80000000 or above: an exception's),
// or -2 when it had not ended in time (it is then killed). Sets *usage
// when given.
int WaitForExit(Process* process, double seconds, Usage* usage = nullptr);

// True when the program has ended (reaped or not).
bool Ended(const Process& process);

// Kills the program at once and reaps it; nothing if it has been reaped.
void Kill(Process* process);

#ifndef _WIN32
// Writes all of `bytes` to `fd`; false when a write failed.
bool WriteAll(int fd, const std::string& bytes);

// Opens a new terminal whose keys are not echoed; both its sides close on
// exec. False when none could be had.
bool OpenTerminal(int* master, int* slave);

// Reads the captured standard output to its end, or for `seconds` at most,
// and closes it.
std::string ReadToEnd(Process* process, double seconds);

// Reads the captured standard output until what has been read holds
// `first` and, after it, `then`, or until `seconds` have gone. True when
// both were seen. What was read is appended to *text.
bool ReadUntil(Process* process, const std::string& first,
               const std::string& then, double seconds, std::string* text);

// Options for a program whose standard input is `input` on a pipe, closed
// once written; `env` as in Options, standard error sent to `err`.
Options Piped(const std::string& input,
              const std::vector<std::string>& env = {}, int err = INHERIT);

// Options for a program whose standard input is `fd`, which the caller
// prepared and keeps.
Options Given(int fd);

struct Result {
  int status;  // as WaitForExit gives it
  std::string out;
  size_t written;
  bool writeFailed;
};

// Starts `argv`, reads its output to the end and waits for it, all within
// `seconds`. Sets *usage as WaitForExit does.
Result RunProgram(const std::vector<std::string>& argv,
                  const Options& options = Options(), double seconds = 60,
                  Usage* usage = nullptr);

// True when the kernel shows the system calls of the programs we start in
// the numbers this harness was built with, as WaitUntilWaitingForInput
// needs: not so under an emulator such as qemu-user, where every program
// we can watch is one of the host's.
bool SystemCallsCanBeSeen();

// Waits up to `seconds` until the program is blocked in a system call that
// waits for input (read on fd 0, poll, select and their kin).
bool WaitUntilWaitingForInput(const Process& process, double seconds);

// The bytes the program has taken with read() and its kin so far (rchar
// in /proc/PID/io), or -1 when that cannot be read.
long BytesRead(const Process& process);

// Waits up to `seconds` until the program has read `bytes` bytes in all.
bool WaitUntilRead(const Process& process, long bytes, double seconds);
#endif  // _WIN32

#endif  // MAILVIEW_TESTS_HARNESS_H_
