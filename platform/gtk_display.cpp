// Opening GTK's display without ever letting GTK choose our exit status.
#include "gtk_display.h"

#include <gtk/gtk.h>
#include <unistd.h>

#ifdef GDK_WINDOWING_X11
#include <X11/Xlib.h>
#include <gdk/gdkx.h>
#endif

namespace {

#ifdef GDK_WINDOWING_X11
// Xlib calls this when the connection to the server is gone. GDK's own
// handler would end the process with status 1; mailview always ends with 0.
int DisplayLost(Display*) {
  _exit(0);
}
#endif

void KeepExitStatusOnLoss() {
#ifdef GDK_WINDOWING_X11
  if (GDK_IS_X11_DISPLAY(gdk_display_get_default()))
    XSetIOErrorHandler(DisplayLost);
#endif
}

}  // namespace

bool OpenDisplay() {
  static int state = -1;  // -1 not tried, 0 none, 1 open
  if (state < 0) {
    // gtk_init would end the process when no display can be opened.
    state = gtk_init_check(NULL, NULL) ? 1 : 0;
    if (state)
      KeepExitStatusOnLoss();
  }
  return state == 1;
}
