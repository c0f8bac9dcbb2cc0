// GTK's display, and building the GTK window of a dialog from its template,
// for the stand-ins for the dialog functions and their tests.
#ifndef MAILVIEW_PLATFORM_GTK_DIALOG_WINDOW_H_
#define MAILVIEW_PLATFORM_GTK_DIALOG_WINDOW_H_

#include <gtk/gtk.h>
#include <stddef.h>

#include "dialog_template.h"

// Opens the display on first use. Returns false, and keeps returning false,
// when there is none or it refuses us.
bool OpenDisplay();

struct DialogWidgets {
  GtkWidget* window;
  // For each control of the template: the widget that is the control (a
  // GtkButton or a GtkTextView), and the one placed in the window (the
  // button itself, or the GtkScrolledWindow around the text view).
  GtkWidget* control[MAX_DIALOG_ITEMS];
  GtkWidget* placed[MAX_DIALOG_ITEMS];
  int baseX, baseY;  // the dialog's base units in pixels
};

// Creates the window of `tmpl`, hidden, without an owner and to be centred
// on the screen, with the controls laid out from the dialog units. The window's icon is the first
// icon group in the `size` bytes of .res file `res`, if any.
// Returns false, creating nothing, when a text of the template is not valid
// UTF-16.
bool CreateDialogWindow(const DialogTemplate& tmpl, const unsigned char* res,
                        size_t size, DialogWidgets* out);

// Makes `window` a dialog, to assistive technologies too, whose frame
// offers the window manager only Move and Close: no minimize, maximize or
// resize, as a Windows dialog with a caption and a system menu. Call before
// it is realized.
void OfferOnlyMoveAndClose(GtkWindow* window);

#endif  // MAILVIEW_PLATFORM_GTK_DIALOG_WINDOW_H_
