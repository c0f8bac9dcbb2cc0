// Programs run on the display, timed until their window is mapped and until
// they have ended after Enter.
#include "startup_runs.h"

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <fcntl.h>
#include <poll.h>
#include <stdio.h>
#include <unistd.h>

#include "harness.h"

namespace {

// Generous bounds: a run that takes longer has failed.
const double MAP_TIMEOUT = 30;
const double END_TIMEOUT = 30;

Display* display;
KeyCode enterKey;
const char* mailview;
const char* floorWindow;
// The title of each program's window, as last seen: shows that the window
// timed is the one meant.
char titles[PROGRAM_COUNT][64];

int IgnoreXError(Display*, XErrorEvent*) {
  return 0;  // the window may be gone before our focus request arrives
}

// Waits until an X event is queued or `exitFd` is readable, at most until
// `deadline`. Returns false on the deadline.
bool AwaitEventOrExit(int exitFd, double deadline) {
  while (!XPending(display)) {
    struct pollfd fds[2] = {{ConnectionNumber(display), POLLIN, 0},
                            {exitFd, POLLIN, 0}};
    double left = deadline - Now();
    if (left <= 0)
      return false;
    poll(fds, 2, static_cast<int>(left * 1000) + 1);
    if (fds[1].revents)
      return true;
  }
  return true;
}

// Waits for the first top-level window mapped on the display. Returns it,
// or None when the process ended first or the deadline passed.
Window AwaitMap(int exitFd, double deadline) {
  for (;;) {
    if (!AwaitEventOrExit(exitFd, deadline))
      return None;
    while (XPending(display)) {
      XEvent e;
      XNextEvent(display, &e);
      if (e.type == MapNotify && !e.xmap.override_redirect)
        return e.xmap.window;
    }
    struct pollfd fd = {exitFd, POLLIN, 0};
    if (poll(&fd, 1, 0) > 0)
      return None;
  }
}

// Presses and releases Enter in `window`, as a user would.
void PressEnter(Window window) {
  XSetInputFocus(display, window, RevertToPointerRoot, CurrentTime);
  XTestFakeKeyEvent(display, enterKey, True, CurrentTime);
  XTestFakeKeyEvent(display, enterKey, False, CurrentTime);
  XFlush(display);
}

// Copies the title of `window` into `title`.
void GetTitle(Window window, char* title, int size) {
  char* name = nullptr;
  XFetchName(display, window, &name);
  snprintf(title, size, "%s", name ? name : "(untitled)");
  if (name)
    XFree(name);
}

// Forgets the events of the run before.
void DrainEvents() {
  XSync(display, False);
  while (XPending(display)) {
    XEvent e;
    XNextEvent(display, &e);
  }
}

}  // namespace

bool OpenStartupDisplay(const char* mailviewPath, const char* floorPath) {
  mailview = mailviewPath;
  floorWindow = floorPath;
  display = XOpenDisplay(nullptr);
  int unused;
  if (!display || !XTestQueryExtension(display, &unused, &unused, &unused,
                                       &unused)) {
    fprintf(stderr, "startup_bench: needs an X display with XTEST\n");
    return false;
  }
  XSetErrorHandler(IgnoreXError);
  enterKey = XKeysymToKeycode(display, XK_Return);
  XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
  return true;
}

bool RunOnce(Program program, const char* message, double* mapped,
             double* ended) {
  const std::vector<std::string> argvs[] = {
      {mailview}, {floorWindow}, {"zenity", "--text-info", "--font=Monospace"}};
  const std::vector<std::string>& argv = argvs[program];
  DrainEvents();
  Options o;
  o.stdinKind = GIVEN_FD;
  o.fd = open(message, O_RDONLY | O_CLOEXEC);
  o.out = o.err = DISCARD;
  if (o.fd < 0)
    return false;
  double start = Now();
  Process process;
  bool started = Start(&process, argv, o);
  close(o.fd);
  int exitFd = process.exitFd;
  if (!started || exitFd < 0) {
    fprintf(stderr, "startup_bench: cannot start or watch %s\n", argv[0].c_str());
    return false;
  }
  const char* failure = nullptr;
  Window window = AwaitMap(exitFd, start + MAP_TIMEOUT);
  *mapped = Now() - start;
  if (window == None) {
    failure = "showed no window";
  } else {
    GetTitle(window, titles[program], sizeof titles[program]);
    PressEnter(window);
    struct pollfd fd = {exitFd, POLLIN, 0};
    if (poll(&fd, 1, static_cast<int>(END_TIMEOUT * 1000)) <= 0)
      failure = "did not end after Enter";
    *ended = Now() - start;
  }
  if (failure)
    Kill(&process);
  int status = WaitForExit(&process, END_TIMEOUT);
  if (!failure && status != 0)
    failure = "ended with an error";
  if (failure)
    fprintf(stderr, "startup_bench: %s %s (%s)\n", argv[0].c_str(), failure, message);
  return !failure;
}

const char* WindowTitle(Program program) {
  return titles[program];
}

bool MapTimes(const std::vector<Run>& runs, int repetitions,
              double (*statistic)(double* values, int n),
              std::vector<double>* figures) {
  std::vector<std::vector<double>> times(runs.size());
  double ended;
  for (int i = 0; i < repetitions; ++i) {
    for (size_t k = 0; k < runs.size(); ++k) {
      size_t r = (i + k) % runs.size();
      double mapped;
      if (!RunOnce(runs[r].program, runs[r].path.c_str(), &mapped, &ended))
        return false;
      times[r].push_back(mapped);
    }
  }
  figures->clear();
  for (std::vector<double>& t : times)
    figures->push_back(statistic(t.data(), static_cast<int>(t.size())) * 1000);
  return true;
}
