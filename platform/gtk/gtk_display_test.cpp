#include <dlfcn.h>
#include <gtest/gtest.h>
#include <pango/pangocairo.h>
#include <string.h>

#include <string>
#include <vector>

#include "adversarial_lines.h"
#include "edit_text.h"

namespace {

// The number of glyphs Pango draws for `text` wrapped at `width` pixels.
int GlyphsDrawn(const char* text, int widthChars) {
  PangoFontMap* map = pango_cairo_font_map_get_default();
  PangoContext* context = pango_font_map_create_context(map);
  PangoLayout* layout = pango_layout_new(context);
  PangoFontDescription* font = pango_font_description_from_string("Monospace 9");
  pango_layout_set_font_description(layout, font);
  pango_layout_set_text(layout, "0", -1);
  int digit;
  pango_layout_get_size(layout, &digit, NULL);
  pango_layout_set_text(layout, text, -1);
  pango_layout_set_wrap(layout, PANGO_WRAP_WORD_CHAR);
  pango_layout_set_width(layout, digit * widthChars);
  // As GTK's text view does for every line it lays out.
  PangoAttrList* attrs = pango_attr_list_new();
  pango_layout_set_attributes(layout, attrs);
  pango_attr_list_unref(attrs);

  int glyphs = 0;
  for (GSList* l = pango_layout_get_lines_readonly(layout); l; l = l->next) {
    for (GSList* r = static_cast<PangoLayoutLine*>(l->data)->runs; r; r = r->next)
      glyphs += static_cast<PangoGlyphItem*>(r->data)->glyphs->num_glyphs;
  }
  EXPECT_GT(pango_layout_get_line_count(layout), 1);
  pango_font_description_free(font);
  g_object_unref(layout);
  g_object_unref(context);
  return glyphs;
}

TEST(GtkDisplay, LongWordsBreakWithoutAHyphen) {
  // One glyph a character: no hyphen where a line ends inside a word.
  const char* base64 = "VGhpcyBpcyBiYXNlNjQgdGV4dCB3aXRob3V0IGE";
  EXPECT_EQ(static_cast<int>(strlen(base64)), GlyphsDrawn(base64, 10));
  const char* word = "Donaudampfschifffahrtsgesellschaftskapitän";
  EXPECT_EQ(g_utf8_strlen(word, -1), GlyphsDrawn(word, 7));
}

// Where each line of `utf8` starts and which glyphs are drawn, wrapped at
// 80 columns as the Send Mail window does, with the program's attributes or,
// when `pangos`, with Pango's own function and only the no-hyphen one.
std::vector<int> LayoutOf(const std::string& utf8, bool pangos) {
  typedef void (*SetAttributes)(PangoLayout*, PangoAttrList*);
  static SetAttributes pango_own = reinterpret_cast<SetAttributes>(
      dlsym(RTLD_NEXT, "pango_layout_set_attributes"));
  PangoContext* context =
      pango_font_map_create_context(pango_cairo_font_map_get_default());
  PangoLayout* layout = pango_layout_new(context);
  PangoFontDescription* font = pango_font_description_from_string("Monospace 9");
  pango_layout_set_font_description(layout, font);
  pango_layout_set_wrap(layout, PANGO_WRAP_WORD_CHAR);
  pango_layout_set_width(layout, 80 * 7 * PANGO_SCALE);
  pango_layout_set_text(layout, utf8.data(), static_cast<int>(utf8.size()));
  PangoAttrList* attrs = pango_attr_list_new();
  if (pangos) {
    pango_attr_list_insert(attrs, pango_attr_insert_hyphens_new(FALSE));
    pango_own(layout, attrs);
  } else {
    pango_layout_set_attributes(layout, attrs);
  }
  pango_attr_list_unref(attrs);
  // Inside a run of white space a line may end a space sooner or later:
  // Pango hangs the space at a line's end only where an item ends. Such
  // breaks and the glyphs of spaces are left out.
  std::vector<int> seen;
  for (GSList* l = pango_layout_get_lines_readonly(layout); l; l = l->next) {
    int start = static_cast<PangoLayoutLine*>(l->data)->start_index;
    const char* before = start > 0 ? g_utf8_prev_char(utf8.data() + start) : NULL;
    if (!before || !g_unichar_isspace(g_utf8_get_char(before)))
      seen.push_back(-start - 1);
    for (GSList* r = static_cast<PangoLayoutLine*>(l->data)->runs; r; r = r->next) {
      PangoGlyphItem* run = static_cast<PangoGlyphItem*>(r->data);
      for (int i = 0; i < run->glyphs->num_glyphs; ++i) {
        PangoGlyph glyph = run->glyphs->glyphs[i].glyph;
        const char* c = utf8.data() + run->item->offset + run->glyphs->log_clusters[i];
        const PangoGlyphGeometry& at = run->glyphs->glyphs[i].geometry;
        if (glyph != PANGO_GLYPH_EMPTY && !g_unichar_isspace(g_utf8_get_char(c)))
          seen.insert(seen.end(), {static_cast<int>(glyph), at.width,
                                   at.x_offset, at.y_offset});
      }
    }
  }

  pango_font_description_free(font);
  g_object_unref(layout);
  g_object_unref(context);
  return seen;
}

TEST(GtkDisplay, ShortItemsLeaveLinesAndGlyphsAsTheyWere) {
  std::vector<AdversarialLine> lines = AdversarialLines();
  for (const char* unit : {"a", "\x81", "\xE9", "word ", "\t"})
    lines.push_back({unit, Fill(unit)});
  for (const AdversarialLine& line : lines) {
    SCOPED_TRACE(line.what);
    std::string utf8(EditTextUtf8Size(line.text.size()), '\0');
    utf8.resize(EditTextToUtf8(line.text.data(), line.text.size(), &utf8[0],
                               utf8.size()));
    EXPECT_EQ(LayoutOf(utf8, false), LayoutOf(utf8, true));
  }
}

}  // namespace
