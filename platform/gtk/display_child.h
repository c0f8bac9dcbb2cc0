// The display in a child process of its own: how losing the display, a
// crash in a library or GDK's own exit on an error still leaves the program
// ending with status 0.
#ifndef MAILVIEW_PLATFORM_GTK_DISPLAY_CHILD_H_
#define MAILVIEW_PLATFORM_GTK_DISPLAY_CHILD_H_

// Called once, before the display is opened, with the message already read.
// Returns true in the process that is to open the display and go on with
// the run, false in one that is to answer "no display".
//
// In the program: with no display named in the environment (DISPLAY,
// WAYLAND_DISPLAY, as far as GDK_BACKEND lets GDK use them) returns false
// at once. Otherwise forks. The child returns true, and is killed when this
// process ends. This process waits until the child has ended, whether it
// exited with any status or was killed by any signal, reaps it and returns
// false: the dialog functions return at once and the run ends with 0. When
// there can be no child, returns true: the window is shown in this process.
// In the tests that drive dialogs in their own process: returns true.
bool EnterDisplayProcess();

#endif  // MAILVIEW_PLATFORM_GTK_DISPLAY_CHILD_H_
