// The program's own instance: the resources compiled from mailview.rc and
// embedded in the executable at build time.
#include "instance.h"

extern const unsigned char programRes[];
extern const size_t programResSize;

HINSTANCE ProgramInstance() {
  // Filled in on each call, not by an initializer: the size is known only
  // at link time, and a guarded initializer would need the C++ runtime.
  static HINSTANCE__ instance;
  instance.res = programRes;
  instance.size = programResSize;
  return &instance;
}
