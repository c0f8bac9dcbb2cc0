// The real Linux mailview on the test program's own display: the message
// through a pipe, the window found and worked with xdotool, its text read
// back through the clipboard with xclip.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "displays.h"
#include "harness.h"

// After GoogleTest: Xlib defines None and Bool as macros.
#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace {

// Starts mailview with `input` written to its standard input, which is
// then closed, and `env`.
void StartMailview(Process* mailview, const std::string& input,
                   const std::vector<std::string>& env = {}) {
  ASSERT_TRUE(Start(mailview, {MAILVIEW_EXE}, Piped(input, env)));
}

TEST(Window, ShowsTheMailToCopyAndClosesWithEnter) {
  Process mailview;
  StartMailview(&mailview,
      "To: dev@example.org\r\n"
      "Subject: caf\xC3\xA9 costs \x80 5\r\n"
      "\r\n"
      "Tab:\there, a lone CR:\rend\r\n"
      "a CR before a pair:\r\r\n"
      "bare LF\n");
  std::string window = FindWindow("Send Mail", 60);
  ASSERT_FALSE(window.empty()) << "no Send Mail window";
  // Into the text (Tab), select it all and copy it.
  ASSERT_TRUE(PressIn(window, {"Tab", "ctrl+a", "ctrl+c"}));
  const std::string expected =
      "To: dev@example.org\r\n"
      "Subject: caf\xC3\xA9 costs \xE2\x82\xAC 5\r\n"
      "\r\n"
      "Tab:\there, a lone CR:\xE2\x90\x8D" "end\r\n"
      "a CR before a pair:\r\n"  // one line break, no mark
      "bare LF\r\n";
  EXPECT_EQ(expected, Clipboard([&](const std::string& got) { return got == expected; }));
  ASSERT_TRUE(PressIn(window, {"Return"}));
  EXPECT_EQ(0, WaitForExit(&mailview, 60));
}

TEST(Window, RefusesATooLongMailInABoxClosedWithEnter) {
  Process mailview;
  StartMailview(&mailview, std::string(10000, 'x'));
  std::string box = FindWindow("Error", 60);
  ASSERT_FALSE(box.empty()) << "no Error box";
  ASSERT_TRUE(PressIn(box, {"Return"}));
  EXPECT_EQ(0, WaitForExit(&mailview, 60));
}

// "WIDTHxHEIGHT" of window `id`, as the X server has it.
std::string Geometry(const std::string& id) {
  std::string out = RunXTool({"xdotool", "getwindowgeometry", "--shell", id}).out;
  std::smatch size;
  std::regex_search(out, size, std::regex("WIDTH=([0-9]+)\nHEIGHT=([0-9]+)"));
  return size.empty() ? "?" : size.str(1) + "x" + size.str(2);
}

// The size of the Send Mail window with `input`, which is then closed with
// Enter; empty when the window did not show or the program did not end
// with 0.
std::string SizeOfTheWindowWith(const std::string& input) {
  Process mailview;
  StartMailview(&mailview, input);
  std::string window = FindWindow("Send Mail", 60);
  if (window.empty())
    return "";
  std::string size = Geometry(window);
  if (!PressIn(window, {"Return"}) || WaitForExit(&mailview, 60) != 0)
    return "";
  return size;
}

TEST(Window, LinesThatNoWrapBreaksKeepTheWindowsSize) {
  const std::string usual = SizeOfTheWindowWith("To: a@example.org\r\n\r\nhello\r\n");
  ASSERT_FALSE(usual.empty());
  // White space with tabs, and one character of endless emoji joined by
  // ZERO WIDTH JOINER: Pango breaks neither.
  std::string joined;
  while (joined.size() + 7 <= 9999)
    joined += "\xF0\x9F\x91\xA8\xE2\x80\x8D";
  EXPECT_EQ(usual, SizeOfTheWindowWith(std::string(9999, '\t')));
  EXPECT_EQ(usual, SizeOfTheWindowWith(joined));
}

// Whether a line of `log` holds `first` and then `then`.
bool HasLine(const std::string& log, const std::string& first,
             const std::string& then) {
  for (size_t at = log.find(then); at != std::string::npos; at = log.find(then, at + 1)) {
    size_t line = log.rfind('\n', at);
    line = line == std::string::npos ? 0 : line;
    if (log.substr(line, at - line).find(first) != std::string::npos)
      return true;
  }
  return false;
}

