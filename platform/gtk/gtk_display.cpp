// Opening GTK's display without ever letting GTK choose our exit status.
#include "gtk_display.h"

#include <gtk/gtk.h>
#include <unistd.h>

#ifdef GDK_WINDOWING_X11
#include <X11/Xlib.h>
#include <gdk/gdkx.h>
#endif
#ifdef GDK_WINDOWING_WAYLAND
#include <gdk/gdkwayland.h>
#include <poll.h>
#include <wayland-client.h>
#endif

namespace {

#ifdef GDK_WINDOWING_X11
// Xlib calls this when the connection to the server is gone. GDK's own
// handler would end the process with status 1; mailview always ends with 0.
int DisplayLost(Display*) {
  _exit(0);
}

// Xlib calls this for an X error that no GDK trap has taken (GDK sets its
// own handler while a trap is pushed, and puts this one back after). GDK's
// handler would print a warning and end the process with status 1; an
// error in one request is no reason to end the run, so it is let pass.
int IgnoreXError(Display*, XErrorEvent*) {
  return 0;
}
#endif

#ifdef GDK_WINDOWING_WAYLAND
// True when the connection to the compositor is gone: the socket hung up,
// or libwayland has given up on it.
bool CompositorLost(GdkDisplay* display) {
  struct wl_display* wl = gdk_wayland_display_get_wl_display(display);
  struct pollfd fd = {wl_display_get_fd(wl), POLLIN, 0};
  return wl_display_get_error(wl) != 0 ||
         (poll(&fd, 1, 0) > 0 && (fd.revents & (POLLHUP | POLLERR)));
}

// GDK's Wayland back end, wherever it finds the compositor gone (reading
// events, flushing requests, dispatching them, or a hung-up socket), logs a
// message and calls _exit(1) at once: no handler, no atexit. The message is
// the last thing it does that the program sees, so every log message comes
// here first, and one from GDK while the compositor is gone ends the
// process with status 0. Any other is written as usual.
GLogWriterOutput WriteLog(GLogLevelFlags level, const GLogField* fields,
                          gsize count, gpointer display) {
  for (gsize i = 0; i < count; ++i) {
    if (g_strcmp0(fields[i].key, "GLIB_DOMAIN") == 0 && fields[i].length < 0 &&
        g_strcmp0(static_cast<const char*>(fields[i].value), "Gdk") == 0 &&
        CompositorLost(static_cast<GdkDisplay*>(display)))
      _exit(0);
  }
  return g_log_writer_default(level, fields, count, NULL);
}
#endif

// Once the display is open: no error and no loss of it may end the process
// with GDK's status.
void KeepExitStatus() {
  GdkDisplay* display = gdk_display_get_default();
#ifdef GDK_WINDOWING_X11
  if (GDK_IS_X11_DISPLAY(display)) {
    XSetIOErrorHandler(DisplayLost);
    XSetErrorHandler(IgnoreXError);
  }
#endif
#ifdef GDK_WINDOWING_WAYLAND
  if (GDK_IS_WAYLAND_DISPLAY(display))
    g_log_set_writer_func(WriteLog, display, NULL);
#endif
}

}  // namespace

bool OpenDisplay() {
  static int state = -1;  // -1 not tried, 0 none, 1 open
  if (state < 0) {
    // gtk_init would end the process when no display can be opened.
    state = gtk_init_check(NULL, NULL) ? 1 : 0;
    if (state)
      KeepExitStatus();
  }
  return state == 1;
}
