// The GTK display shared by the Linux stand-ins for the dialog functions.
#ifndef MAILVIEW_PLATFORM_GTK_GTK_DISPLAY_H_
#define MAILVIEW_PLATFORM_GTK_GTK_DISPLAY_H_

// Opens the display on first use. Returns false, and keeps returning false,
// when there is none or it refuses us. Once it is open, losing it (an X
// server or a Wayland compositor that dies) ends the process with status 0,
// not GDK's 1, and an X error that GDK does not trap is let pass.
bool OpenDisplay();

#endif  // MAILVIEW_PLATFORM_GTK_GTK_DISPLAY_H_
