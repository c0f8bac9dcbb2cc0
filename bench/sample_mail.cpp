// Mail-like text from a fixed vocabulary and a fixed pseudo-random sequence.
#include "sample_mail.h"

#include <stdio.h>
#include <string.h>

namespace {

const char* const WORDS[] = {
    "the",     "build",   "of",       "release", "failed",  "on",
    "server",  "because", "a",        "test",    "timed",   "out",
    "while",   "waiting", "for",      "the",     "mailer",  "to",
    "answer",  "please",  "check",    "your",    "changes", "and",
    "run",     "it",      "again",    "before",  "merging", "into",
    "main",    "report",  "attached", "below",   "with",    "each",
    "step",    "its",     "duration", "in",      "seconds", "thanks,",
    "order",   "number",  "shipped",  "today.",  "invoice", "total",
    "account", "reset",   "password", "link",    "expires", "soon.",
};
const int WORD_COUNT = sizeof WORDS / sizeof WORDS[0];

unsigned seed;
const char* pendingWord;  // a word that did not fit the line before

// Starts the same sequence of words again.
void Restart(unsigned start) {
  seed = start;
  pendingWord = nullptr;
}

unsigned NextRandom() {
  seed = seed * 1103515245u + 12345u;
  return seed >> 16;
}

const char* NextWord() {
  return WORDS[NextRandom() % WORD_COUNT];
}

// Fills `line` with whole words up to `width` characters; returns its length.
int WrapLine(char* line, int width) {
  int n = 0;
  for (;;) {
    const char* word = pendingWord ? pendingWord : NextWord();
    int len = static_cast<int>(strlen(word));
    int need = n == 0 ? len : len + 1;
    if (n + need > width) {
      pendingWord = word;
      return n;
    }
    pendingWord = nullptr;
    if (n > 0)
      line[n++] = ' ';
    memcpy(line + n, word, len);
    n += len;
  }
}

const char HEADERS[] =
    "Date: Mon, 8 Dec 2025 09:30:00 +0100\r\n"
    "From: Build Server <builds@example.org>\r\n"
    "To: developers@example.org\r\n"
    "Subject: Nightly build report for main\r\n"
    "MIME-Version: 1.0\r\n"
    "Content-Type: text/plain; charset=us-ascii\r\n"
    "Content-Transfer-Encoding: 7bit\r\n"
    "X-Mailer: PHP/8.2.7\r\n"
    "\r\n";

}  // namespace

bool WriteBulkMail(const char* path, long long bytes) {
  FILE* f = fopen(path, "wb");
  if (!f)
    return false;
  // A page of prose, long enough that consecutive lines differ.
  static char prose[MAIL_LINE_WIDTH * 256];
  Restart(1);
  for (size_t i = 0; i < sizeof prose;) {
    const char* word = NextWord();
    for (; *word && i < sizeof prose; ++word)
      prose[i++] = *word;
    if (i < sizeof prose)
      prose[i++] = ' ';
  }
  static char line[MAIL_LINE_WIDTH + 2];
  const long long FULL_LINE = MAIL_LINE_WIDTH + 2;
  long long left = bytes;
  for (size_t at = 0; left > 0; at = (at + MAIL_LINE_WIDTH) % sizeof prose) {
    // The last line gets what room is left; a single byte gets no CR LF.
    long long n = left < FULL_LINE ? left : FULL_LINE;
    long long width = n >= 2 ? n - 2 : n;
    memcpy(line, prose + at, width);
    line[width] = '\r';
    line[width + 1] = '\n';
    if (fwrite(line, 1, n, f) != static_cast<size_t>(n))
      break;
    left -= n;
  }
  return fclose(f) == 0 && left == 0;
}

long WriteMessage(const char* path, long bytes) {
  FILE* f = fopen(path, "wb");
  if (!f)
    return -1;
  long size = sizeof HEADERS - 1;
  fputs(HEADERS, f);
  Restart(7);
  char line[MAIL_LINE_WIDTH + 2];
  for (int row = 1;; ++row) {
    // Paragraphs of five lines, an empty line between them.
    int n = row % 6 == 0 ? 0 : WrapLine(line, MAIL_LINE_WIDTH);
    line[n++] = '\r';
    line[n++] = '\n';
    if (size + n > bytes)
      break;
    fwrite(line, 1, n, f);
    size += n;
  }
  return fclose(f) == 0 ? size : -1;
}
