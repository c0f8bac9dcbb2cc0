// Little-endian numbers in bytes, as the resource formats of Windows store
// them: 16-bit words and 32-bit double words, the low byte first. Pure byte
// work; the caller makes sure the bytes are there.
#ifndef MAILVIEW_PLATFORM_GTK_LITTLE_ENDIAN_H_
#define MAILVIEW_PLATFORM_GTK_LITTLE_ENDIAN_H_

// The word in the 2 bytes at `p`.
inline unsigned WordAt(const unsigned char* p) { return p[0] | p[1] << 8; }

// The double word in the 4 bytes at `p`.
inline unsigned long DwordAt(const unsigned char* p) {
  return WordAt(p) | static_cast<unsigned long>(WordAt(p + 2)) << 16;
}

// Writes double word `v` into the 4 bytes at `p`.
inline void PutDwordAt(unsigned char* p, unsigned long v) {
  for (int i = 0; i < 4; ++i)
    p[i] = (v >> 8 * i) & 0xFF;
}

#endif  // MAILVIEW_PLATFORM_GTK_LITTLE_ENDIAN_H_
