// The GTK display shared by the Linux stand-ins for the dialog functions.
#ifndef MAILVIEW_PLATFORM_GTK_GTK_DISPLAY_H_
#define MAILVIEW_PLATFORM_GTK_GTK_DISPLAY_H_

// Opens the display on first use, in the process that is to talk to it
// (display_child.h): in the program a child of its own, so that whatever
// becomes of the display or of that child, the program ends with status 0.
// Returns false, and keeps returning false, when there is none, it refuses
// us, or in the process that waited for the child.
bool OpenDisplay();

#endif  // MAILVIEW_PLATFORM_GTK_GTK_DISPLAY_H_
