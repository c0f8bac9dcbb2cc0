// What only Windows has, beside the harness's common contract (harness.h):
// a program started from a raw command line, on another window station's
// desktop, or watched though another program started it; where
// mailview.exe is; and windows found and worked from outside, as a user or
// another program would.
#ifndef MAILVIEW_TESTS_HARNESS_WIN32_H_
#define MAILVIEW_TESTS_HARNESS_WIN32_H_

#include <windows.h>

#include <string>
#include <vector>

#include "harness.h"

// A PIPE holds this many bytes unread, so its writer finishes only once the
// program has read all but the last of them. (A program is given no
// standard output or error.)
enum { PIPE_BUFFER = 4096 };

// `argv` as one command line, each argument quoted as the C runtime needs
// to split the line into `argv` again.
std::string CommandLine(const std::vector<std::string>& argv);

// Starts `commandLine` as it is, as Start starts its arguments: cmd /c takes
// the rest of its line by rules of its own, which CommandLine does not
// write. On `desktop` ("station\\desktop") when one is given, not ours.
bool StartCommandLine(Process* process, const std::string& commandLine,
                      const Options& options = Options(), const char* desktop = NULL);

// Watches the running process `pid`, which another program started, as if
// Start had: WaitForExit, Ended, Kill and the destructor work on it. False
// when it cannot be opened.
bool Watch(Process* process, DWORD pid);

// The Windows path of mailview.exe, from the MAILVIEW_EXE variable
// (tests/wine/run.sh sets it); the command line that runs it as a mail
// program would.
std::string MailviewExe();
std::string MailviewCommand();

// Waits up to `seconds` (0: looks once) for a visible top-level window
// titled `title` of process `pid` (of any process but this one when `pid`
// is 0); NULL if none came.
HWND WaitForWindow(DWORD pid, const char* title, double seconds);

// The windows inside `hwnd`, at any depth.
std::vector<HWND> Children(HWND hwnd);

// The whole text of a window of another process, byte for byte;
// "<no answer>" when its thread did not answer within a minute.
std::string WindowText(HWND hwnd);

// The window's class name.
std::string ClassName(HWND hwnd);

// The window of the thread `tid` that has the keyboard focus, or NULL.
HWND FocusOf(DWORD tid);

// Makes `hwnd`'s top-level window the foreground one (trying for up to a
// minute), then presses and releases `vk` through the system's input
// queue. False, and no key pressed, if it never became the foreground.
bool PressKey(HWND hwnd, WORD vk);

// Makes `hwnd`'s top-level window the foreground one as PressKey does, then
// clicks the left mouse button at the centre of `hwnd`, as the mouse
// messages that `hwnd` gets. (Mouse input through the system queue also
// moves the X pointer, which makes it race with the X server under load.)
bool Click(HWND hwnd);

#endif  // MAILVIEW_TESTS_HARNESS_WIN32_H_
