// MessageBoxA on Linux: a GTK message dialog, modal and without a parent.
// mailview asks only for MB_OK with an icon, so there is one OK button.
#include <gtk/gtk.h>
#include <windows.h>

#include "dialog_window.h"

namespace {

const UINT MB_ICONMASK = 0x000000F0L;
const UINT MB_ICONHAND = 0x00000010L;
const UINT MB_ICONQUESTION = 0x00000020L;
const UINT MB_ICONASTERISK = 0x00000040L;

GtkMessageType MessageType(UINT uType) {
  switch (uType & MB_ICONMASK) {
    case MB_ICONHAND: return GTK_MESSAGE_ERROR;
    case MB_ICONQUESTION: return GTK_MESSAGE_QUESTION;
    case MB_ICONEXCLAMATION: return GTK_MESSAGE_WARNING;
    case MB_ICONASTERISK: return GTK_MESSAGE_INFO;
  }
  return GTK_MESSAGE_OTHER;
}

}  // namespace

int WINAPI MessageBoxA(HWND, LPCSTR lpText, LPCSTR lpCaption, UINT uType) {
  if (!OpenDisplay())
    return IDOK;
  GtkWidget* box = gtk_message_dialog_new(
      NULL, GTK_DIALOG_MODAL, MessageType(uType), GTK_BUTTONS_OK, "%s",
      lpText);
  gtk_window_set_title(GTK_WINDOW(box), lpCaption);
  // Named by its caption, as on Windows, not by its icon ("Warning").
  if (lpCaption)
    atk_object_set_name(gtk_widget_get_accessible(box), lpCaption);
  gtk_window_set_resizable(GTK_WINDOW(box), FALSE);
  OfferOnlyMoveAndClose(GTK_WINDOW(box), true);
  gtk_window_set_position(GTK_WINDOW(box), GTK_WIN_POS_CENTER);
  gtk_dialog_set_default_response(GTK_DIALOG(box), GTK_RESPONSE_OK);
  // Enter presses OK; Esc and the close box answer as well.
  gtk_dialog_run(GTK_DIALOG(box));
  gtk_widget_destroy(box);
  while (gtk_events_pending())
    gtk_main_iteration();
  return IDOK;
}
