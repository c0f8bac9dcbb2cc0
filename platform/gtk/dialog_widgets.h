// The GTK widgets behind the handles of the dialog stand-in, for tests.
#ifndef MAILVIEW_PLATFORM_GTK_DIALOG_WIDGETS_H_
#define MAILVIEW_PLATFORM_GTK_DIALOG_WIDGETS_H_

#include <gtk/gtk.h>
#include <windows.h>

// The window of an open dialog, or NULL when `dialog` is not one.
GtkWidget* DialogWindowWidget(HWND dialog);

// The widget of control `id` of an open dialog (a GtkButton or a
// GtkTextView), or NULL when there is none.
GtkWidget* DialogItemWidget(HWND dialog, int id);

// The handle of control `id` of an open dialog, or NULL.
HWND DialogItemHandle(HWND dialog, int id);

#endif  // MAILVIEW_PLATFORM_GTK_DIALOG_WIDGETS_H_
