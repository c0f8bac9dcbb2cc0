// Opening GTK's display, in the process that is to talk to it.
#include "gtk_display.h"

#include <gtk/gtk.h>

#include "display_child.h"

bool OpenDisplay() {
  static int state = -1;  // -1 not tried, 0 none, 1 open
  if (state < 0) {
    // gtk_init would end the process when no display can be opened.
    state = EnterDisplayProcess() && gtk_init_check(NULL, NULL) ? 1 : 0;
  }
  return state == 1;
}
