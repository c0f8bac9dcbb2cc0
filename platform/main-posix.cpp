// Program start on POSIX, standing in for the Windows runtime's start-up.
#include <signal.h>
#include <windows.h>

#include "instance.h"

int main() {
  // A terminal that hangs up ends the input, as on Windows; it must not end
  // the process with a signal instead of status 0.
  signal(SIGHUP, SIG_IGN);

  // WinMain ignores its command line, and so every argument.
  static char commandLine[] = "";
  const int SW_SHOWDEFAULT = 10;
  return WinMain(ProgramInstance(), NULL, commandLine, SW_SHOWDEFAULT);
}
