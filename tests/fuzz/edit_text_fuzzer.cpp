// Fuzzes the conversion of the window's text bytes to the UTF-8 that GTK
// shows. The output must always be valid UTF-8 (checked by a strict
// validator written here), and no input byte may be lost.
//
// The mapping cannot be inverted from its output alone: a valid UTF-8
// sequence and a lone byte can show as the same character (C3 A9 and E9
// are both U+00E9; E2 90 80 and 00 are both U+2400). So the input is cut
// here, independently, into what each character stands for (a CR LF pair,
// a valid UTF-8 sequence, or a single byte), and every character of the
// output is decoded back to the bytes of its own piece and compared.
//
// The first two bytes of the input choose a smaller output buffer, to check
// that a short buffer holds a whole-character prefix and nothing beyond it.
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <string>
#include <vector>

#include "edit_text.h"

#include "fuzz_check.h"

namespace {

// Windows-1252 bytes 0x80-0x9F, the five undefined ones as U+0081 etc.
const uint32_t kCp1252[32] = {
    0x20AC, 0x81,   0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x8D,   0x017D, 0x8F,
    0x90,   0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x9D,   0x017E, 0x0178,
};

// Decodes one strictly valid UTF-8 character at s[0..n): no overlong form,
// no surrogate, nothing above U+10FFFF. Returns its length, or 0.
size_t DecodeUtf8(const unsigned char* s, size_t n, uint32_t* c) {
  if (n == 0)
    return 0;
  if (s[0] < 0x80) {
    *c = s[0];
    return 1;
  }
  size_t len;
  uint32_t min;
  if ((s[0] & 0xE0) == 0xC0) {
    len = 2, min = 0x80, *c = s[0] & 0x1F;
  } else if ((s[0] & 0xF0) == 0xE0) {
    len = 3, min = 0x800, *c = s[0] & 0x0F;
  } else if ((s[0] & 0xF8) == 0xF0) {
    len = 4, min = 0x10000, *c = s[0] & 0x07;
  } else {
    return 0;
  }
  if (n < len)
    return 0;
  for (size_t i = 1; i < len; ++i) {
    if ((s[i] & 0xC0) != 0x80)
      return 0;
    *c = *c << 6 | (s[i] & 0x3F);
  }
  if (*c < min || *c > 0x10FFFF || (*c >= 0xD800 && *c <= 0xDFFF))
    return 0;
  return len;
}

// The character a lone byte shows as.
uint32_t ByteCharacter(unsigned char b) {
  if (b == 0x7F)
    return 0x2421;
  if (b < 0x20 && b != '\t')
    return 0x2400 + b;
  if (b >= 0x80 && b < 0xA0)
    return kCp1252[b - 0x80];
  return b;
}

// The inverse of ByteCharacter: the byte a lone-byte character stands for.
int CharacterByte(uint32_t c) {
  if (c == 0x2421)
    return 0x7F;
  if (c >= 0x2400 && c < 0x2420 && c != 0x2409)
    return c - 0x2400;
  for (int i = 0; i < 32; ++i)
    if (kCp1252[i] == c)
      return 0x80 + i;
  if (c == '\t' || (c >= 0x20 && c < 0x7F) || (c >= 0xA0 && c <= 0xFF))
    return c;
  return -1;
}

// The input's pieces: each is one character of the output.
enum PieceKind { CRLF, SEQUENCE, BYTE };
struct Piece {
  PieceKind kind;
  size_t at, length;
};

std::vector<Piece> CutIntoPieces(const unsigned char* s, size_t n) {
  std::vector<Piece> pieces;
  for (size_t i = 0; i < n;) {
    uint32_t c;
    size_t len;
    if (s[i] == '\r' && i + 1 < n && s[i + 1] == '\n') {
      pieces.push_back({CRLF, i, 2});
      i += 2;
    } else if (s[i] >= 0x80 && (len = DecodeUtf8(s + i, n - i, &c)) > 0 &&
               c != 0x85 && c != 0x2028 && c != 0x2029) {
      // Next line, line and paragraph separators would break the line.
      pieces.push_back({SEQUENCE, i, len});
      i += len;
    } else {
      pieces.push_back({BYTE, i, 1});
      i += 1;
    }
  }
  return pieces;
}

// Checks that out[0..used) is valid UTF-8 and that its characters stand
// for the first pieces of the input, in order. Returns how many pieces.
size_t CheckOutput(const unsigned char* in, const std::vector<Piece>& pieces,
                   const unsigned char* out, size_t used) {
  size_t at = 0, p = 0;
  while (at < used) {
    CHECK(p < pieces.size());
    const Piece& piece = pieces[p++];
    uint32_t c;
    size_t len = DecodeUtf8(out + at, used - at, &c);
    CHECK(len > 0);  // valid UTF-8
    if (piece.kind == CRLF) {
      CHECK(c == '\r' && at + 1 < used && out[at + 1] == '\n');
      at += 2;
      continue;
    }
    if (piece.kind == SEQUENCE) {
      CHECK(len == piece.length && memcmp(out + at, in + piece.at, len) == 0);
    } else {
      CHECK(CharacterByte(c) == in[piece.at]);
      CHECK(ByteCharacter(in[piece.at]) == c);
    }
    // Nothing shown breaks a line but a CR LF pair.
    CHECK(c != '\r' && c != '\n');
    at += len;
  }
  return p;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2)
    return 0;
  size_t room = data[0] | data[1] << 8;
  data += 2;
  size -= 2;
  // Exactly sized heap copies, so that ASan sees any stray read or write.
  unsigned char* in = new unsigned char[size];
  memcpy(in, data, size);
  std::vector<Piece> pieces = CutIntoPieces(in, size);
  const char* text = reinterpret_cast<const char*>(in);

  size_t full = EditTextUtf8Size(size);
  unsigned char* out = new unsigned char[full];
  size_t used = EditTextToUtf8(text, size, reinterpret_cast<char*>(out), full);
  CHECK(used < full && out[used] == '\0');
  CHECK(memchr(out, '\0', used) == NULL);  // a NUL byte shows as U+2400
  CHECK(CheckOutput(in, pieces, out, used) == pieces.size());  // all there

  // A shorter buffer: a prefix of whole characters, terminated, in bounds.
  size_t shortSize = room % full + 1;
  unsigned char* part = new unsigned char[shortSize];
  size_t partUsed =
      EditTextToUtf8(text, size, reinterpret_cast<char*>(part), shortSize);
  CHECK(partUsed < shortSize && part[partUsed] == '\0');
  CHECK(partUsed <= used && memcmp(part, out, partUsed) == 0);
  size_t whole = CheckOutput(in, pieces, part, partUsed);
  if (whole < pieces.size()) {
    // It stopped only because the next character did not fit.
    uint32_t c;
    size_t next = pieces[whole].kind == CRLF
                      ? 2 : DecodeUtf8(out + partUsed, used - partUsed, &c);
    CHECK(partUsed + next > shortSize - 1);
  }
  delete[] part;
  delete[] out;
  delete[] in;
  return 0;
}
