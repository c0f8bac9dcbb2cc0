// The GTK widgets behind the handles of the dialog stand-in, for tests
// (dialog_widgets-gtk.cpp, which the program does not link).
#ifndef MAILVIEW_PLATFORM_GTK_DIALOG_WIDGETS_H_
#define MAILVIEW_PLATFORM_GTK_DIALOG_WIDGETS_H_

#include <gtk/gtk.h>
#include <windows.h>

// Each takes a dialog's own handle, as its procedure is given it, or NULL.

// The window of the dialog, or NULL when the dialog is not open.
GtkWidget* DialogWindowWidget(HWND dialog);

// The widget of control `id` of the open dialog (a GtkButton or a
// GtkTextView), or NULL when there is none.
GtkWidget* DialogItemWidget(HWND dialog, int id);

// The handle of control `id` of the open dialog, or NULL.
HWND DialogItemHandle(HWND dialog, int id);

#endif  // MAILVIEW_PLATFORM_GTK_DIALOG_WIDGETS_H_
