// The text mailview's Linux window shows for a message, so that the floor
// can be given the very same characters.
#ifndef MAILVIEW_BENCH_WINDOW_TEXT_H_
#define MAILVIEW_BENCH_WINDOW_TEXT_H_

#include <string>

// Sets *shown to the UTF-8 text mailview's window holds when `message` is
// given on a pipe or in a file: the message read as text and its line
// breaks made CR LF, as the program does, then turned into the characters
// its GTK text view is given. Returns false, leaving *shown alone, when
// mailview refuses the message as too long.
bool WindowText(const std::string& message, std::string* shown);

#endif  // MAILVIEW_BENCH_WINDOW_TEXT_H_
