// The real mailview.exe under Wine as callers meet it: the refusal of an
// over-long mail, and a run through cmd the way PHP's mail() starts it.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>

#include "harness-win32.h"

namespace {

// Starts mailview with `input`, checks its refusal box and closes it; the
// mail must never be shown, before or after, and all of it must be read.
void ExpectRefusal(const std::string& input, bool close_with_enter) {
  Process mailview;
  ASSERT_TRUE(StartCommandLine(&mailview, MailviewCommand(), {PIPE, input}));
  HWND box = WaitForWindow(mailview.pid, "Error", 60);
  ASSERT_NE(box, nullptr) << "no Error box";
  EXPECT_EQ(ClassName(box), "#32770");
  EXPECT_EQ(GetWindow(box, GW_OWNER), nullptr);
  int buttons = 0;
  bool icon = false, message = false;
  for (HWND c : Children(box)) {
    std::string cls = ClassName(c);
    LONG style = GetWindowLongA(c, GWL_STYLE);
    if (lstrcmpiA(cls.c_str(), "Button") == 0 && (style & WS_VISIBLE))
      buttons++;
    else if (lstrcmpiA(cls.c_str(), "Static") == 0 && (style & SS_TYPEMASK) == SS_ICON)
      icon = (style & WS_VISIBLE) && SendMessageA(c, STM_GETICON, 0, 0) != 0;
    else if (lstrcmpiA(cls.c_str(), "Static") == 0 && WindowText(c) == "Email too long")
      message = true;
  }
  EXPECT_TRUE(message) << "no \"Email too long\" text";
  EXPECT_TRUE(icon) << "no icon";
  EXPECT_EQ(buttons, 1);
  HWND ok = GetDlgItem(box, IDOK);
  ASSERT_NE(ok, nullptr);
  EXPECT_TRUE(IsWindowVisible(ok));
  EXPECT_EQ(WindowText(ok), "OK");
  EXPECT_EQ(WaitForWindow(mailview.pid, "Send Mail", 0), nullptr);

  if (close_with_enter)
    ASSERT_TRUE(PressKey(box, VK_RETURN));
  else
    PostMessageA(ok, BM_CLICK, 0, 0);
  // A Send Mail window after the box would keep the program running.
  EXPECT_EQ(WaitForExit(&mailview, 60), 0);
  // The writer finished only if mailview read all but the pipe's
  // PIPE_BUFFER bytes, and did not end before it.
  EXPECT_EQ(mailview.written, input.size()) << "not read to its end";
  EXPECT_FALSE(mailview.writeFailed);
}

TEST(RefusalBox, TenThousandLineBreaksAreRefused) {
  std::string input;
  for (int i = 0; i < 10000; i++)
    input += "\r\n";
  ExpectRefusal(input, true);
}

TEST(RefusalBox, MegabyteIsReadToItsEndThenRefused) {
  std::string input;
  while (input.size() < 1024 * 1024)
    input += std::string(99, 'm') + "\n";
  ExpectRefusal(input, false);
}

// Runs `command_line` under cmd with `input` piped in, finds the Send Mail
// window of the mailview.exe that cmd starts, checks the text and closes
// it; then both must end with status 0.
void ExpectThroughCmd(const std::string& command_line,
                      const std::string& input, const std::string& want) {
  Process cmd, mailview;
  ASSERT_TRUE(StartCommandLine(&cmd, "cmd.exe /c \"" + command_line + "\"", {PIPE, input}));
  HWND dlg = WaitForWindow(0, "Send Mail", 60);
  ASSERT_NE(dlg, nullptr) << "no Send Mail window";
  DWORD pid = 0;
  DWORD tid = GetWindowThreadProcessId(dlg, &pid);
  ASSERT_TRUE(Watch(&mailview, pid));
  EXPECT_NE(pid, cmd.pid);
  EXPECT_EQ(WindowText(GetDlgItem(dlg, 1121)), want);
  HWND ok = GetDlgItem(dlg, IDOK);
  EXPECT_TRUE(WaitUntil(60, [&] { return FocusOf(tid) == ok; }));
  ASSERT_TRUE(PressKey(dlg, VK_RETURN));
  EXPECT_EQ(WaitForExit(&mailview, 60), 0);
  EXPECT_EQ(WaitForExit(&cmd, 60), 0);
}

const char kMail[] = "To: ada@example.org\r\nSubject: Your order\r\n\r\nThank you.\r\n";

TEST(ThroughCmd, PipedLikePhpMail) {
  // PHP on Windows opens the sendmail command with cmd /c and writes the
  // message into a pipe.
  ExpectThroughCmd(MailviewCommand(), kMail, kMail);
}

TEST(ThroughCmd, TypedIntoAPipeline) {
  char dir[MAX_PATH] = "";
  ASSERT_NE(GetTempPathA(sizeof dir, dir), 0u);
  std::string path = std::string(dir) + "mailview-cmd.txt";
  ASSERT_TRUE(std::ofstream(path, std::ios::binary) << kMail << std::flush);
  ExpectThroughCmd("type \"" + path + "\" | " + MailviewCommand(), "", kMail);
  DeleteFileA(path.c_str());
}

}  // namespace
