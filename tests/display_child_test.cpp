// The real program's display child on a private X server: however it ends,
// the program ends with 0; it goes when the program goes; and without a
// display there is none.
#include <gtest/gtest.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <fcntl.h>
#include <signal.h>
#include <stdlib.h>
#include <string.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "displays.h"
#include "harness.h"

namespace {

const char* const kMailview = MAILVIEW_EXE;
const char kMail[] = "To: a@example.org\r\n\r\nhello\r\n";

// The process ids that `pid` has as children.
std::vector<pid_t> ChildrenOf(pid_t pid) {
  std::string id = std::to_string(pid);
  std::ifstream file("/proc/" + id + "/task/" + id + "/children");
  std::vector<pid_t> children;
  for (pid_t c; file >> c;)
    children.push_back(c);
  return children;
}

// mailview run under strace, which records how each of its processes ends
// and which of them fork (it lets go of any that runs another program, such
// as the session bus GTK may start). True when strace can trace here.
struct Traced {
  std::string log;
  std::vector<std::string> argv;
};

bool TraceMailview(Traced* t) {
  char path[] = "/tmp/mailview-trace-XXXXXX";
  int fd = mkstemp(path);
  if (fd < 0)
    return false;
  close(fd);
  t->log = path;
  // In a build with sanitizers: LeakSanitizer cannot check a traced
  // process, and the crash below is to end the child as it would anywhere.
  const char* asan = getenv("ASAN_OPTIONS");
  std::string options =
      std::string(asan ? asan : "") + (asan ? ":" : "") + "detect_leaks=0:handle_segv=0";
  t->argv = {"strace", "-f", "-qq", "-b", "execve", "-o", t->log, "-E", "ASAN_OPTIONS=" + options,
             "-e", "trace=clone,clone3,fork,vfork,exit_group", "--"};
  Options quiet;
  quiet.stdinKind = CLOSED;
  if (RunProgram({"strace", "-o", "/dev/null", "true"}, quiet).status != 0)
    return false;
  t->argv.push_back(kMailview);
  return true;
}

// The lines strace recorded for process `pid`.
std::string TraceOf(const Traced& t, pid_t pid) {
  std::ifstream file(t.log);
  std::string line, lines, prefix = std::to_string(pid) + " ";
  while (std::getline(file, line))
    if (line.compare(0, prefix.size(), prefix) == 0)
      lines += line + "\n";
  return lines;
}

// The Send Mail window on `x` once it is mapped, and the process that shows
// it (_NET_WM_PID).
Window SendMailWindow(const XServer& x, pid_t* shower) {
  Window w = strtoul(FindWindow("Send Mail", 60, x.display).c_str(), NULL, 10);
  Display* d = XOpenDisplay(x.display.c_str());
  std::vector<long> pid = d && w ? Property(d, w, "_NET_WM_PID") : std::vector<long>();
  *shower = pid.size() == 1 ? static_cast<pid_t>(pid[0]) : -1;
  if (d)
    XCloseDisplay(d);
  return w;
}

// Says on `d`'s root window, as a window manager would, that the time of the
// user's last input is read from the window each toplevel names in
// _NET_WM_USER_TIME_WINDOW: GDK then sets a property on that window at each
// key pressed.
void ClaimUserTimeWindows(Display* d) {
  Window root = DefaultRootWindow(d);
  Window wm = XCreateSimpleWindow(d, root, 0, 0, 1, 1, 0, 0, 0);
  Atom check = XInternAtom(d, "_NET_SUPPORTING_WM_CHECK", False);
  for (Window w : {root, wm})
    XChangeProperty(d, w, check, XA_WINDOW, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(&wm), 1);
  Atom supported[] = {XInternAtom(d, "_NET_WM_USER_TIME_WINDOW", False),
                      XInternAtom(d, "_NET_WM_USER_TIME", False)};
  XChangeProperty(d, root, XInternAtom(d, "_NET_SUPPORTED", False), XA_ATOM, 32,
                  PropModeReplace, reinterpret_cast<unsigned char*>(supported), 2);
  XSync(d, False);
}

// Destroys the user-time window of `window`, which GDK does not watch, and
// presses a key in `window`: GDK's next request on it fails with BadWindow,
// an error no GDK trap takes.
void ProvokeXError(Display* d, const XServer& x, Window window) {
  std::vector<long> timeWindow = Property(d, window, "_NET_WM_USER_TIME_WINDOW");
  ASSERT_EQ(1u, timeWindow.size());
  XDestroyWindow(d, timeWindow[0]);
  XSync(d, False);
  EXPECT_EQ(0, RunXTool({"xdotool", "windowfocus", "--sync", std::to_string(window), "key", "a"},
                        x.display).status);
}

TEST(DisplayChild, HoweverItEndsTheProgramEndsWithZero) {
  Traced t;
  if (!TraceMailview(&t))
    GTEST_SKIP() << "strace cannot trace here";
  struct rlimit noCore = {0, 0};
  setrlimit(RLIMIT_CORE, &noCore);  // for the crashes below
  struct Case {
    const char* fault;
    std::function<void(Display*, const XServer&, Window, pid_t)> cause;
    const char* childEnd;  // as strace records it
  };
  const Case cases[] = {
      {"SIGSEGV", [](Display*, const XServer&, Window, pid_t c) { kill(c, SIGSEGV); },
       "+++ killed by SIGSEGV"},
      {"SIGABRT", [](Display*, const XServer&, Window, pid_t c) { kill(c, SIGABRT); },
       "+++ killed by SIGABRT"},
      {"X error", [](Display* d, const XServer& x, Window w, pid_t) { ProvokeXError(d, x, w); },
       "exit_group(1)"},  // GDK's own end on an X error
      {"window destroyed", [](Display* d, const XServer&, Window w, pid_t) {
         XDestroyWindow(d, w);
         XSync(d, False);
       }, "exit_group(0)"},  // the dialog ends, as no one can close it
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.fault);
    XServer x;
    ASSERT_TRUE(StartXServer(&x));
    Display* d = XOpenDisplay(x.display.c_str());
    ASSERT_NE(nullptr, d);
    ClaimUserTimeWindows(d);
    Process c;
    EXPECT_TRUE(
        Start(&c, t.argv, Piped(kMail, {"DISPLAY=" + x.display, "WAYLAND_DISPLAY"}, CAPTURE)));
    EXPECT_NE("", FindWindow("Send Mail", 60, x.display));
    std::vector<pid_t> strace = ChildrenOf(c.pid);
    pid_t program = strace.size() == 1 ? strace[0] : -1, shower;
    Window window = SendMailWindow(x, &shower);
    EXPECT_NE(program, shower) << "the window is not shown by a child";
    ASSERT_GT(shower, 1);
    k.cause(d, x, window, shower);
    int status = WaitForExit(&c, 60);
    EXPECT_EQ(0, status);
    if (status == -2 && program > 1)
      kill(program, SIGKILL);  // strace was killed, the program may not be
    EXPECT_NE(std::string::npos, TraceOf(t, shower).find(k.childEnd)) << TraceOf(t, shower);
    EXPECT_NE(std::string::npos, TraceOf(t, program).find("exit_group(0)"))
        << TraceOf(t, program);
    XCloseDisplay(d);
    KillXServer(&x);
  }
  unlink(t.log.c_str());
}

