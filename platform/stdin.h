// Raw access to the process's standard input.
#ifndef MAILVIEW_PLATFORM_STDIN_H_
#define MAILVIEW_PLATFORM_STDIN_H_

// True when standard input is a character device: a console or terminal
// (on Linux also /dev/null and the like).
bool StdinIsCharDevice();

// Reads up to `size` bytes of standard input into `buf`, waiting for them if
// need be. Returns the number read (1 or more), 0 at the end of input (a
// closed pipe included), or -1 when there is no usable standard input or the
// read failed. A pipe is read as the caller made it: its capacity is the
// writer's as much as ours.
int ReadStdin(char* buf, int size);

#endif  // MAILVIEW_PLATFORM_STDIN_H_
