#include "adversarial_lines.h"

std::string Fill(const std::string& unit) {
  const size_t longest = 9999;  // one character short of the refusal
  std::string text;
  while (text.size() + unit.size() <= longest)
    text += unit;
  return text;
}

std::vector<AdversarialLine> AdversarialLines() {
  return {
    // White space of every kind, and runs that mix them.
    {"spaces then a word", std::string(9000, ' ') + "word"},
    {"tabs then a word", std::string(9000, '\t') + "word"},
    {"space and tab", Fill(" \t")},
    {"tab and no-break space", Fill("\t\xC2\xA0")},
    {"no-break spaces", Fill("\xC2\xA0")},
    {"ogham space marks", Fill("\xE1\x9A\x80")},
    {"Mongolian vowel separators", Fill("\xE1\xA0\x8E")},
    {"en quads to hair spaces", Fill("\xE2\x80\x80\xE2\x80\x81\xE2\x80\x82\xE2\x80\x83"
                                     "\xE2\x80\x84\xE2\x80\x85\xE2\x80\x86\xE2\x80\x87"
                                     "\xE2\x80\x88\xE2\x80\x89\xE2\x80\x8A")},
    {"zero-width spaces", Fill("\xE2\x80\x8B")},
    {"word joiners between letters", Fill("x\xE2\x81\xA0")},
    {"narrow no-break spaces", Fill("\xE2\x80\xAF")},
    {"medium mathematical spaces", Fill("\xE2\x81\x9F")},
    {"ideographic spaces", Fill("\xE3\x80\x80")},
    {"byte order marks", Fill("\xEF\xBB\xBF")},
    {"line and paragraph separators", Fill("\xE2\x80\xA8\xE2\x80\xA9\xC2\x85")},
    // Combining marks on one base: one character, however many marks.
    {"one acute accent after another", "a" + Fill("\xCC\x81").substr(2)},
    {"many kinds of marks", "o" + Fill("\xCC\x80\xCC\x81\xCC\x82\xCC\x83\xCD\xA3\xD2\x89").substr(6)},
    // Wide and right-to-left scripts, and the marks that steer direction.
    {"CJK ideographs", Fill("\xE4\xB8\x80")},
    {"fullwidth letters", Fill("\xEF\xBC\xA1")},
    {"Hangul syllables", Fill("\xED\x95\x9C")},
    {"Hangul leading jamo, one cluster", Fill("\xE1\x84\x80")},
    {"Hebrew", Fill("\xD7\xA9")},
    {"Arabic joined letters", Fill("\xD8\xB3")},
    {"Arabic tatweel", Fill("\xD9\x80")},
    {"right-to-left override", "\xE2\x80\xAE" + Fill("abc").substr(3)},
    {"direction marks between digits", Fill("1\xE2\x80\x8F" "2\xE2\x80\x8E")},
    // Emoji sequences.
    {"emoji", Fill("\xF0\x9F\x98\x80")},
    {"families", Fill("\xF0\x9F\x91\xA8\xE2\x80\x8D\xF0\x9F\x91\xA9\xE2\x80\x8D"
                      "\xF0\x9F\x91\xA7")},
    {"one endless joiner sequence", Fill("\xF0\x9F\x91\xA8\xE2\x80\x8D")},
    {"flags", Fill("\xF0\x9F\x87\xA9\xF0\x9F\x87\xAA")},
    {"skin tones", Fill("\xF0\x9F\x91\x8B\xF0\x9F\x8F\xBD")},
    {"keycaps", Fill("1\xEF\xB8\x8F\xE2\x83\xA3")},
    {"variation selectors", "x" + Fill("\xEF\xB8\x8F").substr(3)},
    // Control bytes and broken UTF-8.
    {"every control byte", Fill(std::string("\x01\x02\x03\x04\x05\x06\x07\x08\x0B\x0C\x0E"
                                           "\x0F\x10\x11\x12\x13\x14\x15\x16\x17\x18\x19"
                                           "\x1A\x1B\x1C\x1D\x1E\x1F\x7F"))},
    {"lone CR and LF", Fill("\r\n\n\r")},
    {"cut UTF-8", Fill("\xE2\x82")},
  };
}
