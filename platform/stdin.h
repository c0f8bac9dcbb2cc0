// Raw access to the process's standard input.
#ifndef MAILVIEW_PLATFORM_STDIN_H_
#define MAILVIEW_PLATFORM_STDIN_H_

// True when standard input is a character device: a console or terminal
// (on Linux also /dev/null and the like).
bool StdinIsCharDevice();

// Reads up to `size` bytes of standard input into `buf`, waiting for them if
// need be. Returns the number read (1 or more), 0 at the end of input (a
// closed pipe included), or -1 when there is no usable standard input or the
// read failed. On POSIX, a pipe on standard input is first let hold two
// reads of the largest `size` asked for yet, where it holds fewer: a long
// input drained in large reads then makes the writer block, and both ends
// wake, about half as often as with the usual 64 KiB, and the writer writes
// on while the last read is scanned. A pipe already that large, any other
// input, or a system that refuses, is left as it is.
int ReadStdin(char* buf, int size);

#endif  // MAILVIEW_PLATFORM_STDIN_H_
