// Where the process's windows would appear, and which process shows them.
#ifndef MAILVIEW_PLATFORM_DESKTOP_H_
#define MAILVIEW_PLATFORM_DESKTOP_H_

// False when no user can ever see, and so never close, a window that the
// process opens: on Windows, a window station without WSF_VISIBLE, which is
// where services run; on Linux, no display named in the environment that
// GDK may use (DISPLAY, WAYLAND_DISPLAY or WAYLAND_SOCKET, as far as
// GDK_BACKEND lets GDK use them). True otherwise, and also when it cannot
// be found out.
bool WindowsCanBeSeen();

// Called once, with the input read, where windows can be seen, before any
// opens. True in the process that is to show the windows; false in one that
// is only to end, with status 0.
// On Windows, true at once. On Linux, forks: the child returns true and is
// killed when this process ends; this process waits until the child has
// ended, whether it exited with any status or was killed by any signal,
// reaps it and returns false. When there can be no child, true: the windows
// are shown in this process.
bool EnterWindowProcess();

#endif  // MAILVIEW_PLATFORM_DESKTOP_H_
