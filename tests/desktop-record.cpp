// The desktop functions for the recording stand-in: its dialog functions
// need no display, so windows can always be seen, and they are "shown" in
// this process, whose output the tests read.
#include "desktop.h"

bool WindowsCanBeSeen() {
  return true;
}

bool EnterWindowProcess() {
  return true;
}