// GTK gives its layouts their attributes through pango_layout_set_attributes;
// the program's own definition (platform/gtk/no_hyphens-gtk.cpp) must be the
// one that GTK's calls are bound to, or the window shows hyphens that are
// not in the mail. The dynamic linker's log of a real run says which it is.
TEST(Window, GtkSetsItsLayoutsAttributesThroughTheProgram) {
  char dir[] = "/tmp/mailview-bindings-XXXXXX";
  ASSERT_NE(nullptr, mkdtemp(dir));
  Process mailview;
  StartMailview(&mailview, "To: a@example.org\r\n\r\n" + std::string(300, 'x') + "\r\n",
                {"LD_DEBUG=bindings", "LD_DEBUG_OUTPUT=" + std::string(dir) + "/ld"});
  std::string window = FindWindow("Send Mail", 60);
  ASSERT_FALSE(window.empty()) << "no Send Mail window";
  ASSERT_TRUE(PressIn(window, {"Return"}));
  EXPECT_EQ(0, WaitForExit(&mailview, 60));
  // One file for each process: ld.PID.
  std::stringstream logs;
  for (const auto& file : std::filesystem::directory_iterator(dir))
    logs << std::ifstream(file.path()).rdbuf();
  std::filesystem::remove_all(dir);
  const std::string log = logs.str();
  const std::string bound = " [0]: normal symbol `pango_layout_set_attributes'";
  EXPECT_TRUE(HasLine(log, "binding file ", "libgtk-3.so.0 [0] to " MAILVIEW_EXE + bound));
  EXPECT_FALSE(HasLine(log, "libgtk-3.so.0 [0] to ", "libpango-1.0.so.0" + bound));
}

bool Has(Display* x, const std::vector<long>& atoms, const char* name) {
  for (long atom : atoms)
    if (static_cast<Atom>(atom) == XInternAtom(x, name, False))
      return true;
  return false;
}

// Waits up to a minute for property `name` of `window` to be set.
std::vector<long> AwaitProperty(Display* x, Window window, const char* name) {
  std::vector<long> items;
  WaitUntil(60, [&] { return !(items = Property(x, window, name)).empty(); });
  return items;
}

// openbox on the test's display, ready once it has claimed the screen.
class UnderAWindowManager : public ::testing::Test {
 protected:
  void SetUp() override {
    x = XOpenDisplay(NULL);
    ASSERT_NE(nullptr, x);
    Options o;
    o.stdinKind = DEV_NULL;
    o.out = INHERIT;
    ASSERT_TRUE(Start(&wm, {"openbox", "--sm-disable"}, o));
    ASSERT_FALSE(AwaitProperty(x, DefaultRootWindow(x), "_NET_SUPPORTING_WM_CHECK").empty())
        << "openbox did not start";
  }
  void TearDown() override {
    Kill(&wm);
    if (x)
      XCloseDisplay(x);
  }

