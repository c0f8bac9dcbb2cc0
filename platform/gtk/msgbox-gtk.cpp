// MessageBoxA on Linux: a GTK message dialog, modal and without a parent,
// of the one kind mailview shows: a warning with an OK button.
#include <gtk/gtk.h>
#include <windows.h>

#include "dialog_window.h"

int WINAPI MessageBoxA(HWND hWnd, LPCSTR lpText, LPCSTR lpCaption,
                       UINT uType) {
  // Any other kind, or an owner, is refused as Windows refuses a call that
  // fails: with 0.
  if (hWnd || uType != (MB_OK | MB_ICONEXCLAMATION) || !OpenDisplay())
    return 0;
  GtkWidget* box = gtk_message_dialog_new(
      NULL, GTK_DIALOG_MODAL, GTK_MESSAGE_WARNING, GTK_BUTTONS_OK, "%s",
      lpText);
  gtk_window_set_title(GTK_WINDOW(box), lpCaption);
  // Named by its caption, as on Windows, not by its icon ("Warning").
  if (lpCaption)
    atk_object_set_name(gtk_widget_get_accessible(box), lpCaption);
  gtk_window_set_resizable(GTK_WINDOW(box), FALSE);
  OfferOnlyMoveAndClose(GTK_WINDOW(box));
  gtk_window_set_position(GTK_WINDOW(box), GTK_WIN_POS_CENTER);
  gtk_dialog_set_default_response(GTK_DIALOG(box), GTK_RESPONSE_OK);
  // Enter presses OK; Esc and the close box answer as well.
  gtk_dialog_run(GTK_DIALOG(box));
  gtk_widget_destroy(box);
  while (gtk_events_pending())
    gtk_main_iteration();
  return IDOK;
}
