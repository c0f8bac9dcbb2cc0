// Little-endian numbers and UTF-16 strings in bytes, as .res files, dialog
// templates and a Windows executable's resources hold them: the tests' own
// writer and reader, apart from the readers they check.
#ifndef MAILVIEW_TESTS_LE_BYTES_H_
#define MAILVIEW_TESTS_LE_BYTES_H_

#include <stddef.h>
#include <stdint.h>

#include <string>
#include <vector>

typedef std::vector<unsigned char> Bytes;

inline void PutWord(Bytes* b, unsigned v) {
  b->push_back(v & 0xFF);
  b->push_back((v >> 8) & 0xFF);
}

inline void PutDword(Bytes* b, unsigned long v) {
  PutWord(b, v & 0xFFFF);
  PutWord(b, (v >> 16) & 0xFFFF);
}

// A NUL-terminated UTF-16 string of ASCII text.
inline void PutString(Bytes* b, const std::string& s) {
  for (unsigned char c : s)
    PutWord(b, c);
  PutWord(b, 0);
}

// Pads with zeros to a multiple of 4 bytes.
inline void Align(Bytes* b) {
  while (b->size() % 4)
    b->push_back(0);
}

// Reads what the writers above write, from `at` on; reading past the end
// yields zeros and marks the reader as overrun.
struct Reader {
  const Bytes& bytes;
  size_t at = 0;
  bool overrun = false;

  uint16_t Word() {
    if (at + 2 > bytes.size()) {
      overrun = true;
      return 0;
    }
    at += 2;
    return static_cast<uint16_t>(bytes[at - 2] | bytes[at - 1] << 8);
  }
  uint32_t Dword() {
    uint32_t low = Word();
    return low | static_cast<uint32_t>(Word()) << 16;
  }
  // A NUL-terminated UTF-16 string, each character past ASCII read as '?'.
  std::string String() {
    std::string s;
    for (uint16_t c = Word(); c != 0 && !overrun; c = Word())
      s += c < 0x80 ? static_cast<char>(c) : '?';
    return s;
  }
  // A name or an ordinal, the ordinal written "#n".
  std::string NameOrOrdinal() {
    if (at + 2 <= bytes.size() && bytes[at] == 0xFF && bytes[at + 1] == 0xFF) {
      at += 2;
      return "#" + std::to_string(Word());
    }
    return String();
  }
  void Align4() { at = (at + 3) & ~size_t{3}; }
};

#endif  // MAILVIEW_TESTS_LE_BYTES_H_