  // The frame that `title` offers, what the window manager allows, and an
  // end through the window manager's Close: _NET_CLOSE_WINDOW, which it
  // turns into WM_DELETE_WINDOW, the close box's message.
  void ExpectOnlyMoveAndClose(const std::string& input, const std::string& title) {
    Process mailview;
    StartMailview(&mailview, input);
    std::string id = FindWindow(title, 60);
    ASSERT_FALSE(id.empty()) << "no " << title;
    Window window = strtoul(id.c_str(), NULL, 10);
    std::vector<long> allowed = AwaitProperty(x, window, "_NET_WM_ALLOWED_ACTIONS");
    ASSERT_FALSE(allowed.empty()) << "openbox did not manage " << title;

    // Offered: the Motif hints' functions and decorations, and the type.
    const long MWM_FUNCTIONS = 1, MWM_DECORATIONS = 2;
    const long MWM_FUNC_MOVE = 4, MWM_FUNC_CLOSE = 32;
    const long MWM_DECOR_BORDER = 2, MWM_DECOR_TITLE = 8, MWM_DECOR_MENU = 16;
    std::vector<long> motif = Property(x, window, "_MOTIF_WM_HINTS");
    ASSERT_EQ(5u, motif.size());
    EXPECT_EQ(MWM_FUNCTIONS | MWM_DECORATIONS, motif[0]);
    EXPECT_EQ(MWM_FUNC_MOVE | MWM_FUNC_CLOSE, motif[1]);
    EXPECT_EQ(MWM_DECOR_BORDER | MWM_DECOR_TITLE | MWM_DECOR_MENU, motif[2]);
    EXPECT_TRUE(Has(x, Property(x, window, "_NET_WM_WINDOW_TYPE"), "_NET_WM_WINDOW_TYPE_DIALOG"));

    // Allowed: moving and closing, never resizing or maximizing. (openbox
    // lets every dialog be minimized and made full screen, whatever its
    // hints say: its Motif reading removes only moving and resizing.)
    EXPECT_TRUE(Has(x, allowed, "_NET_WM_ACTION_MOVE"));
    EXPECT_TRUE(Has(x, allowed, "_NET_WM_ACTION_CLOSE"));
    EXPECT_FALSE(Has(x, allowed, "_NET_WM_ACTION_RESIZE"));
    EXPECT_FALSE(Has(x, allowed, "_NET_WM_ACTION_MAXIMIZE_HORZ"));
    EXPECT_FALSE(Has(x, allowed, "_NET_WM_ACTION_MAXIMIZE_VERT"));

    XEvent close = {};
    close.xclient.type = ClientMessage;
    close.xclient.window = window;
    close.xclient.message_type = XInternAtom(x, "_NET_CLOSE_WINDOW", False);
    close.xclient.format = 32;
    close.xclient.data.l[0] = CurrentTime;
    close.xclient.data.l[1] = 2;  // from a pager: a user's request
    XSendEvent(x, DefaultRootWindow(x), False,
               SubstructureRedirectMask | SubstructureNotifyMask, &close);
    XFlush(x);
    EXPECT_EQ(0, WaitForExit(&mailview, 60));
  }

  Display* x = NULL;
  Process wm;
};

TEST_F(UnderAWindowManager, EitherWindowOffersOnlyMoveAndClose) {
  ExpectOnlyMoveAndClose("To: a@example.org\r\n\r\nhello\r\n", "Send Mail");
  ExpectOnlyMoveAndClose(std::string(10000, 'x'), "Error");
}

// Both windows as a screen reader finds them (tests/atspi_reader.py), over
// the accessibility bus of a D-Bus session of the test's own.
TEST(Accessibility, BothWindowsAreAnnouncedAsDialogs) {
  Process bus;
  ASSERT_TRUE(Start(&bus, {"dbus-daemon", "--session", "--nofork", "--print-address=1"},
                    Piped("", {}, DISCARD)));
  std::string address;
  ASSERT_TRUE(ReadUntil(&bus, "", "\n", 60, &address));
  const std::vector<std::string> session = {"DBUS_SESSION_BUS_ADDRESS=" +
                                            address.substr(0, address.find('\n'))};
  const struct {
    const char *title, *role;
    std::string input, shown;
  } windows[] = {
      // A CR before a CR LF pair ends the line with it; a lone one is a mark.
      {"Send Mail", "text", "To: a@example.org\r\nSubject: hi\r\n\r\nA\r\r\nB\rC\r\n",
       "To: a@example.org\r\nSubject: hi\r\n\r\nA\r\nB\xE2\x90\x8D" "C\r\n"},
      {"Error", "label", std::string(10000, 'x'), "Email too long"},
  };
  for (const auto& w : windows) {
    Process reader, mailview;
    ASSERT_TRUE(
        Start(&reader, {ATSPI_READER, w.title, w.role, w.shown}, Piped("", session, CAPTURE)));
    std::string said;
    ASSERT_TRUE(ReadUntil(&reader, "", "ready\n", 60, &said)) << said;
    StartMailview(&mailview, w.input, session);
    said += ReadToEnd(&reader, 180);
    EXPECT_EQ(0, WaitForExit(&reader, 60)) << said;
    EXPECT_EQ(0, WaitForExit(&mailview, 60)) << w.title;
  }
}

}  // namespace
