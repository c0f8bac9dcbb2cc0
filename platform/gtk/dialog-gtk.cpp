// DialogBoxParamA, SetDlgItemTextA and EndDialog on GTK 3: the window is
// built from the dialog template in the instance's resources, and a small
// dialog manager gives it the keyboard handling of a Windows dialog.
#include <gtk/gtk.h>
#include <string.h>
#include <windows.h>

#include "dialog.h"
#include "edit_text.h"
#include "instance.h"
#include "short_items.h"

namespace {

const UINT WM_CLOSE = 0x0010;
const WORD BN_CLICKED = 0;

// The one dialog: the program opens one, without an owner, and nothing
// while it is open.
Dialog theDialog;

Dialog* OpenDialog(HWND hwnd) {
  return theDialog.open && hwnd == &theDialog.handle ? &theDialog : NULL;
}

// Sends WM_COMMAND to the procedure, unless the dialog is ending.
void Command(Dialog* d, int id, WORD code, HWND control) {
  if (!d->ended)
    d->proc(&d->handle, WM_COMMAND, MAKEWPARAM(id, code),
            reinterpret_cast<LPARAM>(control));
}

void OnClicked(GtkButton*, HWND__* item) {
  Dialog* d = item->dialog;
  Command(d, d->tmpl.items[item->item].id, BN_CLICKED, item);
}

// The close box and the window menu's Close: WM_CLOSE, which a dialog that
// leaves it alone gets as IDCANCEL.
gboolean OnDelete(GtkWidget*, GdkEvent*, Dialog* d) {
  if (!d->ended && !d->proc(&d->handle, WM_CLOSE, 0, 0))
    Command(d, IDCANCEL, BN_CLICKED, ItemHandle(d, IDCANCEL));
  return TRUE;  // the window goes only through EndDialog
}

// The control that has the focus, or -1.
int FocusIndex(Dialog* d) {
  GtkWidget* focus = gtk_window_get_focus(GTK_WINDOW(d->widgets.window));
  for (int i = 0; i < d->tmpl.itemCount; ++i) {
    if (focus == d->widgets.control[i])
      return i;
  }
  return -1;
}

void FocusItem(Dialog* d, int i, bool byKeyboard) {
  GtkWidget* control = d->widgets.control[i];
  gtk_widget_grab_focus(control);
  // Tabbing into an edit control selects its text, as in a Windows dialog.
  if (byKeyboard && d->tmpl.items[i].kind == ITEM_EDIT) {
    GtkTextBuffer* buffer = gtk_text_view_get_buffer(GTK_TEXT_VIEW(control));
    GtkTextIter start, end;
    gtk_text_buffer_get_bounds(buffer, &start, &end);
    gtk_text_buffer_select_range(buffer, &start, &end);
  }
}

bool TabStop(Dialog* d, int i) {
  return (d->tmpl.items[i].style & WS_TABSTOP) &&
         gtk_widget_get_visible(d->widgets.placed[i]);
}

// Tab and Shift+Tab: the next or previous tab stop in template order.
void MoveFocus(Dialog* d, bool backwards) {
  int n = d->tmpl.itemCount;
  int from = FocusIndex(d);
  if (from < 0)
    from = backwards ? 0 : n - 1;
  for (int step = 1; step <= n; ++step) {
    int i = ((from + (backwards ? -step : step)) % n + n) % n;
    if (TabStop(d, i)) {
      FocusItem(d, i, true);
      return;
    }
  }
}

// Enter: the push button with the focus, else the default push button,
// else IDOK.
void PressDefault(Dialog* d) {
  int i = FocusIndex(d);
  if (i < 0 || d->tmpl.items[i].kind != ITEM_BUTTON) {
    i = -1;
    for (int j = 0; j < d->tmpl.itemCount && i < 0; ++j) {
      const DialogItem& item = d->tmpl.items[j];
      if (item.kind == ITEM_BUTTON && (item.style & BS_DEFPUSHBUTTON))
        i = j;
    }
  }
  if (i < 0)
    Command(d, IDOK, BN_CLICKED, ItemHandle(d, IDOK));
  else
    Command(d, d->tmpl.items[i].id, BN_CLICKED, &d->itemHandles[i]);
}

// The dialog manager's keys, seen before the control with the focus.
gboolean OnKey(GtkWidget*, GdkEventKey* event, Dialog* d) {
  GdkModifierType mods = static_cast<GdkModifierType>(
      event->state & gtk_accelerator_get_default_mod_mask());
  switch (event->keyval) {
    case GDK_KEY_Tab:
    case GDK_KEY_KP_Tab:
    case GDK_KEY_ISO_Left_Tab:
      if (mods & GDK_MOD1_MASK)
        return FALSE;
      MoveFocus(d, event->keyval == GDK_KEY_ISO_Left_Tab ||
                       (mods & GDK_SHIFT_MASK));
      return TRUE;
    case GDK_KEY_Return:
    case GDK_KEY_KP_Enter:
    case GDK_KEY_ISO_Enter:
      if (mods & GDK_MOD1_MASK)
        return FALSE;
      PressDefault(d);
      return TRUE;
    case GDK_KEY_Escape:
      if (mods)
        return FALSE;
      Command(d, IDCANCEL, BN_CLICKED, ItemHandle(d, IDCANCEL));
      return TRUE;
  }
  return FALSE;
}

// On X any client may destroy the window, and GTK then destroys the
// widget: the dialog ends, as no one can close it any more.
void OnDestroy(GtkWidget*, Dialog* d) {
  d->widgets.window = NULL;
  if (!d->ended) {
    d->ended = true;
    d->result = -1;
  }
}

void Connect(Dialog* d) {
  d->handle = {d, -1};
  g_signal_connect(d->widgets.window, "key-press-event", G_CALLBACK(OnKey), d);
  g_signal_connect(d->widgets.window, "delete-event", G_CALLBACK(OnDelete), d);
  g_signal_connect(d->widgets.window, "destroy", G_CALLBACK(OnDestroy), d);
  for (int i = 0; i < d->tmpl.itemCount; ++i) {
    d->itemHandles[i] = {d, i};
    if (d->tmpl.items[i].kind == ITEM_BUTTON)
      g_signal_connect(d->widgets.control[i], "clicked", G_CALLBACK(OnClicked),
                       &d->itemHandles[i]);
  }
}

// Shows the text of an edit control from the top, caret at the start.
void SetEditText(GtkWidget* view, const char* text) {
  size_t length = strlen(text);
  size_t room = EditTextUtf8Size(length);
  char* utf8 = static_cast<char*>(g_malloc(room));
  size_t n = EditTextToUtf8(text, length, utf8, room);
  // The buffer is filled apart from the view. A view that is not yet
  // allocated lays out the caret's line at a width of one pixel whenever
  // the caret moves, to place the input method's window, and for a long
  // line with no break in it (9,000 tabs) that costs more than the
  // window's whole start-up. Given the buffer back, the view lays it out
  // at its width.
  GtkTextBuffer* buffer =
      GTK_TEXT_BUFFER(g_object_ref(gtk_text_view_get_buffer(GTK_TEXT_VIEW(view))));
  gtk_text_view_set_buffer(GTK_TEXT_VIEW(view), NULL);
  gtk_text_buffer_set_text(buffer, utf8, static_cast<gint>(n));
  g_free(utf8);
  CutIntoShortItems(buffer);
  GtkTextIter start;
  gtk_text_buffer_get_start_iter(buffer, &start);
  gtk_text_buffer_place_cursor(buffer, &start);
  gtk_text_view_set_buffer(GTK_TEXT_VIEW(view), buffer);
  g_object_unref(buffer);
  GtkAdjustment* v = gtk_scrollable_get_vadjustment(GTK_SCROLLABLE(view));
  if (v)
    gtk_adjustment_set_value(v, gtk_adjustment_get_lower(v));
}

}  // namespace

