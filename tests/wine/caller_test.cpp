// The real mailview.exe under Wine as callers meet it: the refusal of an
// over-long mail, and a run through cmd the way PHP's mail() starts it.
#include <windows.h>

#include <gtest/gtest.h>

#include "child.h"

namespace {

std::string Command() { return "\"" + MailviewExe() + "\" -t -i"; }

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

// Checks the refusal box of `child` and closes it; the mail must never be
// shown, before or after.
void ExpectRefusal(Child& child, bool close_with_enter) {
  ASSERT_TRUE(child.started());
  DWORD pid = child.pi.dwProcessId;
  HWND box = WaitForWindow(pid, "Error");
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
  EXPECT_EQ(CountWindows(pid, "Send Mail"), 0);

  if (close_with_enter) {
    ASSERT_TRUE(BringToFront(box));
    PressKey(VK_RETURN);
  } else {
    PostMessageA(c.ok, BM_CLICK, 0, 0);
  }
  // A Send Mail window after the box would keep the program running.
  EXPECT_EQ(child.WaitExit(), 0);
}

TEST(RefusalBox, TenThousandLineBreaksAreRefused) {
  std::string input;
  for (int i = 0; i < 10000; i++)
    input += "\r\n";
  Child child;
  StartWithPipe(&child, Command(), input);
  ExpectRefusal(child, true);
}

TEST(RefusalBox, MegabyteIsReadToItsEndThenRefused) {
  std::string line = std::string(99, 'm') + "\n";
  std::string input;
  while (input.size() < 1024 * 1024)
    input += line;
  Child child;
  // A pipe of 4 KB: the writer only finishes if mailview reads everything.
  StartWithPipe(&child, Command(), input, 4096);
  EXPECT_TRUE(child.InputWritten()) << "the pipe was not read to its end";
  ExpectRefusal(child, false);
}

// Runs `command_line` under cmd with `input` piped in, finds the Send Mail
// window of the mailview.exe that cmd starts, checks the text and closes
// it; then both must end with status 0.
void ExpectThroughCmd(const std::string& command_line,
                      const std::string& input, const std::string& want) {
  Child cmd;
  StartWithPipe(&cmd, "cmd.exe /c \"" + command_line + "\"", input);
  ASSERT_TRUE(cmd.started());
  HWND dlg = WaitForWindow(0, "Send Mail");
  ASSERT_NE(dlg, nullptr) << "no Send Mail window";
  DWORD pid = 0;
  DWORD tid = GetWindowThreadProcessId(dlg, &pid);
  HANDLE mailview =
      OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, pid);
  ASSERT_NE(mailview, nullptr);
  EXPECT_NE(pid, cmd.pi.dwProcessId);
  EXPECT_EQ(WindowText(GetDlgItem(dlg, 1121)), want);
  EXPECT_TRUE(WaitFor([&] { return FocusOf(tid) == GetDlgItem(dlg, IDOK); }));
  ASSERT_TRUE(BringToFront(dlg));
  PressKey(VK_RETURN);

  DWORD status = 1234;
  EXPECT_EQ(WaitForSingleObject(mailview, WAIT_MS), WAIT_OBJECT_0);
  GetExitCodeProcess(mailview, &status);
  EXPECT_EQ(status, 0u);
  CloseHandle(mailview);
  EXPECT_EQ(cmd.WaitExit(), 0);
}

const char kMail[] =
    "To: ada@example.org\r\nSubject: Your order\r\n\r\nThank you.\r\n";

TEST(ThroughCmd, PipedLikePhpMail) {
  // PHP on Windows opens the sendmail command with cmd /c and writes the
  // message into a pipe.
  ExpectThroughCmd("\"" + MailviewExe() + "\" -t -i", kMail, kMail);
}

TEST(ThroughCmd, TypedIntoAPipeline) {
  std::string path = WriteTempFile("mailview-cmd.txt", kMail);
  ExpectThroughCmd("type \"" + path + "\" | \"" + MailviewExe() + "\" -t -i",
                   "", kMail);
  DeleteFileA(path.c_str());
}

}  // namespace
