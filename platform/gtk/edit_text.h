// The bytes of an edit control's text as the characters GTK is to show.
// Pure conversion: no GTK, and the result is always valid UTF-8.
#ifndef MAILVIEW_PLATFORM_GTK_EDIT_TEXT_H_
#define MAILVIEW_PLATFORM_GTK_EDIT_TEXT_H_

#include <stddef.h>

// Room that always suffices for the conversion of `length` bytes: no byte
// becomes more than three bytes of UTF-8, plus the terminating NUL.
inline size_t EditTextUtf8Size(size_t length) { return 3 * length + 1; }

// Converts the `length` bytes at `text` to NUL-terminated UTF-8 in `out`,
// which has room for `outSize` bytes (at least 1), and returns the number of
// bytes written before the NUL. As the Windows edit control shows text:
//  - only CR LF breaks a line, and stays CR LF;
//  - a lone CR, a lone LF and every other control byte but TAB become their
//    visible control picture (U+2400 + byte, U+2421 for DEL);
//  - a valid UTF-8 sequence is its character, except the three that would
//    break a line (U+0085, U+2028, U+2029);
//  - every other byte is its Windows-1252 character, the five bytes that
//    code page leaves undefined becoming U+0081, U+008D, U+008F, U+0090 and
//    U+009D.
// No byte is dropped. With less room than EditTextUtf8Size(length) the
// output ends after the last whole character that fits.
size_t EditTextToUtf8(const char* text, size_t length, char* out,
                      size_t outSize);

#endif  // MAILVIEW_PLATFORM_GTK_EDIT_TEXT_H_
