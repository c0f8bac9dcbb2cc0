// Fuzzes the reading of the mail text: arbitrary bytes cut into arbitrary
// reads, ends and failures, read as a file or pipe and as a terminal; then
// the length judgement and the display text. Every result is checked against
// a reader written here a byte at a time from the input rules alone.
//
// The fuzzer's input is a script of raw reads:
//   0xF0            a read that ends the input
//   0xF1            a read that fails
//   0xF2 n b1..bn   a read of the n bytes that follow
//   0xF3 lo hi k p  a read of pattern p (k % 8 + 1 bytes) repeated
//                   (lo + 256 hi) % 20001 times; a long one takes several reads
//   any other byte  starts a read of every byte up to the next of the above
// After the script every read ends the input.
//
// Repeats are what make a script long, and a long script is what makes a run
// slow: together they expand to at most REPEAT_BUDGET bytes, enough for a
// mail of CR LF pairs to pass the limit and for a few reads beyond it. The
// bytes written out in the script are not cut, so whatever follows the
// repeats, the drain of a refused mail included, is still read. Nothing is
// allocated while a script runs: it lives in fixed stores.
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "mail.h"
#include "read_mail.h"
#include "text_input.h"

#include "fuzz_check.h"

namespace {

const unsigned char OP_END = 0xF0, OP_FAIL = 0xF1, OP_DATA = 0xF2, OP_REPEAT = 0xF3;
const size_t REPEAT_BUDGET = 2 * MAX_MAIL_LENGTH + 2 * RAW_READ_SIZE;
const size_t MAX_SCRIPT = 1 << 16;  // bytes of a fuzzer input; more are ignored

const char CR = '\r', LF = '\n', CTRL_Z = 0x1A;

// The decoded script: reads that end the input, fail, or give the bytes
// scriptBytes[at, at + size). Each takes at least one byte of the input.
enum StepKind { DATA, END, FAIL };
struct Step {
  StepKind kind;
  size_t at, size;
};
Step steps[MAX_SCRIPT];
size_t stepCount;
char scriptBytes[MAX_SCRIPT + REPEAT_BUDGET];

bool IsOp(unsigned char b) { return b >= OP_END && b <= OP_REPEAT; }

// Appends `count` copies of pattern[0, k), cut to what is left of the budget.
size_t Repeat(const uint8_t* pattern, size_t k, size_t count, size_t* budget,
              char* out) {
  size_t n = k * count < *budget ? k * count : *budget;
  *budget -= n;
  size_t done = k < n ? k : n;
  memcpy(out, pattern, done);
  for (; done < n; done *= 2)  // doubling: a few copies make the whole
    memcpy(out + done, out, done < n - done ? done : n - done);
  return n;
}

void Decode(const uint8_t* data, size_t size) {
  size = size < MAX_SCRIPT ? size : MAX_SCRIPT;
  stepCount = 0;
  size_t used = 0, budget = REPEAT_BUDGET;
  size_t i = 0;
  while (i < size) {
    unsigned char op = data[i];
    size_t n;
    if (op == OP_END || op == OP_FAIL) {
      steps[stepCount++] = {op == OP_END ? END : FAIL, 0, 0};
      ++i;
      continue;
    }
    if (op == OP_DATA) {
      n = i + 1 < size ? data[i + 1] : 0;
      size_t start = i + 2 < size ? i + 2 : size;
      n = n < size - start ? n : size - start;
      memcpy(scriptBytes + used, data + start, n);
      i = start + n;
    } else if (op == OP_REPEAT) {
      if (i + 3 >= size)
        break;
      size_t count = (data[i + 1] | data[i + 2] << 8) % 20001;
      size_t k = data[i + 3] % 8 + 1;
      size_t start = i + 4;
      k = k < size - start ? k : size - start;
      n = Repeat(data + start, k, count, &budget, scriptBytes + used);
      i = start + k;
    } else {
      size_t start = i;
      while (i < size && !IsOp(data[i]))
        ++i;
      n = i - start;
      memcpy(scriptBytes + used, data + start, n);
    }
    // A read of no bytes would be an end; the ops above say that plainly.
    if (n > 0)
      steps[stepCount++] = {DATA, used, n};
    used += n;
  }
}

// How far a reader has gone through the script.
struct Cursor {
  size_t step, at;
};

// One raw read of at most `max` bytes, as a pipe gives it: a step longer
// than that takes several reads. For DATA, *bytes and *n are what it gave.
StepKind Take(Cursor& c, size_t max, const char** bytes, size_t* n) {
  if (c.step == stepCount)
    return END;
  const Step& s = steps[c.step];
  if (s.kind != DATA) {
    ++c.step;
    return s.kind;
  }
  *bytes = scriptBytes + s.at + c.at;
  *n = s.size - c.at < max ? s.size - c.at : max;
  c.at += *n;
  if (c.at == s.size)
    c = {c.step + 1, 0};
  return DATA;
}

// The raw reads the code is given, and how many it made.
Cursor fed;
int readsMade;

int FeedRead(char* buf, int size) {
  ++readsMade;
  const char* bytes = nullptr;
  size_t n = 0;
  StepKind kind = Take(fed, size, &bytes, &n);
  if (kind != DATA)
    return kind == END ? 0 : -1;
  memcpy(buf, bytes, n);
  return static_cast<int>(n);
}

// The reference reader. Its text layer turns each raw read into events:
// characters, and NOTHING for a read that yields nothing.
const int NOTHING = -1;

struct TextModel {
  Cursor raw;
  bool charDevice;
  int reads;
  bool ctrlZ;   // a file or pipe met its Ctrl-Z
  bool heldCR;  // a CR waits to learn whether an LF follows
  // The events of the last read: a held CR, its bytes, a NOTHING.
  int events[RAW_READ_SIZE + 2];
  int count, next;
};

void Emit(TextModel& m, int event) { m.events[m.count++] = event; }

// Performs one read and lists the events it gives, a byte at a time.
void ReadOnce(TextModel& m) {
  m.count = m.next = 0;
  if (m.ctrlZ) {
    Emit(m, NOTHING);  // and nothing more is read
    return;
  }
  ++m.reads;
  const char* b = nullptr;
  size_t n = 0;
  if (Take(m.raw, RAW_READ_SIZE, &b, &n) != DATA) {
    if (m.heldCR)
      Emit(m, CR);  // the last byte of the input stays
    m.heldCR = false;
    Emit(m, NOTHING);
    return;
  }
  for (size_t i = 0; i < n; ++i) {
    if (m.heldCR) {
      m.heldCR = false;
      if (b[i] == LF) {
        Emit(m, LF);
        continue;
      }
      Emit(m, CR);
    }
    if (b[i] == CTRL_Z) {
      if (!m.charDevice)
        m.ctrlZ = true;
      if (i == 0)
        Emit(m, NOTHING);  // a read that begins with Ctrl-Z
      return;
    }
    if (b[i] == CR)
      m.heldCR = true;
    else
      Emit(m, static_cast<unsigned char>(b[i]));
  }
}

int NextEvent(TextModel& m) {
  while (m.next == m.count)
    ReadOnce(m);  // a read of a lone CR gives no event yet: read on
  return m.events[m.next++];
}

struct ModelResult {
  char mail[MAX_MAIL_LENGTH];  // what is stored, NUL-terminated
  size_t stored;
  unsigned long long length;   // every character appended
  int reads;
};

TextModel model;
ModelResult want;

// Pieces of at most 998 characters up to an LF, cut by a read that yields
// nothing; an empty piece stops. NUL bytes are dropped one by one.
void ModelRead(bool charDevice) {
  TextModel& m = model;
  m.raw = {0, 0};
  m.charDevice = charDevice;
  m.reads = 0;
  m.ctrlZ = m.heldCR = false;
  m.count = m.next = 0;
  want.stored = 0;
  want.length = 0;
  for (;;) {
    int piece = 0;  // characters taken into the piece
    while (piece < 998) {
      int e = NextEvent(m);
      if (e == NOTHING)
        break;
      ++piece;
      if (e != '\0') {
        ++want.length;
        if (want.stored < MAX_MAIL_LENGTH - 1)
          want.mail[want.stored++] = static_cast<char>(e);
      }
      if (e == LF)
        break;
    }
    if (piece == 0)
      break;
  }
  want.mail[want.stored] = '\0';
  want.reads = m.reads;
}

// True when reading may stop before the script's end even for a writer
// that goes on: a Ctrl-Z, or two reads in a row that yield nothing.
bool MayStopEarly() {
  for (size_t i = 0; i < stepCount; ++i) {
    if (memchr(scriptBytes + steps[i].at, CTRL_Z, steps[i].size))
      return true;
    if (i > 0 && steps[i].kind != DATA && steps[i - 1].kind != DATA)
      return true;
  }
  return false;
}

// Each LF that does not follow a CR gets one; nothing else changes.
char wantDisplay[DISPLAY_TEXT_SIZE];

void CheckDisplayText() {
  BuildDisplayText();
  size_t n = 0;
  for (size_t i = 0; mailText[i] != '\0'; ++i) {
    if (mailText[i] == LF && (i == 0 || mailText[i - 1] != CR))
      wantDisplay[n++] = CR;
    wantDisplay[n++] = mailText[i];
  }
  CHECK(strlen(displayText) == n);
  CHECK(memcmp(displayText, wantDisplay, n) == 0);
}

void CheckOne(bool charDevice) {
  fed = {0, 0};
  readsMade = 0;
  ReadMailTextFrom(FeedRead, charDevice);
  ModelRead(charDevice);

  size_t stored = strlen(mailText);
  CHECK(stored < MAX_MAIL_LENGTH);
  CHECK(stored == want.stored);  // also: no NUL inside the mail text
  CHECK(memcmp(mailText, want.mail, stored) == 0);

  bool refused = MailTextTooLong();
  CHECK(refused == (MailTextLength() >= MAX_MAIL_LENGTH));
  CHECK(refused == (want.length >= MAX_MAIL_LENGTH));
  if (!refused || charDevice) {
    CHECK(MailTextLength() == want.length);
    CHECK(readsMade == want.reads);
  } else {
    // A refused file or pipe is drained to its end; its length is counted
    // only until it was certain to be too long.
    CHECK(MailTextLength() <= want.length);
    if (!MayStopEarly())
      CHECK(fed.step == stepCount);
  }
  CheckDisplayText();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Decode(data, size);
  CheckOne(false);
  CheckOne(true);
  return 0;
}
