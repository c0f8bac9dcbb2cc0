// The widgets behind the dialog stand-in's handles, read from the dialog
// they point to. Only the tests link this file: the program never asks.
#include "dialog_widgets.h"

#include "dialog.h"

namespace {

// The dialog that `dialog` is the handle of, while it is open.
Dialog* OpenDialog(HWND dialog) {
  return dialog && dialog->item < 0 && dialog->dialog->open ? dialog->dialog
                                                            : NULL;
}

}  // namespace

GtkWidget* DialogWindowWidget(HWND dialog) {
  Dialog* d = OpenDialog(dialog);
  return d ? d->widgets.window : NULL;
}

GtkWidget* DialogItemWidget(HWND dialog, int id) {
  Dialog* d = OpenDialog(dialog);
  int i = d ? ItemIndex(d, id) : -1;
  return i < 0 ? NULL : d->widgets.control[i];
}

HWND DialogItemHandle(HWND dialog, int id) {
  Dialog* d = OpenDialog(dialog);
  return d ? ItemHandle(d, id) : NULL;
}