// The first word after `key` in /proc/PID/status, or "" when there is none.
std::string StatusOf(pid_t pid, const std::string& key) {
  std::ifstream file("/proc/" + std::to_string(pid) + "/status");
  for (std::string line; std::getline(file, line);) {
    std::istringstream fields(line);
    std::string name, value;
    fields >> name >> value;
    if (name == key)
      return value;
  }
  return "";
}

// Whether `signal` is in the signal set `mask` of /proc/PID/status.
bool InMask(pid_t pid, const std::string& mask, int signal) {
  return (strtoull(StatusOf(pid, mask).c_str(), NULL, 16) >> (signal - 1)) & 1;
}

// True when `pid` is gone, or ending, or has SIGKILL pending.
bool Doomed(pid_t pid) {
  std::string state = StatusOf(pid, "State:");
  return state == "" || state == "Z" || state == "X" ||
         InMask(pid, "SigPnd:", SIGKILL) || InMask(pid, "ShdPnd:", SIGKILL);
}

TEST(DisplayChild, GoesWhenTheProgramIsKilled) {
  // Orphans come to this process, which can then wait for the child.
  ASSERT_EQ(0, prctl(PR_SET_CHILD_SUBREAPER, 1));
  for (int signal : {SIGTERM, SIGKILL}) {
    SCOPED_TRACE(strsignal(signal));
    XServer x;
    ASSERT_TRUE(StartXServer(&x));
    Process c;
    EXPECT_TRUE(
        Start(&c, {kMailview}, Piped(kMail, {"DISPLAY=" + x.display, "WAYLAND_DISPLAY"}, CAPTURE)));
    EXPECT_NE("", FindWindow("Send Mail", 60, x.display));
    pid_t shower, program = c.pid;
    SendMailWindow(x, &shower);
    EXPECT_NE(program, shower) << "the window is not shown by a child";
    EXPECT_EQ(0, kill(program, signal));
    EXPECT_EQ(-1, WaitForExit(&c, 60));
    if (shower > 1 && shower != program) {
      // The kernel sent the child SIGKILL as the program ended.
      EXPECT_TRUE(Doomed(shower));
      int status = 0;
      EXPECT_EQ(shower, waitpid(shower, &status, 0));
      EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << status;
    }
    KillXServer(&x);
  }
  prctl(PR_SET_CHILD_SUBREAPER, 0);
}

