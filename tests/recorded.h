// What the recording stand-in (tests/dialogs-record.cpp) writes for the
// calls the program makes, as the tests expect it.
#ifndef MAILVIEW_TESTS_RECORDED_H_
#define MAILVIEW_TESTS_RECORDED_H_

#include <string>

// The whole record of a run that refused the mail: the box, no window.
extern const char REFUSAL[];

// The text put into control `item` in the record `out`, and whether any was.
bool RecordedText(const std::string& out, int item, std::string* text);

// The text shown in the Send Mail window's text area, or "<none>" when no
// window opened.
std::string Shown(const std::string& out);

#endif  // MAILVIEW_TESTS_RECORDED_H_
