// Raw access to the process's standard input.
#ifndef MAILVIEW_PLATFORM_STDIN_H_
#define MAILVIEW_PLATFORM_STDIN_H_

// True when standard input is a character device: a console or terminal
// (on Linux also /dev/null and the like).
bool StdinIsCharDevice();

// Reads up to `size` bytes of standard input into `buf`, waiting for them if
// need be. Returns the number read (1 or more), 0 at the end of input (a
// closed pipe included), or -1 when there is no usable standard input or the
// read failed.
int ReadStdin(char* buf, int size);

// Lets standard input, when it is a pipe, hold at least `bytes` unread
// bytes, for a long input about to be drained in reads that large: the
// writer then blocks, and both ends wake, about half as often as with the
// usual 64 KiB. A pipe already that large, any other input, or a system
// that refuses, is left as it is.
void WidenStdinPipe(int bytes);

#endif  // MAILVIEW_PLATFORM_STDIN_H_