INT_PTR WINAPI DialogBoxParamA(HINSTANCE hInstance, LPCSTR lpTemplateName,
                               HWND hWndParent, DLGPROC lpDialogFunc,
                               LPARAM dwInitParam) {
  uintptr_t name = reinterpret_cast<uintptr_t>(lpTemplateName);
  Dialog* d = &theDialog;
  // Templates are looked up by number only.
  if (!hInstance || name > 0xFFFF || !lpDialogFunc || hWndParent || d->open ||
      !OpenDisplay() ||
      !ReadDialogTemplate(hInstance->res, hInstance->size,
                          static_cast<unsigned>(name), &d->tmpl) ||
      !CreateDialogWindow(d->tmpl, hInstance->res, hInstance->size,
                          &d->widgets))
    return -1;
  d->open = true;
  d->ended = false;
  d->result = 0;
  d->proc = lpDialogFunc;
  Connect(d);

  int first = -1;
  for (int i = 0; i < d->tmpl.itemCount && first < 0; ++i) {
    if (TabStop(d, i))
      first = i;
  }
  HWND firstHandle = first < 0 ? NULL : &d->itemHandles[first];
  if (d->proc(&d->handle, WM_INITDIALOG,
              reinterpret_cast<WPARAM>(firstHandle), dwInitParam) &&
      first >= 0 && !d->ended)
    FocusItem(d, first, false);
  if (!d->ended)
    gtk_window_present(GTK_WINDOW(d->widgets.window));
  while (!d->ended)
    gtk_main_iteration();

  if (d->widgets.window)
    gtk_widget_destroy(d->widgets.window);
  while (gtk_events_pending())
    gtk_main_iteration();
  d->open = false;
  return d->result;
}

BOOL WINAPI SetDlgItemTextA(HWND hDlg, int nIDDlgItem, LPCSTR lpString) {
  Dialog* d = OpenDialog(hDlg);
  int i = d ? ItemIndex(d, nIDDlgItem) : -1;
  if (i < 0 || d->tmpl.items[i].kind != ITEM_EDIT)
    return FALSE;  // a button's text is the template's
  SetEditText(d->widgets.control[i], lpString ? lpString : "");
  return TRUE;
}

BOOL WINAPI EndDialog(HWND hDlg, INT_PTR nResult) {
  Dialog* d = OpenDialog(hDlg);
  if (!d)
    return FALSE;
  d->ended = true;
  d->result = nResult;
  if (d->widgets.window)
    gtk_widget_hide(d->widgets.window);
  return TRUE;
}
