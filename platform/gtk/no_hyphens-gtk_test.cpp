#include <gtest/gtest.h>
#include <pango/pangocairo.h>
#include <string.h>

namespace {

// The number of glyphs Pango draws for `text` wrapped at `widthChars`
// columns, the layout given `attrs` as GTK's text view gives it.
int GlyphsDrawn(const char* text, int widthChars, PangoAttrList* attrs) {
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
  pango_layout_set_attributes(layout, attrs);

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

TEST(NoHyphens, LongWordsBreakWithoutAHyphen) {
  // One glyph a character: no hyphen where a line ends inside a word.
  const char* base64 = "VGhpcyBpcyBiYXNlNjQgdGV4dCB3aXRob3V0IGE";
  const char* word = "Donaudampfschifffahrtsgesellschaftskapitän";
  PangoAttrList* attrs = pango_attr_list_new();
  pango_attr_list_insert(attrs, pango_attr_foreground_new(0, 0, 0));
  PangoAttrList* before = pango_attr_list_copy(attrs);
  EXPECT_EQ(static_cast<int>(strlen(base64)), GlyphsDrawn(base64, 10, attrs));
  EXPECT_EQ(g_utf8_strlen(word, -1), GlyphsDrawn(word, 7, attrs));
  EXPECT_EQ(g_utf8_strlen(word, -1), GlyphsDrawn(word, 7, NULL));
  // The caller's list is left as it was.
  EXPECT_TRUE(pango_attr_list_equal(attrs, before));
  pango_attr_list_unref(before);
  pango_attr_list_unref(attrs);
}

TEST(NoHyphens, ALayoutThatAsksForHyphensGetsThem) {
  const char* word = "Donaudampfschifffahrtsgesellschaftskapitän";
  PangoAttrList* attrs = pango_attr_list_new();
  pango_attr_list_insert(attrs, pango_attr_insert_hyphens_new(TRUE));
  EXPECT_GT(GlyphsDrawn(word, 7, attrs), g_utf8_strlen(word, -1));
  pango_attr_list_unref(attrs);
}

}  // namespace
