#include "window_text.h"

#include <gtest/gtest.h>

namespace {

TEST(WindowTextTest, ReadAsTextThenShownAsTheWindowShowsIt) {
  const struct {
    std::string message, shown;
  } CASES[] = {
      {"", ""},
      // CR LF stays a line break; a bare LF becomes one too.
      {"A\r\nB\nC\n", "A\r\nB\r\nC\r\n"},
      // A lone CR and other control bytes show as their pictures.
      {"x\ry\x01\x7F\tz", "x\xE2\x90\x8Dy\xE2\x90\x81\xE2\x90\xA1\tz"},
      // A valid sequence is its character, any other byte Windows-1252.
      {"\xC3\xA9\xE9x\x80\x81", "\xC3\xA9\xC3\xA9x\xE2\x82\xAC\xC2\x81"},
      // Ctrl-Z ends a file; a NUL is dropped alone.
      {"ab\x1A" "cd", "ab"},
      {std::string("a\0b\nc", 5), "ab\r\nc"},
  };
  for (const auto& c : CASES) {
    std::string shown = "unset";
    EXPECT_TRUE(WindowText(c.message, &shown));
    EXPECT_EQ(shown, c.shown) << c.message;
  }
}

TEST(WindowTextTest, LongestMessageShownAndOneMoreRefused) {
  std::string shown;
  ASSERT_TRUE(WindowText(std::string(9999, '\n'), &shown));
  std::string breaks;
  for (int i = 0; i < 9999; ++i)
    breaks += "\r\n";
  EXPECT_TRUE(shown == breaks) << shown.size() << " bytes";
  shown = "unset";
  EXPECT_FALSE(WindowText(std::string(10000, 'x'), &shown));
  EXPECT_EQ(shown, "unset");
}

}  // namespace
