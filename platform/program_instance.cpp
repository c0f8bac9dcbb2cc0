// The program's own instance: the resources compiled from mailview.rc and
// embedded in the executable at build time.
#include "instance.h"

extern const unsigned char programRes[];
extern const size_t programResSize;

HINSTANCE ProgramInstance() {
  static HINSTANCE__ instance = {programRes, programResSize};
  return &instance;
}