// A caller that ignores SIGCHLD leaves it ignored for the program, whose
// child the kernel then reaps: the program still ends when the child does.
TEST(DisplayChild, EndsWithZeroWhenTheCallerIgnoresSigchld) {
  XServer x;
  ASSERT_TRUE(StartXServer(&x));
  Process c;
  EXPECT_TRUE(Start(&c, {"env", "--ignore-signal=CHLD", kMailview},
                    Piped(kMail, {"DISPLAY=" + x.display, "WAYLAND_DISPLAY"}, CAPTURE)));
  EXPECT_NE("", FindWindow("Send Mail", 60, x.display));
  EXPECT_TRUE(InMask(c.pid, "SigIgn:", SIGCHLD));
  pid_t shower;
  SendMailWindow(x, &shower);
  EXPECT_NE(c.pid, shower) << "the window is not shown by a child";
  if (shower > 1 && shower != c.pid)
    kill(shower, SIGKILL);
  EXPECT_EQ(0, WaitForExit(&c, 60));
  KillXServer(&x);
}

TEST(DisplayChild, NoneWithoutADisplay) {
  Traced t;
  if (!TraceMailview(&t))
    GTEST_SKIP() << "strace cannot trace here";
  XServer x;
  ASSERT_TRUE(StartXServer(&x));
  const std::vector<std::vector<std::string>> environments = {
      {"DISPLAY", "WAYLAND_DISPLAY", "WAYLAND_SOCKET", "GDK_BACKEND"},
      {"DISPLAY=", "WAYLAND_DISPLAY=", "WAYLAND_SOCKET", "GDK_BACKEND=*"},
      // A display that GDK_BACKEND keeps GDK from.
      {"DISPLAY", "WAYLAND_DISPLAY=wayland-mailview-test", "GDK_BACKEND=x11"},
      {"DISPLAY=" + x.display, "WAYLAND_DISPLAY", "GDK_BACKEND=wayland"},
  };
  for (const std::vector<std::string>& env : environments) {
    SCOPED_TRACE(testing::PrintToString(env));
    Process c;
    EXPECT_TRUE(Start(&c, t.argv, Piped(kMail, env, CAPTURE)));
    std::string out = ReadToEnd(&c, 60);
    EXPECT_EQ(0, WaitForExit(&c, 60)) << out;
    std::stringstream trace;
    trace << std::ifstream(t.log).rdbuf();
    EXPECT_EQ(std::string::npos, trace.str().find("clone")) << trace.str();
    EXPECT_EQ(std::string::npos, trace.str().find("fork")) << trace.str();
  }
  KillXServer(&x);
  unlink(t.log.c_str());
}

}  // namespace
