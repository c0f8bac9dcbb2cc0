// The real mailview.exe under Wine: what its window shows, how it looks and
// how it closes, fed through a pipe, a file, no standard input and cmd.
#include <windows.h>

#include <gtest/gtest.h>

#include "harness-win32.h"
#include "send_mail_template.h"

namespace {

const int MAIL_TEXT = SEND_MAIL_TEXT.id;

testing::AssertionResult SameBytes(const std::string& got, const std::string& want) {
  if (got == want)
    return testing::AssertionSuccess();
  size_t i = 0;
  while (i < got.size() && i < want.size() && got[i] == want[i])
    i++;
  auto byte = [](const std::string& s, size_t at) {
    return at < s.size() ? static_cast<unsigned char>(s[at]) : -1;
  };
  return testing::AssertionFailure() << "shown " << got.size() << " bytes, expected "
         << want.size() << "; first difference at byte " << i << ": shown " << byte(got, i)
         << ", expected " << byte(want, i);
}

// The dialog base units of a dialog in the template's font (9-point
// Fixedsys), worked out the way the dialog manager does it.
SIZE FixedsysBaseUnits() {
  HDC dc = GetDC(NULL);
  HFONT font = CreateFontA(-MulDiv(SEND_MAIL_POINTS, GetDeviceCaps(dc, LOGPIXELSY), 72), 0, 0,
                           0, FW_DONTCARE, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0, 0,
                           SEND_MAIL_FACE);
  HGDIOBJ old = SelectObject(dc, font);
  char face[LF_FACESIZE] = "";
  GetTextFaceA(dc, sizeof face, face);
  TEXTMETRICA tm;
  GetTextMetricsA(dc, &tm);
  const char letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
  SIZE extent;
  GetTextExtentPoint32A(dc, letters, 52, &extent);
  SelectObject(dc, old);
  DeleteObject(font);
  ReleaseDC(NULL, dc);
  EXPECT_STREQ(face, SEND_MAIL_FACE) << "the system has no such font";
  EXPECT_EQ(tm.tmPitchAndFamily & TMPF_FIXED_PITCH, 0) << "not fixed-pitch";
  return SIZE{(extent.cx / 26 + 1) / 2, tm.tmHeight};
}

// Checks that `control` lies in its dialog's client area where `c` puts it.
void ExpectRect(HWND control, SIZE base, const TemplateControl& c) {
  RECT r;
  GetWindowRect(control, &r);
  MapWindowPoints(NULL, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
  EXPECT_EQ(r.left, MulDiv(c.x, base.cx, 4)) << c.cls;
  EXPECT_EQ(r.top, MulDiv(c.y, base.cy, 8)) << c.cls;
  EXPECT_EQ(r.right - r.left, MulDiv(c.cx, base.cx, 4)) << c.cls;
  EXPECT_EQ(r.bottom - r.top, MulDiv(c.cy, base.cy, 8)) << c.cls;
}

// Checks the Send Mail window as a user meets it: a centred, fixed-size
// dialog in Fixedsys with a read-only wrapping text area, one OK button
// below it, and the focus on OK.
void ExpectSendMailWindow(HWND dlg, DWORD tid) {
  EXPECT_EQ(ClassName(dlg), "#32770");
  LONG style = GetWindowLongA(dlg, GWL_STYLE);
  LONG want = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE;
  EXPECT_EQ(style & want, want) << std::hex << style;
  LONG unwanted = WS_CHILD | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | DS_MODALFRAME;
  EXPECT_EQ(style & unwanted, 0) << std::hex << style;
  EXPECT_EQ(GetWindow(dlg, GW_OWNER), nullptr);

  HWND edit = GetDlgItem(dlg, MAIL_TEXT);
  HWND ok = GetDlgItem(dlg, IDOK);
  ASSERT_NE(edit, nullptr);
  ASSERT_NE(ok, nullptr);
  EXPECT_EQ(Children(dlg).size(), 2u) << "only the text area and OK";

  EXPECT_STRCASEEQ(ClassName(edit).c_str(), "Edit");
  style = GetWindowLongA(edit, GWL_STYLE);
  want = ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL | WS_TABSTOP | WS_VISIBLE;
  EXPECT_EQ(style & want, want) << std::hex << style;
  EXPECT_EQ(style & (ES_AUTOHSCROLL | WS_HSCROLL), 0) << std::hex << style;

  EXPECT_STRCASEEQ(ClassName(ok).c_str(), "Button");
  EXPECT_EQ(WindowText(ok), "OK");
  style = GetWindowLongA(ok, GWL_STYLE);
  EXPECT_EQ(style & BS_TYPEMASK, BS_DEFPUSHBUTTON) << std::hex << style;
  EXPECT_TRUE(style & WS_TABSTOP);

  EXPECT_TRUE(WaitUntil(60, [&] { return FocusOf(tid) == ok; })) << "the focus is not on OK";

  SIZE base = FixedsysBaseUnits();
  RECT client;
  GetClientRect(dlg, &client);
  EXPECT_EQ(client.right, MulDiv(SEND_MAIL_CX, base.cx, 4));
  EXPECT_EQ(client.bottom, MulDiv(SEND_MAIL_CY, base.cy, 8));
  ExpectRect(ok, base, SEND_MAIL_OK);
  ExpectRect(edit, base, SEND_MAIL_TEXT);

  RECT work, r;
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  GetWindowRect(dlg, &r);
  EXPECT_NEAR(r.left + r.right, work.left + work.right, 2) << "not centred";
  EXPECT_NEAR(r.top + r.bottom, work.top + work.bottom, 2) << "not centred";
}

// Starts mailview with `o`, waits for its Send Mail window, checks its
// text and returns it, or NULL if it never showed.
HWND ShownWindow(Process* mailview, const Options& o, const std::string& want,
                 const std::vector<std::string>& more = {}) {
  std::vector<std::string> argv = {MailviewExe(), "-t", "-i"};
  argv.insert(argv.end(), more.begin(), more.end());
  bool started = Start(mailview, argv, o);
  HWND dlg = started ? WaitForWindow(mailview->pid, SEND_MAIL_CAPTION, 60) : NULL;
  if (dlg == NULL) {
    ADD_FAILURE() << (started ? "no Send Mail window: " : "could not start ") << CommandLine(argv);
    return NULL;
  }
  EXPECT_TRUE(SameBytes(WindowText(GetDlgItem(dlg, MAIL_TEXT)), want));
  return dlg;
}

TEST(SendMailWindow, ShowsPipedMailByteForByteAndClosesOnEnter) {
  // Line breaks in every form, high and control bytes, a NUL (which the
  // text cannot hold, so it goes alone) and a Ctrl-Z, which ends the mail.
  const std::string head = "From: a@example.org\r\nSubject: bytes\r\n\r\n";
  std::string high;  // every byte from 0x80 to 0xFF
  for (int c = 0x80; c <= 0xFF; c++)
    high += static_cast<char>(c);
  std::string input = head + "lone\rCR\r\nbare\nLF\nA\r\r\nB\r\n" + high +
                      "\r\ntab\there \x01\x1b\x7f\r\nX" + std::string(1, '\0') + "dropped\nY\x1a" +
                      std::string(65536, 'z');
  std::string want = head + "lone\rCR\r\nbare\r\nLF\r\nA\r\nB\r\n" + high +
                     "\r\ntab\there \x01\x1b\x7f\r\nXdropped\r\nY";
  Process mailview;
  HWND dlg = ShownWindow(&mailview, {PIPE, input}, want, {"extra", "\"arguments\"", "/x"});
  ASSERT_NE(dlg, nullptr);
  ExpectSendMailWindow(dlg, mailview.tid);
  ASSERT_TRUE(PressKey(dlg, VK_RETURN));
  EXPECT_EQ(WaitForExit(&mailview, 60), 0);
  // The 64 KB after the Ctrl-Z cannot all fit in the pipe: had mailview
  // read on, the writer would have finished.
  EXPECT_TRUE(mailview.writeFailed) << "the pipe was read past the Ctrl-Z";
}

TEST(SendMailWindow, ShowsFileUpToCtrlZAndClosesOnEsc) {
  // What follows the Ctrl-Z runs past the first read, so the file must be
  // known as a file, not a console, for it to stay unshown.
  const std::string mail = "Subject: from a file\r\n\r\nline one\r\nline two\r\n";
  Process mailview;
  HWND dlg = ShownWindow(&mailview, {FILE_, mail + "\x1a" + std::string(10000, 'z')}, mail);
  ASSERT_NE(dlg, nullptr);
  ASSERT_TRUE(PressKey(dlg, VK_ESCAPE));
  EXPECT_EQ(WaitForExit(&mailview, 60), 0);
}

TEST(SendMailWindow, OpensEmptyWithoutStdinAndClosesByCloseBox) {
  Process mailview;
  HWND dlg = ShownWindow(&mailview, {CLOSED, ""}, "");
  ASSERT_NE(dlg, nullptr);
  PostMessageA(dlg, WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_EQ(WaitForExit(&mailview, 60), 0);
}

TEST(SendMailWindow, WrapsAndScrollsLongMailAndClosesOnClick) {
  std::string input = "Subject: long\r\n\r\n" + std::string(300, 'w') + "\r\n";
  for (int i = 0; i < 100; i++)
    input += "line " + std::to_string(i) + "\r\n";
  Process mailview;
  HWND dlg = ShownWindow(&mailview, {PIPE, input}, input);
  ASSERT_NE(dlg, nullptr);
  HWND edit = GetDlgItem(dlg, MAIL_TEXT);
  // 103 lines as written; the long one wraps instead of scrolling sideways.
  EXPECT_GE(SendMessageA(edit, EM_GETLINECOUNT, 0, 0), 103 + 2);
  EXPECT_EQ(SendMessageA(edit, EM_GETFIRSTVISIBLELINE, 0, 0), 0);
  SendMessageA(edit, WM_VSCROLL, SB_BOTTOM, 0);
  EXPECT_GT(SendMessageA(edit, EM_GETFIRSTVISIBLELINE, 0, 0), 50);

  HWND ok = GetDlgItem(dlg, IDOK);
  ASSERT_TRUE(WaitUntil(60, [&] { return FocusOf(mailview.tid) == ok; }));
  ASSERT_TRUE(Click(ok));
  EXPECT_EQ(WaitForExit(&mailview, 60), 0);
}

TEST(SendMailWindow, TextAreaIsReadOnlyAndEnterClosesFromIt) {
  const char mail[] = "Subject: keys\r\n\r\nbody\r\n";
  Process mailview;
  HWND dlg = ShownWindow(&mailview, {PIPE, mail}, mail);
  ASSERT_NE(dlg, nullptr);
  HWND edit = GetDlgItem(dlg, MAIL_TEXT);
  HWND ok = GetDlgItem(dlg, IDOK);
  DWORD tid = mailview.tid;
  ASSERT_TRUE(WaitUntil(60, [&] { return FocusOf(tid) == ok; }));

  ASSERT_TRUE(PressKey(dlg, VK_TAB));
  ASSERT_TRUE(WaitUntil(60, [&] { return FocusOf(tid) == edit; }));
  for (WORD vk : {WORD('X'), WORD(VK_DELETE), WORD(VK_BACK), WORD(VK_SPACE)})
    ASSERT_TRUE(PressKey(dlg, vk));
  // Tab back to OK: once the focus is there, the keys before it were seen.
  ASSERT_TRUE(PressKey(dlg, VK_TAB));
  ASSERT_TRUE(WaitUntil(60, [&] { return FocusOf(tid) == ok; }));
  EXPECT_TRUE(SameBytes(WindowText(edit), mail));
  EXPECT_TRUE(IsWindow(dlg)) << "the text area's notifications closed it";

  ASSERT_TRUE(PressKey(dlg, VK_TAB));
  ASSERT_TRUE(WaitUntil(60, [&] { return FocusOf(tid) == edit; }));
  ASSERT_TRUE(PressKey(dlg, VK_RETURN));
  EXPECT_EQ(WaitForExit(&mailview, 60), 0);
}

TEST(SendMailWindow, LongestMailIsShownWhole) {
  // 9,999 line breaks: the longest mail accepted, twice as long on show.
  std::string want;
  for (int i = 0; i < 9999; i++)
    want += "\r\n";
  Process mailview;
  HWND dlg = ShownWindow(&mailview, {PIPE, std::string(9999, '\n')}, want);
  ASSERT_NE(dlg, nullptr);
  PostMessageA(GetDlgItem(dlg, IDOK), BM_CLICK, 0, 0);
  EXPECT_EQ(WaitForExit(&mailview, 60), 0);
}

}  // namespace
