#include "edit_text.h"

#include <glib.h>
#include <gtest/gtest.h>

#include <random>
#include <string>

namespace {

std::string Shown(const std::string& bytes) {
  std::string out(EditTextUtf8Size(bytes.size()), '\xEE');
  size_t n = EditTextToUtf8(bytes.data(), bytes.size(), &out[0], out.size());
  EXPECT_EQ('\0', out[n]);
  out.resize(n);
  return out;
}

std::string Utf8(gunichar c) {
  char buf[8];
  return std::string(buf, g_unichar_to_utf8(c, buf));
}

TEST(EditText, OnlyCrLfBreaksALine) {
  EXPECT_EQ("a\r\nb", Shown("a\r\nb"));
  EXPECT_EQ("\r\n\r\n", Shown("\r\n\r\n"));
  EXPECT_EQ("a" + Utf8(0x240D) + "b", Shown("a\rb"));
  EXPECT_EQ("a" + Utf8(0x240A) + "b", Shown("a\nb"));
  EXPECT_EQ(Utf8(0x240A) + Utf8(0x240D), Shown("\n\r"));
  EXPECT_EQ(Utf8(0x240D) + "\r\n", Shown("\r\r\n"));
  EXPECT_EQ("\r\n" + Utf8(0x240A), Shown("\r\n\n"));
  EXPECT_EQ("x" + Utf8(0x240D), Shown("x\r"));  // a CR at the very end
  EXPECT_EQ("a\tb\t", Shown("a\tb\t"));
}

TEST(EditText, ControlBytesBecomeTheirPictures) {
  for (int b = 0; b < 0x20; ++b) {
    if (b == '\t')
      continue;
    EXPECT_EQ(Utf8(0x2400 + b), Shown(std::string(1, static_cast<char>(b)))) << b;
  }
  EXPECT_EQ(Utf8(0x2421), Shown("\x7F"));
  EXPECT_EQ(Utf8(0x2400) + "x", Shown(std::string("\0x", 2)));
  for (int b = 0x20; b < 0x7F; ++b)
    EXPECT_EQ(std::string(1, static_cast<char>(b)), Shown(std::string(1, static_cast<char>(b))));
}

TEST(EditText, Utf8StaysOtherBytesAreWindows1252) {
  EXPECT_EQ("caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80", Shown("caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80"));
  EXPECT_EQ("caf" + Utf8(0xE9), Shown("caf\xE9"));
  EXPECT_EQ(Utf8(0x20AC) + "5", Shown("\x80" "5"));
  EXPECT_EQ(Utf8(0xFF), Shown("\xFF"));
  EXPECT_EQ(Utf8(0xA0), Shown("\xA0"));
  const gunichar high[32] = {
      0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
      0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
      0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
      0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
  for (int b = 0x80; b < 0x100; ++b)
    EXPECT_EQ(Utf8(b < 0xA0 ? high[b - 0x80] : b), Shown(std::string(1, static_cast<char>(b)))) << b;
  // Broken sequences: each of their bytes on its own.
  EXPECT_EQ(Utf8(0xC3) + "A", Shown("\xC3" "A"));
  EXPECT_EQ(Utf8(0xC3), Shown("\xC3"));  // cut off at the end
  EXPECT_EQ(Utf8(0xE2) + Utf8(0x201A), Shown("\xE2\x82"));
  EXPECT_EQ(Utf8(0xC0) + Utf8(0x20AC), Shown("\xC0\x80"));  // overlong NUL
  EXPECT_EQ(Utf8(0xED) + Utf8(0xA0) + Utf8(0x20AC), Shown("\xED\xA0\x80"));  // surrogate
  EXPECT_EQ(Utf8(0xF4) + Utf8(0x90) + Utf8(0x20AC) + Utf8(0x20AC), Shown("\xF4\x90\x80\x80"));
  EXPECT_EQ("\xF4\x8F\xBF\xBF", Shown("\xF4\x8F\xBF\xBF"));  // U+10FFFF itself
  EXPECT_EQ(Utf8(0xC3) + "\r\n", Shown("\xC3\r\n"));
  // Characters that would break a line are shown byte by byte.
  EXPECT_EQ(Utf8(0xC2) + Utf8(0x2026), Shown("\xC2\x85"));  // U+0085
  EXPECT_EQ(Utf8(0xE2) + Utf8(0x20AC) + Utf8(0xA8), Shown("\xE2\x80\xA8"));  // U+2028
  EXPECT_EQ(Utf8(0xE2) + Utf8(0x20AC) + Utf8(0xA9), Shown("\xE2\x80\xA9"));  // U+2029
}

// Takes `out` apart again, character by character, against `in`: each must
// stand for the input bytes at its place by one of the rules. True when
// every input byte is accounted for and nothing else was written.
bool AccountsForEveryByte(const std::string& in, const std::string& out) {
  static const gunichar high[32] = {
      0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
      0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
      0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
      0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
  size_t i = 0, o = 0;
  while (o < out.size()) {
    if (out.compare(o, 2, "\r\n") == 0 && in.compare(i, 2, "\r\n") == 0) {
      i += 2, o += 2;
      continue;
    }
    const char* p = out.data() + o;
    gunichar c = g_utf8_get_char(p);
    size_t len = g_utf8_next_char(p) - p;
    if (c < 0x20 && c != '\t')
      return false;  // a control character, a line break, reached GTK
    if (c == 0x85 || c == 0x2028 || c == 0x2029)
      return false;
    unsigned char b = i < in.size() ? in[i] : 0;
    if (i < in.size() && c != 0x85 && in.compare(i, len, out, o, len) == 0)
      i += len;  // the same bytes: ASCII or a valid UTF-8 sequence
    else if (i < in.size() && ((b < 0x20 && c == 0x2400u + b) || (b == 0x7F && c == 0x2421)))
      i += 1;
    else if (i < in.size() && b >= 0x80 && c == (b < 0xA0 ? high[b - 0x80] : b))
      i += 1;
    else
      return false;
    o += len;
  }
  return i == in.size();
}

TEST(EditText, AlwaysValidUtf8AndNoByteLost) {
  std::string in(2, '\0');
  for (int a = 0; a < 256; ++a) {
    for (int b = 0; b < 256; ++b) {
      in[0] = static_cast<char>(a);
      in[1] = static_cast<char>(b);
      std::string out = Shown(in);
      ASSERT_TRUE(g_utf8_validate(out.data(), out.size(), NULL)) << a << " " << b;
      ASSERT_TRUE(AccountsForEveryByte(in, out)) << a << " " << b;
    }
  }
  // Random runs, weighted toward the bytes that make and break sequences.
  const unsigned char interesting[] = {'\r', '\n', '\t', 0, 0x7F, 0xC2, 0xC3, 0xE2, 0xED,
                                       0xF0, 0xF4, 0x80, 0x85, 0x8F, 0x9F, 0xA8, 0xA9,
                                       0xBF, 0xFF, 'a'};
  std::mt19937 random(1234);
  for (int run = 0; run < 200000; ++run) {
    std::string s(random() % 12, '\0');
    for (char& c : s)
      c = random() % 2 ? interesting[random() % sizeof interesting] : random() % 256;
    std::string out = Shown(s);
    ASSERT_LE(out.size(), 3 * s.size());
    ASSERT_TRUE(g_utf8_validate(out.data(), out.size(), NULL)) << run;
    ASSERT_TRUE(AccountsForEveryByte(s, out)) << run;
  }
  // The bound is reached.
  EXPECT_EQ(3 * 100u, Shown(std::string(100, '\x80')).size());
}

TEST(EditText, LessRoomStopsAtAWholeCharacter) {
  const std::string in = "a\r\n\xE2\x82\xAC\x80\r\xF0\x9F\x98\x80z";
  const std::string full = Shown(in);
  for (size_t room = 1; room <= full.size() + 1; ++room) {
    std::string out(room, '\xEE');
    size_t n = EditTextToUtf8(in.data(), in.size(), &out[0], room);
    ASSERT_LT(n, room);
    EXPECT_EQ('\0', out[n]);
    out.resize(n);
    EXPECT_EQ(full.substr(0, n), out) << room;
    EXPECT_TRUE(g_utf8_validate(out.data(), out.size(), NULL)) << room;
    EXPECT_NE('\r', n ? out[n - 1] : 0) << room;  // never half a CR LF
    // As much as fits: the next character would not have.
    if (n < full.size()) {
      size_t next = g_utf8_next_char(full.data() + n) - full.data();
      if (full.compare(n, 2, "\r\n") == 0)
        next = n + 2;
      EXPECT_GT(next, room - 1) << room;
    }
  }
  EXPECT_EQ(full.size(), EditTextToUtf8(in.data(), in.size(), &std::string(full.size() + 1, 0)[0], full.size() + 1));
}

}  // namespace
