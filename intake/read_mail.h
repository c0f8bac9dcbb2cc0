// Reading the mail text from any source of raw reads.
#ifndef MAILVIEW_INTAKE_READ_MAIL_H_
#define MAILVIEW_INTAKE_READ_MAIL_H_

#include "text_input.h"

// Reads text through `rawRead` into mailText, as ReadMailText does with
// standard input. `isCharDevice` chooses the rules of a console or terminal.
void ReadMailTextFrom(RawReadProc rawRead, bool isCharDevice);

#endif  // MAILVIEW_INTAKE_READ_MAIL_H_
