// Where the process's windows would appear.
#ifndef MAILVIEW_PLATFORM_DESKTOP_H_
#define MAILVIEW_PLATFORM_DESKTOP_H_

// False when no user can ever see, and so never close, a window that the
// process opens: on Windows, a window station without WSF_VISIBLE, which is
// where services run. True otherwise, and also when it cannot be found out.
bool WindowsCanBeSeen();

#endif  // MAILVIEW_PLATFORM_DESKTOP_H_
