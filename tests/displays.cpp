// Private displays and their windows, through the harness.
#include "displays.h"

#include <stdio.h>
#include <string.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <filesystem>

#include <X11/Xlib.h>

namespace {

// True when a client can connect to the Unix socket at `path`.
bool Accepts(const std::string& path) {
  int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0)
    return false;
  struct sockaddr_un address = {};
  address.sun_family = AF_UNIX;
  snprintf(address.sun_path, sizeof address.sun_path, "%s", path.c_str());
  bool accepted = connect(fd, reinterpret_cast<struct sockaddr*>(&address), sizeof address) == 0;
  close(fd);
  return accepted;
}

// `text` as a regular expression that matches only itself.
std::string Literally(const std::string& text) {
  std::string pattern;
  for (char c : text) {
    if (strchr("\\.[]()*+?{}|^$", c))
      pattern += '\\';
    pattern += c;
  }
  return pattern;
}

Options OnDisplay(const std::string& display) {
  Options o;
  o.stdinKind = DEV_NULL;
  if (!display.empty())
    o.env = {"DISPLAY=" + display};
  return o;
}

}  // namespace

bool StartXServer(XServer* server) {
  // Xvfb writes the display number and a newline on standard output once
  // it accepts connections, and keeps it open.
  Options o;
  o.stdinKind = DEV_NULL;
  o.err = DISCARD;
  std::string number;
  if (!Start(&server->process, {"Xvfb", "-displayfd", "1", "-screen", "0", "1024x768x24",
                                "-nolisten", "tcp"}, o) ||
      !ReadUntil(&server->process, "", "\n", 60, &number)) {
    KillXServer(server);
    return false;
  }
  server->display = ":" + number.substr(0, number.find('\n'));
  return true;
}

void KillXServer(XServer* server) { Kill(&server->process); }

bool StartCompositor(Compositor* compositor) {
  char dir[] = "/tmp/mailview-wayland-XXXXXX";
  if (!mkdtemp(dir))
    return false;
  compositor->runtimeDir = dir;
  compositor->socket = "mailview-test";
  Options o;
  o.stdinKind = DEV_NULL;
  o.out = DISCARD;
  o.env = {"XDG_RUNTIME_DIR=" + compositor->runtimeDir, "WAYLAND_DISPLAY", "DISPLAY"};
  std::string path = compositor->runtimeDir + "/" + compositor->socket;
  Process* weston = &compositor->process;
  if (Start(weston, {"weston", "--backend=headless-backend.so", "--no-config",
                     "--socket=" + compositor->socket,
                     "--log=" + compositor->runtimeDir + "/weston.log"}, o) &&
      WaitUntil(60, [&] { return Ended(*weston) || Accepts(path); }) && !Ended(*weston))
    return true;
  KillCompositor(compositor);
  return false;
}

void KillCompositor(Compositor* compositor) {
  Kill(&compositor->process);
  if (!compositor->runtimeDir.empty()) {
    std::error_code error;
    std::filesystem::remove_all(compositor->runtimeDir, error);
    if (error)
      fprintf(stderr, "could not remove %s\n", compositor->runtimeDir.c_str());
    compositor->runtimeDir.clear();
  }
}

Result RunXTool(const std::vector<std::string>& argv, const std::string& display,
                double seconds) {
  return RunProgram(argv, OnDisplay(display), seconds);
}

std::string FindWindow(const std::string& title, double seconds, const std::string& display) {
  // xdotool waits for a match on its own; the harness ends it at the deadline.
  std::string ids = RunXTool({"xdotool", "search", "--sync", "--onlyvisible", "--name",
                              "^" + Literally(title) + "$"},
                             display, seconds).out;
  return ids.substr(0, ids.find('\n'));
}

bool PressIn(const std::string& window, const std::vector<std::string>& keys) {
  std::vector<std::string> press = {"xdotool", "key"};
  press.insert(press.end(), keys.begin(), keys.end());
  return RunXTool({"xdotool", "windowfocus", "--sync", window}).status == 0 &&
         RunXTool(press).status == 0;
}

std::string Clipboard(const std::function<bool(const std::string&)>& done) {
  Options o = OnDisplay("");
  o.err = DISCARD;  // xclip complains while the clipboard is empty
  std::string got;
  WaitUntil(60, [&] {
    return done(got = RunProgram({"xclip", "-o", "-selection", "clipboard"}, o, 10).out);
  });
  return got;
}

std::vector<long> Property(Display* x, unsigned long window, const char* name) {
  std::vector<long> items;
  Atom type;
  int format;
  unsigned long count, after;
  unsigned char* data = NULL;
  if (XGetWindowProperty(x, window, XInternAtom(x, name, False), 0, 64, False,
                         AnyPropertyType, &type, &format, &count, &after, &data) == Success &&
      format == 32)
    items.assign(reinterpret_cast<long*>(data), reinterpret_cast<long*>(data) + count);
  if (data)
    XFree(data);
  return items;
}
