// Lines that are hard to lay out, each one line of a mail at the longest
// the program shows (9,999 bytes): for the tests of the Linux window and
// for the benchmark of its start-up.
#ifndef MAILVIEW_TESTS_ADVERSARIAL_LINES_H_
#define MAILVIEW_TESTS_ADVERSARIAL_LINES_H_

#include <string>
#include <vector>

struct AdversarialLine {
  const char* what;
  std::string text;
};

// `unit` repeated as often as it fits in 9,999 bytes.
std::string Fill(const std::string& unit);

// White space of every kind, combining marks, wide and right-to-left
// scripts, emoji sequences, control bytes and broken UTF-8.
std::vector<AdversarialLine> AdversarialLines();

#endif  // MAILVIEW_TESTS_ADVERSARIAL_LINES_H_
