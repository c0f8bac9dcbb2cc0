// Pango breaks a line inside an item by shaping the rest of that item
// again, so a long line of the mail that is one item (a word with no place
// to break, 9,999 characters of it) costs time in the square of its length:
// tens of milliseconds each time the text view lays it out. The text view
// gives Pango attribute ranges that end wherever the tags on the text
// change, and Pango ends an item wherever an attribute range ends; so a tag
// that sets nothing, on every other piece of a long line, cuts the line
// into items of SHORT_ITEM_CHARS characters and changes nothing drawn:
// Pango shapes each item with the text around it as context, so even a
// mark parted from its base keeps its place (short_items_test.cpp).
#include "short_items.h"

namespace {

const char* const kTagName = "short-items";

GtkTextTag* ShortItemsTag(GtkTextBuffer* buffer) {
  GtkTextTag* tag =
      gtk_text_tag_table_lookup(gtk_text_buffer_get_tag_table(buffer), kTagName);
  return tag ? tag : gtk_text_buffer_create_tag(buffer, kTagName, NULL);
}

}  // namespace

void CutIntoShortItems(GtkTextBuffer* buffer) {
  GtkTextTag* tag = ShortItemsTag(buffer);
  int lines = gtk_text_buffer_get_line_count(buffer);
  for (int line = 0; line < lines; ++line) {
    GtkTextIter start, end;
    gtk_text_buffer_get_iter_at_line(buffer, &start, line);
    end = start;
    if (!gtk_text_iter_ends_line(&end))
      gtk_text_iter_forward_to_line_end(&end);
    int first = gtk_text_iter_get_offset(&start);
    int chars = gtk_text_iter_get_offset(&end) - first;  // CR LF not counted
    for (int at = 0; at + SHORT_ITEM_CHARS < chars; at += 2 * SHORT_ITEM_CHARS) {
      GtkTextIter from, to;
      gtk_text_buffer_get_iter_at_offset(buffer, &from, first + at);
      gtk_text_buffer_get_iter_at_offset(buffer, &to, first + at + SHORT_ITEM_CHARS);
      gtk_text_buffer_apply_tag(buffer, tag, &from, &to);
    }
  }
}
