// The window's text, worked out by the program's own intake and converter.
#include "window_text.h"

#include <string.h>

#include "edit_text.h"
#include "mail.h"
#include "read_mail.h"

namespace {

// The message being read, and how much of it is left.
const char* unread;
size_t unreadLength;

// Raw reads over the message, as a file gives them.
int ReadMessage(char* buf, int size) {
  size_t n = unreadLength < static_cast<size_t>(size) ? unreadLength : size;
  memcpy(buf, unread, n);
  unread += n;
  unreadLength -= n;
  return static_cast<int>(n);
}

}  // namespace

bool WindowText(const std::string& message, std::string* shown) {
  unread = message.data();
  unreadLength = message.size();
  ReadMailTextFrom(ReadMessage, false);
  if (MailTextTooLong())
    return false;
  BuildDisplayText();
  size_t length = strlen(displayText);
  std::string utf8(EditTextUtf8Size(length), '\0');
  utf8.resize(EditTextToUtf8(displayText, length, &utf8[0], utf8.size()));
  *shown = utf8;
  return true;
}
