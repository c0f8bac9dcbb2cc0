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
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <deque>
#include <string>
#include <vector>

#include "mail.h"
#include "read_mail.h"
#include "scripted_reads.h"

#include "fuzz_check.h"

namespace {

const unsigned char OP_END = 0xF0, OP_FAIL = 0xF1, OP_DATA = 0xF2, OP_REPEAT = 0xF3;
const size_t MAX_SCRIPT_BYTES = 200000;  // keeps each run quick

const char CR = '\r', LF = '\n', CTRL_Z = 0x1A;

bool IsOp(unsigned char b) { return b >= OP_END && b <= OP_REPEAT; }

std::vector<ScriptedRead> Decode(const uint8_t* data, size_t size) {
  std::vector<ScriptedRead> steps;
  size_t total = 0;
  size_t i = 0;
  while (i < size && total < MAX_SCRIPT_BYTES) {
    unsigned char op = data[i];
    std::string bytes;
    if (op == OP_END || op == OP_FAIL) {
      steps.push_back(op == OP_END ? End() : Fail());
      ++i;
      continue;
    }
    if (op == OP_DATA) {
      size_t n = i + 1 < size ? data[i + 1] : 0;
      size_t start = i + 2 < size ? i + 2 : size;
      n = n < size - start ? n : size - start;
      bytes.assign(reinterpret_cast<const char*>(data + start), n);
      i = start + n;
    } else if (op == OP_REPEAT) {
      if (i + 3 >= size)
        break;
      size_t count = (data[i + 1] | data[i + 2] << 8) % 20001;
      size_t k = data[i + 3] % 8 + 1;
      size_t start = i + 4;
      k = k < size - start ? k : size - start;
      std::string pattern(reinterpret_cast<const char*>(data + start), k);
      for (size_t c = 0; c < count; ++c)
        bytes += pattern;
      i = start + k;
    } else {
      size_t start = i;
      while (i < size && !IsOp(data[i]))
        ++i;
      bytes.assign(reinterpret_cast<const char*>(data + start), i - start);
    }
    // A read of no bytes would be an end; the ops above say that plainly.
    if (!bytes.empty()) {
      total += bytes.size();
      steps.push_back(Data(bytes));
    }
  }
  return steps;
}

// The reference reader. Its text layer turns reads into events: characters,
// and NOTHING for a read that yields nothing.
const int NOTHING = -1;

struct TextModel {
  std::deque<ScriptedRead> steps;
  bool charDevice;
  int reads = 0;
  bool ctrlZ = false;   // a file or pipe met its Ctrl-Z
  bool heldCR = false;  // a CR waits to learn whether an LF follows
  std::deque<int> events;
};

// One raw read, as a pipe gives it: at most RAW_READ_SIZE bytes of a step.
ScriptedRead RawRead(TextModel& m) {
  ++m.reads;
  if (m.steps.empty())
    return End();
  ScriptedRead step = m.steps.front();
  if (step.kind != ScriptedRead::DATA) {
    m.steps.pop_front();
    return step;
  }
  ScriptedRead read = Data(step.bytes.substr(0, RAW_READ_SIZE));
  m.steps.front().bytes.erase(0, RAW_READ_SIZE);
  if (m.steps.front().bytes.empty())
    m.steps.pop_front();
  return read;
}

// Performs one read and adds the events it gives, a byte at a time.
void ReadOnce(TextModel& m) {
  if (m.ctrlZ) {
    m.events.push_back(NOTHING);  // and nothing more is read
    return;
  }
  ScriptedRead read = RawRead(m);
  if (read.kind != ScriptedRead::DATA) {
    if (m.heldCR)
      m.events.push_back(CR);  // the last byte of the input stays
    m.heldCR = false;
    m.events.push_back(NOTHING);
    return;
  }
  const std::string& b = read.bytes;
  for (size_t i = 0; i < b.size(); ++i) {
    if (m.heldCR) {
      m.heldCR = false;
      if (b[i] == LF) {
        m.events.push_back(LF);
        continue;
      }
      m.events.push_back(CR);
    }
    if (b[i] == CTRL_Z) {
      if (!m.charDevice)
        m.ctrlZ = true;
      if (i == 0)
        m.events.push_back(NOTHING);  // a read that begins with Ctrl-Z
      return;
    }
    if (b[i] == CR)
      m.heldCR = true;
    else
      m.events.push_back(static_cast<unsigned char>(b[i]));
  }
}

int NextEvent(TextModel& m) {
  while (m.events.empty())
    ReadOnce(m);  // a read of a lone CR gives no event yet: read on
  int e = m.events.front();
  m.events.pop_front();
  return e;
}

struct ModelResult {
  std::string mail;          // what is stored
  unsigned long long length; // every character appended
  int reads;
};

// Pieces of at most 998 characters up to an LF, cut by a read that yields
// nothing; an empty piece stops. NUL bytes are dropped one by one.
ModelResult ModelRead(const std::vector<ScriptedRead>& steps, bool charDevice) {
  TextModel m;
  m.steps.assign(steps.begin(), steps.end());
  m.charDevice = charDevice;
  ModelResult r{"", 0, 0};
  for (;;) {
    std::string piece;
    while (piece.size() < 998) {
      int e = NextEvent(m);
      if (e == NOTHING)
        break;
      piece += static_cast<char>(e);
      if (e == LF)
        break;
    }
    if (piece.empty())
      break;
    for (char c : piece) {
      if (c == '\0')
        continue;
      ++r.length;
      if (r.mail.size() < MAX_MAIL_LENGTH - 1)
        r.mail += c;
    }
  }
  r.reads = m.reads;
  return r;
}

// True when reading may stop before the script's end even for a writer
// that goes on: a Ctrl-Z, or two reads in a row that yield nothing.
bool MayStopEarly(const std::vector<ScriptedRead>& steps) {
  for (size_t i = 0; i < steps.size(); ++i) {
    if (steps[i].bytes.find(CTRL_Z) != std::string::npos)
      return true;
    if (i > 0 && steps[i].kind != ScriptedRead::DATA &&
        steps[i - 1].kind != ScriptedRead::DATA)
      return true;
  }
  return false;
}

void CheckDisplayText() {
  BuildDisplayText();
  std::string mail = mailText;
  std::string display = displayText;
  CHECK(strlen(displayText) < DISPLAY_TEXT_SIZE);
  size_t bareLFs = 0;
  std::string simple;
  for (size_t i = 0; i < mail.size(); ++i) {
    if (mail[i] == LF && (i == 0 || mail[i - 1] != CR)) {
      ++bareLFs;
      simple += CR;
    }
    simple += mail[i];
  }
  CHECK(display.size() == mail.size() + bareLFs);
  for (size_t i = 0; i < display.size(); ++i)
    if (display[i] == LF)
      CHECK(i > 0 && display[i - 1] == CR);
  CHECK(display == simple);
}

void CheckOne(const std::vector<ScriptedRead>& steps, bool charDevice) {
  script.assign(steps.begin(), steps.end());
  readsMade = 0;
  ReadMailTextFrom(ScriptRead, charDevice);
  ModelResult want = ModelRead(steps, charDevice);

  size_t stored = strlen(mailText);
  CHECK(stored < MAX_MAIL_LENGTH);
  CHECK(stored == want.mail.size());  // also: no NUL inside the mail text
  CHECK(memcmp(mailText, want.mail.data(), stored) == 0);

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
    if (!MayStopEarly(steps))
      CHECK(script.empty());
  }
  CheckDisplayText();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<ScriptedRead> steps = Decode(data, size);
  CheckOne(steps, false);
  CheckOne(steps, true);
  return 0;
}
