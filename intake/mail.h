// The mail text stores and the operations that fill them.
#ifndef MAILVIEW_INTAKE_MAIL_H_
#define MAILVIEW_INTAKE_MAIL_H_

#include <stddef.h>

// A mail text of this many characters or more is refused.
enum { MAX_MAIL_LENGTH = 10000 };
// One piece of input: at most 998 characters, its terminator, and a spare.
enum { LINE_BUFFER_SIZE = 1000 };
// Every character of an accepted mail text may become two (LF -> CR LF).
enum { DISPLAY_TEXT_SIZE = 2 * (MAX_MAIL_LENGTH - 1) + 1 };

// The accepted mail text, NUL-terminated; a CR LF of the input is one LF.
extern char mailText[MAX_MAIL_LENGTH];
// The piece of input being read.
extern char lineBuffer[LINE_BUFFER_SIZE];
// The mail text with every line break as CR LF, NUL-terminated.
extern char displayText[DISPLAY_TEXT_SIZE];

// Reads standard input as text into mailText until a piece comes out empty.
void ReadMailText();

// The number of characters the last ReadMailText appended, stored or not,
// counted until the mail was certain to be too long.
unsigned long long MailTextLength();

// True when the mail text read is too long to be shown.
bool MailTextTooLong();

// Converts mailText into displayText, every line break becoming CR LF.
void BuildDisplayText();

#endif  // MAILVIEW_INTAKE_MAIL_H_
