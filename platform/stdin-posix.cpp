// Standard input on POSIX: file descriptor 0.
#include "stdin.h"

#include <errno.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

bool StdinIsCharDevice() {
  struct stat st;
  return fstat(0, &st) == 0 && S_ISCHR(st.st_mode);
}

int ReadStdin(char* buf, int size) {
  for (;;) {
    ssize_t n = read(0, buf, size);
    if (n >= 0)
      return static_cast<int>(n);
    if (errno == EINTR)
      continue;
    if (errno == EAGAIN || errno == EWOULDBLOCK) {
      // Standard input was left non-blocking by whoever started us: data
      // that has not come yet is not the end. Wait for it.
      struct pollfd fd = {0, POLLIN, 0};
      poll(&fd, 1, -1);
      continue;
    }
    return -1;  // EBADF (no standard input), EISDIR, EIO, ...
  }
}
