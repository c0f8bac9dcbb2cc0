// The process's window station on Windows. Only the interactive station is
// visible; a service's, or that of a scheduled task run whether or not the
// user is logged on, or of a program started over ssh, is not, and a dialog
// there stays open for ever with no one to close it.
#include "desktop.h"

#include <windows.h>

bool WindowsCanBeSeen() {
  HWINSTA station = GetProcessWindowStation();
  USEROBJECTFLAGS flags = {};
  DWORD needed = 0;
  if (station == NULL ||
      !GetUserObjectInformationA(station, UOI_FLAGS, &flags, sizeof flags,
                                 &needed))
    return true;
  return (flags.dwFlags & WSF_VISIBLE) != 0;
}

// The dialog functions fail by returning, never by ending the process: the
// windows are shown in this one.
bool EnterWindowProcess() {
  return true;
}
