// The accumulation of the mail text, piece by piece, and its judgement.
#include "mail.h"
#include "read_mail.h"

#include <string.h>

#include "stdin.h"

char mailText[MAX_MAIL_LENGTH];
char lineBuffer[LINE_BUFFER_SIZE];

namespace {

// A piece holds at most this many characters, so that with its terminating
// NUL it fits the 999 characters a piece is read with.
const int MAX_PIECE = 998;

unsigned long long mailLength;  // characters appended, stored or not
size_t storedLength;            // characters held in mailText

// What is left of the current read.
const char* readText;
int readLeft;

// Fills lineBuffer with the next piece: characters up to and including an
// LF, at most MAX_PIECE of them, cut short by a read that yields nothing.
// Returns its length.
int ReadPiece() {
  int length = 0;
  while (length < MAX_PIECE) {
    if (readLeft == 0) {
      readLeft = ReadText(&readText);
      if (readLeft == 0)
        break;
    }
    int room = MAX_PIECE - length;
    int take = readLeft < room ? readLeft : room;
    const char* lf = static_cast<const char*>(memchr(readText, '\n', take));
    if (lf)
      take = static_cast<int>(lf - readText) + 1;
    memcpy(lineBuffer + length, readText, take);
    length += take;
    readText += take;
    readLeft -= take;
    if (lf)
      break;
  }
  lineBuffer[length] = '\0';
  return length;
}

// Appends the piece to the mail text. A NUL byte cannot be held by the
// NUL-terminated mail text: it is dropped alone and does not count.
void AppendPiece(int length) {
  const char* p = lineBuffer;
  const char* end = lineBuffer + length;
  while (p < end) {
    const char* nul = static_cast<const char*>(memchr(p, '\0', end - p));
    const char* stop = nul ? nul : end;
    size_t n = stop - p;
    size_t room = MAX_MAIL_LENGTH - 1 - storedLength;
    size_t store = n < room ? n : room;
    memcpy(mailText + storedLength, p, store);
    storedLength += store;
    mailLength += n;
    p = nul ? nul + 1 : end;
  }
  mailText[storedLength] = '\0';
}

}  // namespace

void ReadMailTextFrom(RawReadProc rawRead, bool isCharDevice) {
  OpenTextInput(rawRead, isCharDevice);
  mailText[0] = '\0';
  mailLength = 0;
  storedLength = 0;
  readLeft = 0;
  while (int length = ReadPiece()) {
    AppendPiece(length);
    // Once the mail is certain to be refused, only the end of a file or pipe
    // is still to be found; a terminal is read piece by piece to the end.
    if (MailTextTooLong() && !isCharDevice) {
      SkipText();
      break;
    }
  }
}

void ReadMailText() {
  ReadMailTextFrom(ReadStdin, StdinIsCharDevice());
}

unsigned long long MailTextLength() {
  return mailLength;
}

bool MailTextTooLong() {
  return mailLength >= MAX_MAIL_LENGTH;
}
