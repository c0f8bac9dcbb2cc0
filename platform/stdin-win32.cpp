// Standard input on Windows: the raw handle, without the C runtime's text
// mode, so that the same text rules apply on every platform.
#include "stdin.h"

#include <windows.h>

namespace {

// The standard input handle, or NULL when the process has none (started
// from the desktop, say).
HANDLE StdinHandle() {
  HANDLE h = GetStdHandle(STD_INPUT_HANDLE);
  return h == INVALID_HANDLE_VALUE ? NULL : h;
}

}  // namespace

bool StdinIsCharDevice() {
  HANDLE h = StdinHandle();
  return h != NULL && GetFileType(h) == FILE_TYPE_CHAR;
}

int ReadStdin(char* buf, int size) {
  HANDLE h = StdinHandle();
  if (h == NULL)
    return -1;
  DWORD got = 0;
  if (!ReadFile(h, buf, static_cast<DWORD>(size), &got, NULL))
    return GetLastError() == ERROR_BROKEN_PIPE ? 0 : -1;
  return static_cast<int>(got);
}
