// Pango breaks a line inside an item by shaping the rest of that item
// again, so a long line of the mail that is one item (a word with no place
// to break, 9,999 characters of it) costs time in the square of its length:
// tens of milliseconds each time the text view lays it out. The text view
// gives Pango attribute ranges that end wherever the tags on the text
// change, and Pango ends an item wherever an attribute range ends; so a tag
// that sets nothing, on every other piece of a long line, cuts the line
// into items of SHORT_ITEM_CHARS characters and changes nothing drawn:
// Pango shapes each item with the text around it as context, so even a
// mark parted from its base keeps its place (short_items-gtk_test.cpp).
// Pango gives each tab an item of its own, so only the stretches between
// tabs are cut: more ranges among tabs would shorten no item and cost
// much, as each item of a line, laid out for drawing, walks the line's
// attribute ranges from the first (9,999 tabs among 156 ranges take longer
// than laying out the rest of the window).
#include "short_items.h"

#include <algorithm>

namespace {

const char* const TAG_NAME = "short-items";

GtkTextTag* ShortItemsTag(GtkTextBuffer* buffer) {
  GtkTextTag* tag =
      gtk_text_tag_table_lookup(gtk_text_buffer_get_tag_table(buffer), TAG_NAME);
  return tag ? tag : gtk_text_buffer_create_tag(buffer, TAG_NAME, NULL);
}

// Tags every other SHORT_ITEM_CHARS characters of the `chars` characters
// from offset `first`, which hold no tab.
void CutStretch(GtkTextBuffer* buffer, GtkTextTag* tag, int first, int chars) {
  for (int at = SHORT_ITEM_CHARS; at < chars; at += 2 * SHORT_ITEM_CHARS) {
    GtkTextIter from, to;
    gtk_text_buffer_get_iter_at_offset(buffer, &from, first + at);
    gtk_text_buffer_get_iter_at_offset(
        buffer, &to, first + std::min(chars, at + SHORT_ITEM_CHARS));
    gtk_text_buffer_apply_tag(buffer, tag, &from, &to);
  }
}

}  // namespace

void CutIntoShortItems(GtkTextBuffer* buffer) {
  GtkTextTag* tag = ShortItemsTag(buffer);
  GtkTextIter start, end;
  gtk_text_buffer_get_bounds(buffer, &start, &end);
  gchar* text = gtk_text_buffer_get_text(buffer, &start, &end, TRUE);
  // A stretch ends at a tab and at the end of a line (CR LF not counted).
  int offset = 0, first = 0;
  for (const char* p = text;; p = g_utf8_next_char(p), ++offset) {
    gunichar c = g_utf8_get_char(p);
    if (c == '\t' || c == '\r' || c == '\n' || c == 0x2029 || c == 0) {
      if (offset - first > SHORT_ITEM_CHARS)
        CutStretch(buffer, tag, first, offset - first);
      first = offset + 1;
    }
    if (c == 0)
      break;
  }
  g_free(text);
}
