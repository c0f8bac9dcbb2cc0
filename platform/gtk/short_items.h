// Long lines cut into short items for Pango, so that the text view lays
// them out in time linear in their length.
#ifndef MAILVIEW_PLATFORM_GTK_SHORT_ITEMS_H_
#define MAILVIEW_PLATFORM_GTK_SHORT_ITEMS_H_

#include <gtk/gtk.h>

// Characters in each piece of a line that has more.
enum { SHORT_ITEM_CHARS = 64 };

// Tags every other SHORT_ITEM_CHARS characters of each stretch of `buffer`
// between tabs and line ends that is longer than that, with a tag that
// changes nothing drawn. Call it after the text is set.
void CutIntoShortItems(GtkTextBuffer* buffer);

#endif  // MAILVIEW_PLATFORM_GTK_SHORT_ITEMS_H_
