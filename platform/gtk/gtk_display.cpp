// Opening GTK's display without ever letting GTK choose our exit status.
#include "gtk_display.h"

#include <dlfcn.h>
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

// Pango draws a hyphen where it breaks a word that is longer than a line,
// a character that is not in the mail (think of base64 lines or long URLs).
// GTK 3's text view offers no way to turn that off, so every layout that
// GTK gives its attributes to is told not to insert hyphens. GTK calls this
// function in Pango; the program's own definition comes first.
extern "C" void pango_layout_set_attributes(PangoLayout* layout,
                                            PangoAttrList* attrs) {
  typedef void (*SetAttributes)(PangoLayout*, PangoAttrList*);
  static SetAttributes pangos = reinterpret_cast<SetAttributes>(
      dlsym(RTLD_NEXT, "pango_layout_set_attributes"));
  PangoAttrList* own = attrs ? pango_attr_list_copy(attrs) : pango_attr_list_new();
  pango_attr_list_insert(own, pango_attr_insert_hyphens_new(FALSE));
  pangos(layout, own);
  pango_attr_list_unref(own);
}

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
