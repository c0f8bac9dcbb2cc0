// Standard input read as text: the byte rules applied to each raw read.
//
// A CR LF pair becomes LF, also across two reads; a Ctrl-Z ends a file or
// pipe for good, and on a character device drops the rest of its read.
#ifndef MAILVIEW_INTAKE_TEXT_INPUT_H_
#define MAILVIEW_INTAKE_TEXT_INPUT_H_

// Each raw read asks for at most this many bytes, as a C runtime's text
// stream reads its standard input. The size is part of the rules: on a
// terminal a Ctrl-Z drops the rest of its read.
enum { RAW_READ_SIZE = 4096 };

// Reads up to `size` raw bytes into `buf`. Returns the number of bytes read
// (1 or more), 0 at the end of input, or -1 when the read failed.
typedef int (*RawReadProc)(char* buf, int size);

// Starts reading text through `rawRead`, with the rules of a console or
// terminal when `isCharDevice`, otherwise with those of a file or pipe.
void OpenTextInput(RawReadProc rawRead, bool isCharDevice);

// Performs one read. Sets `*text` to the characters it delivers and returns
// their number, or returns 0 when the read yields nothing: at the end of
// input, a failure, a Ctrl-Z as described above. The characters stay valid
// until the next call.
int ReadText(const char** text);

// Reads the rest of a file or pipe without delivering it, stopping where
// ReadText would: at a Ctrl-Z, or where the input ends. For a mail already
// known to be too long, whose text no longer matters but whose writer must
// not see a broken pipe. Reads are larger than RAW_READ_SIZE, for speed.
void SkipText();

#endif  // MAILVIEW_INTAKE_TEXT_INPUT_H_
