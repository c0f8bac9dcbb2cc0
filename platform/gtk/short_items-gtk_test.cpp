// The short items on a text view set up as the Send Mail window's, on the
// virtual display: they change nothing it draws.
#include <gtest/gtest.h>
#include <gtk/gtk.h>
#include <stdlib.h>

#include <algorithm>
#include <string>
#include <vector>

#include "adversarial_lines.h"
#include "dialog_window.h"
#include "edit_text.h"
#include "short_items.h"

namespace {

const int COLUMNS = 80;

struct Image {
  int width, height;
  std::string pixels;  // RGBA, row after row
};

// What a word-wrapping text view in the window's font draws for `utf8` at
// COLUMNS columns, all of it in view, with the short items or without.
Image Drawn(const std::string& utf8, bool shortItems) {
  GtkWidget* window = gtk_offscreen_window_new();
  GtkWidget* view = gtk_text_view_new();
  gtk_text_view_set_wrap_mode(GTK_TEXT_VIEW(view), GTK_WRAP_WORD_CHAR);
  GtkCssProvider* css = gtk_css_provider_new();
  gtk_css_provider_load_from_data(
      css, "* { font-family: Monospace; font-size: 9pt; }", -1, NULL);
  gtk_style_context_add_provider(gtk_widget_get_style_context(view),
                                 GTK_STYLE_PROVIDER(css),
                                 GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
  g_object_unref(css);
  PangoLayout* digit = gtk_widget_create_pango_layout(view, "0");
  Image drawn = {0, 0, ""};
  pango_layout_get_pixel_size(digit, &drawn.width, NULL);
  g_object_unref(digit);
  drawn.width *= COLUMNS;
  gtk_widget_set_size_request(view, drawn.width, -1);

  GtkTextBuffer* buffer = gtk_text_view_get_buffer(GTK_TEXT_VIEW(view));
  gtk_text_buffer_set_text(buffer, utf8.data(), static_cast<int>(utf8.size()));
  if (shortItems)
    CutIntoShortItems(buffer);
  gtk_container_add(GTK_CONTAINER(window), view);
  gtk_widget_show_all(window);
  // Laid out and drawn here and now, not when the main loop gets to it: the
  // view validates the lines in view when it is allocated, and all of them
  // are once the height it asks for stays the same. Its width is the
  // columns', as in the window, whatever the width of its lines.
  int height = 0;
  for (int asked = -1; asked != height;) {
    asked = height;
    gtk_widget_get_preferred_height_for_width(view, drawn.width, &height, NULL);
    GtkAllocation all = {0, 0, drawn.width, height};
    gtk_widget_size_allocate(view, &all);
  }
  cairo_surface_t* image =
      cairo_image_surface_create(CAIRO_FORMAT_ARGB32, drawn.width, height);
  cairo_t* cr = cairo_create(image);
  gtk_widget_draw(view, cr);
  cairo_destroy(cr);
  cairo_surface_flush(image);
  drawn.height = height;
  const unsigned char* data = cairo_image_surface_get_data(image);
  int stride = cairo_image_surface_get_stride(image);
  for (int y = 0; y < height; ++y)
    drawn.pixels.append(reinterpret_cast<const char*>(data + y * stride),
                        drawn.width * 4);
  cairo_surface_destroy(image);
  gtk_widget_destroy(window);
  return drawn;
}

// The largest difference in one channel of one pixel.
int MostApart(const std::string& a, const std::string& b) {
  int most = a.size() == b.size() ? 0 : 255;
  for (size_t i = 0; i < a.size() && i < b.size(); ++i)
    most = std::max(most, abs(static_cast<unsigned char>(a[i]) -
                              static_cast<unsigned char>(b[i])));
  return most;
}

// The longest run in `utf8` of characters that `is` holds for.
int LongestRun(const std::string& utf8, gboolean (*is)(gunichar)) {
  int longest = 0, run = 0;
  for (const char* p = utf8.c_str(); *p; p = g_utf8_next_char(p)) {
    run = is(g_utf8_get_char(p)) ? run + 1 : 0;
    longest = std::max(longest, run);
  }
  return longest;
}

TEST(ShortItems, ChangeNothingTheTextViewDraws) {
  if (!OpenDisplay())
    GTEST_SKIP() << "no display";
  std::vector<AdversarialLine> lines = AdversarialLines();
  for (const char* unit : {"a", "\x81", "\xE9", "word ", "\t"})
    lines.push_back({unit, Fill(unit)});
  lines.push_back({"short lines", "To: a@example.org\r\n\r\n" + Fill("ab\r\n")});
  for (const AdversarialLine& line : lines) {
    SCOPED_TRACE(line.what);
    std::string utf8(EditTextUtf8Size(line.text.size()), '\0');
    utf8.resize(EditTextToUtf8(line.text.data(), line.text.size(), &utf8[0],
                               utf8.size()));
    Image without = Drawn(utf8, false), with = Drawn(utf8, true);
    ASSERT_GT(without.height, 0);
    // As many lines drawn.
    EXPECT_EQ(without.height, with.height);
    // Drawn alike, but for a shade of antialiasing where the glyphs of two
    // items overlap (joined Arabic letters), and for two cases where what
    // Pango does at an item's end shows. In a run of white space longer
    // than a row Pango lets a space hang past the row's end where an item
    // ends, and the rest of the run and what follows move by a space. And
    // the marks of one base in two items are drawn one item after the
    // other, so where thousands of marks overlap they are darker.
    if (LongestRun(utf8, g_unichar_isspace) <= COLUMNS &&
        LongestRun(utf8, g_unichar_ismark) <= SHORT_ITEM_CHARS) {
      EXPECT_LE(MostApart(without.pixels, with.pixels), 32);
    }
  }
}

// The characters of `utf8` that CutIntoShortItems tags, as a string with
// '#' for each tagged one and '.' for each other.
std::string Tagged(const std::string& utf8) {
  GtkTextBuffer* buffer = gtk_text_buffer_new(NULL);
  gtk_text_buffer_set_text(buffer, utf8.data(), static_cast<int>(utf8.size()));
  CutIntoShortItems(buffer);
  GtkTextTag* tag = gtk_text_tag_table_lookup(
      gtk_text_buffer_get_tag_table(buffer), "short-items");
  std::string marks;
  GtkTextIter at;
  for (gtk_text_buffer_get_start_iter(buffer, &at); !gtk_text_iter_is_end(&at);
       gtk_text_iter_forward_char(&at))
    marks += tag && gtk_text_iter_has_tag(&at, tag) ? '#' : '.';
  g_object_unref(buffer);
  return marks;
}

TEST(ShortItems, CutOnlyTheStretchesBetweenTabs) {
  if (!OpenDisplay())
    GTEST_SKIP() << "no display";
  const std::string a64(64, 'a'), t64(64, '#'), d64(64, '.');
  const struct {
    std::string text, tagged;
  } cases[] = {
      {a64, d64},
      {a64 + "a", d64 + "#"},
      {a64 + a64 + a64 + "aa", d64 + t64 + d64 + "##"},
      {"\t" + a64 + a64, "." + d64 + t64},
      {a64 + "\t" + a64 + "\t", d64 + "." + d64 + "."},
      {a64 + "aa\taa" + a64, d64 + "##." + d64 + "##"},
      {a64 + "a\r\na" + a64, d64 + "#.." + d64 + "#"},
      {a64 + "\xE2\x80\xA9" + a64 + "a", d64 + "." + d64 + "#"},
      {std::string(9999, '\t'), std::string(9999, '.')},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(c.tagged, Tagged(c.text));
  }
}

}  // namespace
