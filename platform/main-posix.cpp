// Program start on POSIX, standing in for the Windows runtime's start-up.
#include <signal.h>
#include <string.h>
#include <windows.h>

#include "instance.h"

int main(int argc, char** argv) {
  // A terminal that hangs up ends the input, as on Windows; it must not end
  // the process with a signal instead of status 0.
  signal(SIGHUP, SIG_IGN);

  // WinMain gets the command line after the program's name, as on Windows.
  static char commandLine[4096];
  size_t used = 0;
  for (int i = 1; i < argc; ++i) {
    size_t n = strlen(argv[i]);
    if (used + n + 2 > sizeof commandLine)
      break;
    if (used > 0)
      commandLine[used++] = ' ';
    memcpy(commandLine + used, argv[i], n);
    used += n;
  }
  commandLine[used] = '\0';
  const int SW_SHOWDEFAULT = 10;
  return WinMain(ProgramInstance(), NULL, commandLine, SW_SHOWDEFAULT);
}
