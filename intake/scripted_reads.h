// Scripted raw reads for tests of the text rules: each step is one read that
// delivers bytes, ends the input or fails. After the script, every read ends.
#ifndef MAILVIEW_INTAKE_SCRIPTED_READS_H_
#define MAILVIEW_INTAKE_SCRIPTED_READS_H_

#include <string.h>

#include <deque>
#include <string>

#include "text_input.h"

struct ScriptedRead {
  enum Kind { DATA, END, FAIL } kind;
  std::string bytes;
};

inline ScriptedRead Data(const std::string& bytes) { return {ScriptedRead::DATA, bytes}; }
inline ScriptedRead End() { return {ScriptedRead::END, ""}; }
inline ScriptedRead Fail() { return {ScriptedRead::FAIL, ""}; }

// The reads still to come, and how many have been made.
inline std::deque<ScriptedRead> script;
inline int readsMade;

inline void SetScript(std::initializer_list<ScriptedRead> steps) {
  script.assign(steps.begin(), steps.end());
  readsMade = 0;
}

// A RawReadProc over `script`. A step longer than the read takes two reads,
// as a pipe holding more than is asked for does.
inline int ScriptRead(char* buf, int size) {
  ++readsMade;
  if (script.empty())
    return 0;
  ScriptedRead& step = script.front();
  if (step.kind != ScriptedRead::DATA) {
    int result = step.kind == ScriptedRead::END ? 0 : -1;
    script.pop_front();
    return result;
  }
  int n = step.bytes.size() < static_cast<size_t>(size)
              ? static_cast<int>(step.bytes.size()) : size;
  memcpy(buf, step.bytes.data(), n);
  step.bytes.erase(0, n);
  if (step.bytes.empty())
    script.pop_front();
  return n;
}

#endif  // MAILVIEW_INTAKE_SCRIPTED_READS_H_
