// Running the real mailview.exe from a Win32 test and working its windows
// from outside, the way a user or another program would.
#ifndef MAILVIEW_TESTS_WINE_CHILD_H_
#define MAILVIEW_TESTS_WINE_CHILD_H_

#include <windows.h>

#include <string>

// Upper bound for anything the tests wait for; generous, since the first
// window of a Wine session can take a while.
enum { WAIT_MS = 60000 };

// The Windows path of mailview.exe, from the MAILVIEW_EXE environment
// variable (tests/wine/run.sh sets it).
std::string MailviewExe();

// A started process. The destructor ends it if it is still running, so a
// failed test leaves nothing behind.
struct Child {
  PROCESS_INFORMATION pi = {};
  HANDLE writer = NULL;  // the thread that feeds a pipe, if any

  Child() = default;
  Child(const Child&) = delete;
  Child& operator=(const Child&) = delete;
  ~Child();

  bool started() const { return pi.hProcess != NULL; }
  // Waits for the process to end; returns its exit status, or -1 if it is
  // still running after `ms` milliseconds.
  long WaitExit(DWORD ms = WAIT_MS);
  // True when the feeding thread wrote every byte and closed the pipe
  // within WAIT_MS, that is, when the child read the pipe to its end.
  bool InputWritten();
};

// Starts `command_line` with `input` written to a pipe on its standard input
// (from a thread, then the pipe is closed). `pipe_size` is the pipe's
// buffer size: small to make the writer wait for the reader. `desktop`
// (station\desktop) is where the process runs; NULL for this one's.
void StartWithPipe(Child* child, const std::string& command_line,
                   const std::string& input, DWORD pipe_size = 4096,
                   const char* desktop = NULL);

// Starts `command_line` with standard input reading `path`.
void StartWithFile(Child* child, const std::string& command_line,
                   const std::string& path);

// Starts `command_line` with no standard input handle at all.
void StartWithoutStdin(Child* child, const std::string& command_line);

// Writes `bytes` to a new file in the temporary directory; returns its path.
std::string WriteTempFile(const std::string& name, const std::string& bytes);

// Waits for a visible top-level window titled `title` of process `pid`
// (any process but this one when `pid` is 0). NULL after WAIT_MS.
HWND WaitForWindow(DWORD pid, const char* title);

// The visible top-level windows of process `pid` titled `title`, right now.
int CountWindows(DWORD pid, const char* title);

// The whole text of a window of another process, byte for byte.
std::string WindowText(HWND hwnd);

// The window's class name.
std::string ClassName(HWND hwnd);

// The window of the thread `tid` that has the keyboard focus, or NULL.
HWND FocusOf(DWORD tid);

// Waits until `done()` holds, polling; false after WAIT_MS.
template <class Predicate>
bool WaitFor(Predicate done) {
  for (DWORD start = GetTickCount(); !done(); Sleep(10)) {
    if (GetTickCount() - start > WAIT_MS)
      return false;
  }
  return true;
}

// Makes `hwnd` the foreground window and waits until it is; false if it
// never becomes foreground.
bool BringToFront(HWND hwnd);

// Presses and releases a key through the system's input queue.
void PressKey(WORD vk);

// Clicks the left mouse button at the centre of `hwnd`, as the mouse
// messages that `hwnd` gets. (Mouse input through the system queue also
// moves the X pointer, which makes it race with the X server under load.)
void Click(HWND hwnd);

#endif  // MAILVIEW_TESTS_WINE_CHILD_H_
