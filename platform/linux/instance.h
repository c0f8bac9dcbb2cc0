// The Linux stand-in for a module instance handle: the compiled resources
// (a .res file) that dialog templates are looked up in.
#ifndef MAILVIEW_PLATFORM_INSTANCE_H_
#define MAILVIEW_PLATFORM_INSTANCE_H_

#include <stddef.h>
#include <windows.h>

struct HINSTANCE__ {
  const unsigned char* res;  // the bytes of a .res file
  size_t size;
};

// The program's own instance: the resources built from mailview.rc.
HINSTANCE ProgramInstance();

#endif  // MAILVIEW_PLATFORM_INSTANCE_H_
