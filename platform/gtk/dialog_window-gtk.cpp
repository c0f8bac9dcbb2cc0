// A dialog's GTK window, laid out from its template the way Windows lays
// out a dialog: positions and sizes in dialog units of the dialog's font.
#include "dialog_window.h"

#include <pango/pangocairo.h>
#include <windows.h>

#include "res_file.h"

namespace {

// Applies CSS to one widget only (fonts inherit from it to its children).
void Style(GtkWidget* widget, const char* css) {
  GtkCssProvider* provider = gtk_css_provider_new();
  gtk_css_provider_load_from_data(provider, css, -1, NULL);
  gtk_style_context_add_provider(gtk_widget_get_style_context(widget),
                                 GTK_STYLE_PROVIDER(provider),
                                 GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
  g_object_unref(provider);
}

// The width in pixels of `text` in `widget`'s font.
int TextWidth(GtkWidget* widget, const char* text, int* height) {
  PangoLayout* layout = gtk_widget_create_pango_layout(widget, text);
  int width;
  pango_layout_get_pixel_size(layout, &width, height);
  g_object_unref(layout);
  return width;
}

GtkWidget* CreateButton(const DialogItem& item, const char* text,
                        GtkWidget* window) {
  GtkWidget* button = gtk_button_new_with_label(text);
  gtk_widget_set_can_default(button, TRUE);
  if (item.style & BS_DEFPUSHBUTTON)
    gtk_window_set_default(GTK_WINDOW(window), button);
  // Let the dialog units decide the height, as on Windows.
  Style(button, "button { min-height: 0; padding-top: 0; padding-bottom: 0; }");
  return button;
}

gboolean ScrollToCaret(gpointer view) {
  GtkTextView* v = GTK_TEXT_VIEW(view);
  gtk_text_view_scroll_mark_onscreen(
      v, gtk_text_buffer_get_insert(gtk_text_view_get_buffer(v)));
  g_object_unref(view);
  return G_SOURCE_REMOVE;
}

// GTK 3 drops the scroll that should follow the first keyboard move of the
// caret (Ctrl+End, say) when the view has not scrolled yet; asking once more
// when the loop is idle makes the view follow the caret every time.
void FollowCaret(GtkTextBuffer* buffer, GtkTextIter*, GtkTextMark* mark,
                 gpointer view) {
  if (mark == gtk_text_buffer_get_insert(buffer))
    g_idle_add(ScrollToCaret, g_object_ref(view));
}

// A read-only multi-line edit control: a text view that keeps a caret for
// the keyboard, wraps long lines and never scrolls sideways.
GtkWidget* CreateEdit(const DialogItem& item, const char* text,
                      GtkWidget** placed) {
  GtkWidget* view = gtk_text_view_new();
  gtk_text_view_set_editable(GTK_TEXT_VIEW(view), FALSE);
  gtk_text_view_set_cursor_visible(GTK_TEXT_VIEW(view), TRUE);
  gtk_text_view_set_accepts_tab(GTK_TEXT_VIEW(view), FALSE);
  gtk_text_view_set_wrap_mode(GTK_TEXT_VIEW(view), GTK_WRAP_WORD_CHAR);
  gtk_text_view_set_left_margin(GTK_TEXT_VIEW(view), 2);
  gtk_text_view_set_right_margin(GTK_TEXT_VIEW(view), 2);
  GtkTextBuffer* buffer = gtk_text_view_get_buffer(GTK_TEXT_VIEW(view));
  gtk_text_buffer_set_text(buffer, text, -1);
  g_signal_connect(buffer, "mark-set", G_CALLBACK(FollowCaret), view);

  // No horizontal bar, and no width taken from the text either. A text
  // view asks for the width of its widest line, and some lines are wider
  // than any wrap: Pango never breaks inside one character (a base with its
  // marks, an emoji joiner sequence, a run of Hangul leading jamo) nor in a
  // run of white space that holds a tab. GTK_POLICY_NEVER would hand that
  // width on to the window, whose wider text would wrap wider in turn, up
  // to the X server's limit; GTK_POLICY_EXTERNAL keeps the control at the
  // size of its template.
  GtkWidget* scrolled = gtk_scrolled_window_new(NULL, NULL);
  gtk_scrolled_window_set_policy(
      GTK_SCROLLED_WINDOW(scrolled), GTK_POLICY_EXTERNAL,
      item.style & WS_VSCROLL ? GTK_POLICY_ALWAYS : GTK_POLICY_EXTERNAL);
  // A classic bar that is always there, not an overlay that comes and goes.
  gtk_scrolled_window_set_overlay_scrolling(GTK_SCROLLED_WINDOW(scrolled),
                                            FALSE);
  gtk_scrolled_window_set_shadow_type(
      GTK_SCROLLED_WINDOW(scrolled),
      item.style & WS_BORDER ? GTK_SHADOW_IN : GTK_SHADOW_NONE);
  gtk_container_add(GTK_CONTAINER(scrolled), view);
  *placed = scrolled;
  return view;
}

// Tab stops every 8 columns of the view's (fixed-pitch) font.
void SetTabStops(GtkWidget* view) {
  int height;
  int width = TextWidth(view, "        ", &height);
  PangoTabArray* tabs = pango_tab_array_new_with_positions(
      1, TRUE, PANGO_TAB_LEFT, width);
  gtk_text_view_set_tabs(GTK_TEXT_VIEW(view), tabs);
  pango_tab_array_free(tabs);
}

void SetIcon(GtkWidget* window, const unsigned char* res, size_t size) {
  size_t need = BuildIconFile(res, size, ANY_RESOURCE_ID, NULL, 0);
  if (need == 0)
    return;
  guchar* ico = static_cast<guchar*>(g_malloc(need));
  BuildIconFile(res, size, ANY_RESOURCE_ID, ico, need);
  GdkPixbufLoader* loader = gdk_pixbuf_loader_new_with_type("ico", NULL);
  if (loader) {
    bool loaded = gdk_pixbuf_loader_write(loader, ico, need, NULL);
    if (gdk_pixbuf_loader_close(loader, NULL) && loaded)
      gtk_window_set_icon(GTK_WINDOW(window),
                          gdk_pixbuf_loader_get_pixbuf(loader));
    g_object_unref(loader);
  }
  g_free(ico);
}

// Only the window menu's Move and Close: no minimize, maximize or resize.
void LimitFrame(GtkWidget* window) {
  GdkWindow* w = gtk_widget_get_window(window);
  gdk_window_set_functions(
      w, static_cast<GdkWMFunction>(GDK_FUNC_MOVE | GDK_FUNC_CLOSE));
  gdk_window_set_decorations(
      w, static_cast<GdkWMDecoration>(GDK_DECOR_BORDER | GDK_DECOR_TITLE |
                                      GDK_DECOR_MENU));
}

// The caption and the controls' texts of `t` in UTF-8, to FreeTexts.
// False when one of them is not valid UTF-16.
bool AllTextsValid(const DialogTemplate& t, gchar** caption,
                   gchar* texts[MAX_DIALOG_ITEMS]) {
  bool valid = (*caption = g_utf16_to_utf8(t.caption, -1, NULL, NULL, NULL));
  for (int i = 0; i < t.itemCount; ++i) {
    texts[i] = g_utf16_to_utf8(t.items[i].text, -1, NULL, NULL, NULL);
    valid = valid && texts[i];
  }
  return valid;
}

void FreeTexts(gchar* caption, gchar* texts[MAX_DIALOG_ITEMS]) {
  g_free(caption);
  for (int i = 0; i < MAX_DIALOG_ITEMS; ++i)
    g_free(texts[i]);
}

// The top-level window of `t`, titled `caption`, in the template's font
// (Fixedsys, shown in Monospace), without controls; that font's base units
// go to `out`.
GtkWidget* CreateTopLevel(const DialogTemplate& t, const char* caption,
                          DialogWidgets* out) {
  // Pango reads the font configuration on a thread of its own, started
  // when the font map is first asked for. Asking now lets it run while
  // GTK parses its theme for the first window, instead of the first
  // TextWidth below waiting for it.
  pango_cairo_font_map_get_default();
  GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  gtk_window_set_title(GTK_WINDOW(window), caption);
  gtk_window_set_resizable(GTK_WINDOW(window), FALSE);
  gtk_window_set_modal(GTK_WINDOW(window), TRUE);
  gchar* font = g_strdup_printf(
      "* { font-family: Monospace; font-size: %dpt; }", t.pointSize);
  Style(window, font);
  g_free(font);

  int alphabetHeight;
  int alphabet = TextWidth(
      window, "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz",
      &alphabetHeight);
  out->baseX = HorizontalBaseUnit(alphabet);
  out->baseY = alphabetHeight;
  return window;
}

// Creates control `i` of `t` with `text` and puts it in `layout`, placed
// and sized by its dialog units.
void PlaceControl(const DialogTemplate& t, int i, const char* text,
                  GtkWidget* layout, DialogWidgets* out) {
  const DialogItem& item = t.items[i];
  int bx = out->baseX, by = out->baseY;
  if (item.kind == ITEM_BUTTON)
    out->control[i] = out->placed[i] = CreateButton(item, text, out->window);
  else
    out->control[i] = CreateEdit(item, text, &out->placed[i]);
  gtk_widget_set_size_request(out->placed[i], MapDialogUnits(item.cx, bx, 4),
                              MapDialogUnits(item.cy, by, 8));
  gtk_fixed_put(GTK_FIXED(layout), out->placed[i],
                MapDialogUnits(item.x, bx, 4), MapDialogUnits(item.y, by, 8));
  if (item.kind == ITEM_EDIT)
    SetTabStops(out->control[i]);
  if (item.style & WS_VISIBLE)
    gtk_widget_show_all(out->placed[i]);
}

}  // namespace

bool OpenDisplay() {
  static int state = -1;  // -1 not tried, 0 none, 1 open
  if (state < 0)
    state = gtk_init_check(NULL, NULL) ? 1 : 0;  // gtk_init would exit
  return state == 1;
}

void OfferOnlyMoveAndClose(GtkWindow* window) {
  gtk_window_set_type_hint(window, GDK_WINDOW_TYPE_HINT_DIALOG);
  // A screen reader says "dialog", as for a Windows dialog; GTK would
  // announce a plain window as a frame and a message dialog as an alert.
  atk_object_set_role(gtk_widget_get_accessible(GTK_WIDGET(window)),
                      ATK_ROLE_DIALOG);
  g_signal_connect(window, "realize", G_CALLBACK(LimitFrame), NULL);
}

bool CreateDialogWindow(const DialogTemplate& t, const unsigned char* res,
                        size_t size, DialogWidgets* out) {
  gchar* caption;
  gchar* texts[MAX_DIALOG_ITEMS] = {};
  if (!AllTextsValid(t, &caption, texts)) {
    FreeTexts(caption, texts);
    return false;
  }
  GtkWidget* window = out->window = CreateTopLevel(t, caption, out);
  int bx = out->baseX, by = out->baseY;
  GtkWidget* layout = gtk_fixed_new();
  gtk_widget_set_size_request(layout, MapDialogUnits(t.cx, bx, 4),
                              MapDialogUnits(t.cy, by, 8));
  gtk_container_add(GTK_CONTAINER(window), layout);
  gtk_widget_show(layout);
  for (int i = 0; i < t.itemCount; ++i)
    PlaceControl(t, i, texts[i], layout, out);
  FreeTexts(caption, texts);

  gtk_window_set_position(GTK_WINDOW(window), GTK_WIN_POS_CENTER);
  SetIcon(window, res, size);
  OfferOnlyMoveAndClose(GTK_WINDOW(window));
  return true;
}
