// The display text: the mail text with every line break as CR LF, the only
// break the multi-line text control knows.
#include "mail.h"

char displayText[DISPLAY_TEXT_SIZE];

void BuildDisplayText() {
  char* out = displayText;
  for (int i = 0; mailText[i] != '\0'; ++i) {
    char c = mailText[i];
    if (c == '\n' && (i == 0 || mailText[i - 1] != '\r'))
      *out++ = '\r';
    *out++ = c;
  }
  *out = '\0';
}
