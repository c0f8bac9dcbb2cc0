// Standard input read as text.
#include "text_input.h"

#include <string.h>

namespace {

const char CR = 0x0D;
const char LF = 0x0A;
const char CTRL_Z = 0x1A;

RawReadProc rawRead;
bool charDevice;

// One raw read, with a byte in front for a CR held back from the read before.
char readBuffer[1 + RAW_READ_SIZE];

// Reads that only look for the end: large, so that draining a long input
// costs little more than the system calls of copying it.
const int SKIP_READ_SIZE = 128 * 1024;
char skipBuffer[SKIP_READ_SIZE];

bool ctrlZSeen;       // a file or pipe reached its Ctrl-Z: no more reads
bool heldCR;          // the last read ended in CR; its fate hangs on the next byte
bool nothingPending;  // the next read yields nothing without reading

// Turns every CR LF pair of text[0..n) into LF; returns the new length.
int JoinCRLF(char* text, int n) {
  char* out = text;
  const char* in = text;
  const char* end = text + n;
  while (const char* cr = static_cast<const char*>(memchr(in, CR, end - in))) {
    if (cr + 1 == end)
      break;
    int keep = (cr[1] == LF) ? 0 : 1;
    memmove(out, in, cr - in + keep);
    out += cr - in + keep;
    in = cr + 1;
  }
  memmove(out, in, end - in);
  return static_cast<int>(out - text) + static_cast<int>(end - in);
}

}  // namespace

void OpenTextInput(RawReadProc read, bool isCharDevice) {
  rawRead = read;
  charDevice = isCharDevice;
  ctrlZSeen = false;
  heldCR = false;
  nothingPending = false;
}

int ReadText(const char** text) {
  for (;;) {
    if (ctrlZSeen)
      return 0;
    if (nothingPending) {
      nothingPending = false;
      return 0;
    }
    char* raw = readBuffer + 1;
    int n = rawRead(raw, RAW_READ_SIZE);
    if (n <= 0) {
      if (!heldCR)
        return 0;
      // The CR was the last byte before the end: it stays, and this read's
      // end is reported by the next one.
      heldCR = false;
      nothingPending = true;
      readBuffer[0] = CR;
      *text = readBuffer;
      return 1;
    }

    bool cut = false;
    if (const char* z = static_cast<const char*>(memchr(raw, CTRL_Z, n))) {
      n = static_cast<int>(z - raw);
      cut = true;
      if (!charDevice)
        ctrlZSeen = true;
    }

    char* start = raw;
    if (heldCR) {
      heldCR = false;
      if (n == 0 || raw[0] != LF) {
        start = readBuffer;
        readBuffer[0] = CR;
        ++n;
        if (n == 1 && cut)
          nothingPending = true;  // the read itself began with Ctrl-Z
      }
    } else if (n == 0) {
      return 0;  // the read began with Ctrl-Z
    }

    // A CR at the very end of a read may be the first half of a pair.
    if (!cut && start[n - 1] == CR) {
      heldCR = true;
      --n;
    }
    n = JoinCRLF(start, n);
    if (n > 0) {
      *text = start;
      return n;
    }
    // The read held only a CR: read on at once to learn what follows it.
  }
}

void SkipText() {
  // Like the pieces of the mail text, a read that yields nothing ends the
  // input only when the next read yields nothing as well.
  int nothing = nothingPending ? 1 : 0;
  nothingPending = false;
  while (!ctrlZSeen && nothing < 2) {
    int n = rawRead(skipBuffer, SKIP_READ_SIZE);
    if (n <= 0) {
      ++nothing;
      continue;
    }
    nothing = 0;
    if (memchr(skipBuffer, CTRL_Z, n))
      ctrlZSeen = true;
  }
}
