// Bytes to the characters the edit control shows, as UTF-8.
#include "edit_text.h"

#include <glib.h>
#include <string.h>

namespace {

// Windows-1252 bytes 0x80-0x9F; the rest of the upper half is Latin-1.
const gunichar CP1252_HIGH[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

// How the character starting at `text` (with `left` bytes left) is shown:
// sets *c to the character and returns how many bytes it takes.
size_t NextCharacter(const unsigned char* text, size_t left, gunichar* c) {
  unsigned char b = text[0];
  if (b == '\r' && left >= 2 && text[1] == '\n') {
    *c = '\n';  // the caller writes the pair
    return 2;
  }
  if (b == 0x7F) {
    *c = 0x2421;
    return 1;
  }
  if (b < 0x20 && b != '\t') {
    *c = 0x2400 + b;
    return 1;
  }
  if (b < 0x80) {
    *c = b;
    return 1;
  }
  gunichar u = g_utf8_get_char_validated(reinterpret_cast<const gchar*>(text),
                                         left > 4 ? 4 : left);
  if (u < 0x110000 && u != 0x85 && u != 0x2028 && u != 0x2029) {
    *c = u;
    return g_utf8_skip[b];
  }
  *c = b < 0xA0 ? CP1252_HIGH[b - 0x80] : b;
  return 1;
}

}  // namespace

size_t EditTextToUtf8(const char* text, size_t length, char* out,
                      size_t outSize) {
  const unsigned char* in = reinterpret_cast<const unsigned char*>(text);
  size_t used = 0;
  for (size_t pos = 0; pos < length;) {
    gunichar c;
    size_t taken = NextCharacter(in + pos, length - pos, &c);
    char utf8[6];
    size_t n;
    if (taken == 2 && c == '\n') {
      memcpy(utf8, "\r\n", 2);
      n = 2;
    } else {
      n = g_unichar_to_utf8(c, utf8);
    }
    if (outSize - 1 - used < n)
      break;
    memcpy(out + used, utf8, n);
    used += n;
    pos += taken;
  }
  out[used] = '\0';
  return used;
}
