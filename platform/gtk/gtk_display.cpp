// Opening GTK's display, in the process that is to talk to it.
#include "gtk_display.h"

#include <dlfcn.h>
#include <gtk/gtk.h>

#include "display_child.h"

namespace {

// Pango breaks a line inside an item by shaping the rest of that item
// again, so a long line of the mail that is one item (a word with no place
// to break, 9,999 characters of it) costs time in the square of its length:
// tens of milliseconds each time GTK lays it out. Items end where an
// attribute that bears on shaping ends, so the layout is given spans of
// SPAN_CHARS characters of the font-fallback attribute at its default
// value, which changes nothing drawn: Pango shapes each item with the text
// around it as context, so even a mark parted from its base keeps its place.
enum { SPAN_CHARS = 64 };

// Cuts `text` into items of SPAN_CHARS characters.
void InsertItemSpans(PangoAttrList* list, const char* text) {
  const char* start = text;
  for (const char* p = text; *p; start = p) {
    for (int n = 0; n < SPAN_CHARS && *p; ++n)
      p = g_utf8_next_char(p);
    PangoAttribute* span = pango_attr_fallback_new(TRUE);
    span->start_index = static_cast<guint>(start - text);
    span->end_index = static_cast<guint>(p - text);
    pango_attr_list_insert(list, span);
  }
}

}  // namespace

// GTK gives every layout of its text view its attributes after its text,
// through this function in Pango; the program's own definition comes first,
// to add two things. The spans above. And no hyphens: Pango draws a hyphen
// where it breaks a word that is longer than a line, a character that is
// not in the mail (think of base64 lines or long URLs), and GTK 3's text
// view offers no way to turn that off.
extern "C" void pango_layout_set_attributes(PangoLayout* layout,
                                            PangoAttrList* attrs) {
  typedef void (*SetAttributes)(PangoLayout*, PangoAttrList*);
  static SetAttributes pangos;  // no guarded initializer: no C++ runtime
  if (!pangos)
    pangos = reinterpret_cast<SetAttributes>(
        dlsym(RTLD_NEXT, "pango_layout_set_attributes"));
  PangoAttrList* own = attrs ? pango_attr_list_copy(attrs) : pango_attr_list_new();
  pango_attr_list_insert(own, pango_attr_insert_hyphens_new(FALSE));
  InsertItemSpans(own, pango_layout_get_text(layout));
  pangos(layout, own);
  pango_attr_list_unref(own);
}

bool OpenDisplay() {
  static int state = -1;  // -1 not tried, 0 none, 1 open
  if (state < 0) {
    // gtk_init would end the process when no display can be opened.
    state = EnterDisplayProcess() && gtk_init_check(NULL, NULL) ? 1 : 0;
  }
  return state == 1;
}
