// The real mailview.exe under Wine as callers meet it: the refusal of an
// over-long mail, and a run through cmd the way PHP's mail() starts it.
#include <stdio.h>
#include <windows.h>

#include <gtest/gtest.h>

#include "harness-win32.h"

namespace {

struct Controls {
  int buttons = 0;
  HWND ok = NULL;
  std::string ok_text;
  bool message = false;
  bool icon = false;
};

BOOL CALLBACK InspectControl(HWND hwnd, LPARAM arg) {
  Controls* c = reinterpret_cast<Controls*>(arg);
  std::string cls = ClassName(hwnd);
  LONG style = GetWindowLongA(hwnd, GWL_STYLE);
  if (lstrcmpiA(cls.c_str(), "Button") == 0 && (style & WS_VISIBLE)) {
    c->buttons++;
    if (GetDlgCtrlID(hwnd) == IDOK) {
      c->ok = hwnd;
      c->ok_text = WindowText(hwnd);
    }
  } else if (lstrcmpiA(cls.c_str(), "Static") == 0) {
    if ((style & SS_TYPEMASK) == SS_ICON)
      c->icon = true;
    else if (WindowText(hwnd) == "Email too long")
      c->message = true;
  }
  return TRUE;
}

// Starts mailview with `input`, checks its refusal box and closes it; the
// mail must never be shown, before or after, and all of it must be read.
void ExpectRefusal(Process* mailview, const std::string& input,
                   bool close_with_enter) {
  ASSERT_TRUE(StartCommandLine(mailview, MailviewCommand(), {PIPE, input}));
  DWORD pid = mailview->pid;
  HWND box = WaitForWindow(pid, "Error", 60);
  ASSERT_NE(box, nullptr) << "no Error box";
  EXPECT_EQ(ClassName(box), "#32770");
  EXPECT_EQ(GetWindow(box, GW_OWNER), nullptr);
  Controls c;
  EnumChildWindows(box, InspectControl, reinterpret_cast<LPARAM>(&c));
  EXPECT_TRUE(c.message) << "no \"Email too long\" text";
  EXPECT_TRUE(c.icon) << "no icon";
  EXPECT_EQ(c.buttons, 1);
  ASSERT_NE(c.ok, nullptr);
  EXPECT_EQ(c.ok_text, "OK");
  EXPECT_EQ(WaitForWindow(pid, "Send Mail", 0), nullptr);

  if (close_with_enter) {
    ASSERT_TRUE(BringToFront(box, 60));
    PressKey(VK_RETURN);
  } else {
    PostMessageA(c.ok, BM_CLICK, 0, 0);
  }
  // A Send Mail window after the box would keep the program running.
  EXPECT_EQ(WaitForExit(mailview, 60), 0);
  // The writer finished only if mailview read all but the pipe's
  // PIPE_BUFFER bytes, and did not end before it.
  EXPECT_EQ(mailview->written, input.size()) << "not read to its end";
  EXPECT_FALSE(mailview->writeFailed);
}

TEST(RefusalBox, TenThousandLineBreaksAreRefused) {
  std::string input;
  for (int i = 0; i < 10000; i++)
    input += "\r\n";
  Process mailview;
  ExpectRefusal(&mailview, input, true);
}

TEST(RefusalBox, MegabyteIsReadToItsEndThenRefused) {
  std::string line = std::string(99, 'm') + "\n";
  std::string input;
  while (input.size() < 1024 * 1024)
    input += line;
  Process mailview;
  ExpectRefusal(&mailview, input, false);
}

// Runs `command_line` under cmd with `input` piped in, finds the Send Mail
// window of the mailview.exe that cmd starts, checks the text and closes
// it; then both must end with status 0.
void ExpectThroughCmd(const std::string& command_line,
                      const std::string& input, const std::string& want) {
  Process cmd, mailview;
  std::string line = "cmd.exe /c \"" + command_line + "\"";
  ASSERT_TRUE(StartCommandLine(&cmd, line, {PIPE, input}));
  HWND dlg = WaitForWindow(0, "Send Mail", 60);
  ASSERT_NE(dlg, nullptr) << "no Send Mail window";
  DWORD pid = 0;
  DWORD tid = GetWindowThreadProcessId(dlg, &pid);
  ASSERT_TRUE(Watch(&mailview, pid));
  EXPECT_NE(pid, cmd.pid);
  EXPECT_EQ(WindowText(GetDlgItem(dlg, 1121)), want);
  HWND ok = GetDlgItem(dlg, IDOK);
  EXPECT_TRUE(WaitUntil(60, [&] { return FocusOf(tid) == ok; }));
  ASSERT_TRUE(BringToFront(dlg, 60));
  PressKey(VK_RETURN);
  EXPECT_EQ(WaitForExit(&mailview, 60), 0);
  EXPECT_EQ(WaitForExit(&cmd, 60), 0);
}

const char kMail[] =
    "To: ada@example.org\r\nSubject: Your order\r\n\r\nThank you.\r\n";

TEST(ThroughCmd, PipedLikePhpMail) {
  // PHP on Windows opens the sendmail command with cmd /c and writes the
  // message into a pipe.
  ExpectThroughCmd(MailviewCommand(), kMail, kMail);
}

TEST(ThroughCmd, TypedIntoAPipeline) {
  char dir[MAX_PATH] = "";
  ASSERT_NE(GetTempPathA(sizeof dir, dir), 0u);
  std::string path = std::string(dir) + "mailview-cmd.txt";
  FILE* file = fopen(path.c_str(), "wb");
  ASSERT_NE(file, nullptr);
  bool written = fputs(kMail, file) >= 0;
  ASSERT_TRUE(fclose(file) == 0 && written);
  ExpectThroughCmd("type \"" + path + "\" | " + MailviewCommand(), "", kMail);
  DeleteFileA(path.c_str());
}

}  // namespace
