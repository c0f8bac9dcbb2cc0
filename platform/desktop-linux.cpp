// Windows on Linux: seen where GDK can find a display, and shown by a child
// process. GDK ends a process with status 1 when its display goes or an X
// error reaches it, and a library may crash or abort; none of that can
// reach the caller, who gets the status of the process that waited.
#include "desktop.h"

#include <errno.h>
#include <signal.h>
#include <stdlib.h>
#include <string.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

bool Named(const char* variable) {
  const char* value = getenv(variable);
  return value && *value;
}

// Whether GDK's back end `name` (`length` bytes of a GDK_BACKEND list) may
// find a display. X11 connects to DISPLAY; Wayland to WAYLAND_DISPLAY, or to
// a socket its compositor handed over. "*" is either. Any other back end is
// for GDK to judge.
bool MayOpen(const char* name, size_t length) {
  bool x11 = Named("DISPLAY");
  bool wayland = Named("WAYLAND_DISPLAY") || Named("WAYLAND_SOCKET");
  if (length == 1 && name[0] == '*')
    return x11 || wayland;
  if (length == 3 && strncmp(name, "x11", 3) == 0)
    return x11;
  if (length == 7 && strncmp(name, "wayland", 7) == 0)
    return wayland;
  return true;
}

}  // namespace

// A service, a cron job or an ssh session without forwarding has no display
// named: there the program ends at once, without forking.
bool WindowsCanBeSeen() {
  const char* list = getenv("GDK_BACKEND");
  if (!list || !*list)
    list = "*";
  for (const char* p = list;; p += strcspn(p, ",") + 1) {
    size_t length = strcspn(p, ",");
    if (length > 0 && MayOpen(p, length))
      return true;
    if (p[length] == '\0')
      return false;
  }
}

bool EnterWindowProcess() {
  pid_t parent = getpid();
  pid_t child = fork();
  if (child < 0)
    return true;
  if (child == 0) {
    // SIGKILL, which nothing can ignore or block: the program ignores
    // SIGHUP, and a caller may have left others ignored for us. A parent
    // that has gone already is one the signal would never come from.
    if (prctl(PR_SET_PDEATHSIG, SIGKILL) != 0 || getppid() != parent)
      _exit(0);
    return true;
  }
  // How the child ended changes nothing here. With SIGCHLD ignored the
  // kernel reaps it, and waitpid fails with ECHILD once it has ended.
  int status;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  return false;
}
