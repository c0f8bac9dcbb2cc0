// The open dialog behind the stand-in's window handles: its template, its
// widgets and its procedure. The dialog functions (dialog-gtk.cpp) keep it;
// the tests' view of its widgets (dialog_widgets-gtk.cpp) reads it.
#ifndef MAILVIEW_PLATFORM_GTK_DIALOG_H_
#define MAILVIEW_PLATFORM_GTK_DIALOG_H_

#include <windows.h>

#include "dialog_template.h"
#include "dialog_window.h"

struct Dialog;

// A window handle: the dialog, or one of its controls.
struct HWND__ {
  Dialog* dialog;
  int item;  // index in the template, or -1 for the dialog itself
};

struct Dialog {
  bool open;   // between creation and the end of DialogBoxParamA
  bool ended;  // EndDialog was called
  INT_PTR result;
  DLGPROC proc;
  DialogTemplate tmpl;
  DialogWidgets widgets;
  HWND__ handle;
  HWND__ itemHandles[MAX_DIALOG_ITEMS];
};

// The index in the template of control `id` of `d`, or -1.
inline int ItemIndex(const Dialog* d, int id) {
  for (int i = 0; i < d->tmpl.itemCount; ++i) {
    if (d->tmpl.items[i].id == id)
      return i;
  }
  return -1;
}

// The handle of control `id` of `d`, or NULL.
inline HWND ItemHandle(Dialog* d, int id) {
  int i = ItemIndex(d, id);
  return i < 0 ? NULL : &d->itemHandles[i];
}

#endif  // MAILVIEW_PLATFORM_GTK_DIALOG_H_
