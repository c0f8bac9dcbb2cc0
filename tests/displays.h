// Displays of a test's own, and the windows on them: a private X server or
// Wayland compositor that a test may kill, a window found by its title, its
// properties, and the small X tools a test works a window with.
#ifndef MAILVIEW_TESTS_DISPLAYS_H_
#define MAILVIEW_TESTS_DISPLAYS_H_

#include <functional>
#include <string>
#include <vector>

#include "harness.h"

// A private X server (Xvfb).
struct XServer {
  Process process;
  std::string display;  // ":N"
};

// Starts one and waits until it accepts connections; false when it did not.
bool StartXServer(XServer* server);

// Kills the server at once and reaps it.
void KillXServer(XServer* server);

// A private Wayland compositor (weston's headless back end), with a
// runtime directory of its own.
struct Compositor {
  Process process;
  std::string runtimeDir;  // for XDG_RUNTIME_DIR
  std::string socket;      // for WAYLAND_DISPLAY
};

// Starts one and waits until it accepts connections; false when it did not.
bool StartCompositor(Compositor* compositor);

// Kills the compositor at once, reaps it and removes its runtime directory.
void KillCompositor(Compositor* compositor);

// Runs the X tool `argv` (xdotool, xclip, ...) on `display`, or on ours
// when that is empty, for `seconds` at most.
Result RunXTool(const std::vector<std::string>& argv,
                const std::string& display = "", double seconds = 60);

// The id of a visible window titled exactly `title` on `display` (ours
// when empty), as a decimal number, once there is one; "" when none came
// within `seconds`.
std::string FindWindow(const std::string& title, double seconds,
                       const std::string& display = "");

// Gives `window` on our display the focus and presses `keys` in it, as
// xdotool names them; false when xdotool failed.
bool PressIn(const std::string& window, const std::vector<std::string>& keys);

// What the clipboard on our display holds, once `done` holds for it or a
// minute has gone ("" while it holds nothing).
std::string Clipboard(const std::function<bool(const std::string&)>& done);

typedef struct _XDisplay Display;  // Xlib's

// The 32-bit items of property `name` of `window` on `x`; empty when it
// has none.
std::vector<long> Property(Display* x, unsigned long window, const char* name);

#endif  // MAILVIEW_TESTS_DISPLAYS_H_
