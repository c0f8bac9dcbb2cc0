// The harness on Windows, with cmd and mailview.exe as the programs run.
#include <windows.h>
#include <shellapi.h>
#include <wchar.h>

#include <gtest/gtest.h>

#include "harness-win32.h"

namespace {

TEST(HarnessWin32, QuotesArgumentsAsTheSystemSplitsThem) {
  const std::vector<std::string> argv = {
      "C:\\Program Files\\a b.exe", "plain", "", "two words", "tab\there",
      "say \"hi\"", "\"", "back\\slash", "end\\", "dir with\\\\", "\\\"",
      "\\\\\"x\\\\\""};
  std::string line = CommandLine(argv);
  std::wstring wide(line.begin(), line.end());
  int argc = 0;
  LPWSTR* split = CommandLineToArgvW(wide.c_str(), &argc);
  ASSERT_NE(split, nullptr);
  std::vector<std::string> got;
  for (int i = 0; i < argc; ++i)
    got.emplace_back(split[i], split[i] + wcslen(split[i]));
  LocalFree(split);
  EXPECT_EQ(got, argv) << line;
}

TEST(HarnessWin32, ReportsHowEachProgramEnded) {
  // An exception's status (0xC0000005, an access violation) reads as -1.
  for (auto [command, status] : {std::make_pair("exit 3", 3),
                                 std::make_pair("exit -1073741819", -1)}) {
    Process cmd;
    ASSERT_TRUE(Start(&cmd, {"cmd.exe", "/c", command}, {CLOSED, ""}));
    EXPECT_EQ(WaitForExit(&cmd, 60), status) << command;
  }
  Process none;
  EXPECT_FALSE(Start(&none, {"no-such-program.exe"}));

  // A writer whose reader ends early sees the pipe break.
  Process cmd;
  const std::string input(1 << 20, 'x');
  ASSERT_TRUE(Start(&cmd, {"cmd.exe", "/c", "exit 0"}, {PIPE, input}));
  EXPECT_EQ(WaitForExit(&cmd, 60), 0);
  EXPECT_TRUE(cmd.writeFailed);
  EXPECT_LT(cmd.written, input.size());

  // Without input mailview shows its window until it is closed: it is
  // killed once the time is up.
  Process mailview;
  ASSERT_TRUE(Start(&mailview, {MailviewExe()}, {CLOSED, ""}));
  HANDLE watched = OpenProcess(SYNCHRONIZE, FALSE, mailview.pid);
  EXPECT_FALSE(Ended(mailview));
  EXPECT_EQ(WaitForExit(&mailview, 0.5), -2);
  EXPECT_EQ(WaitForSingleObject(watched, 0), WAIT_OBJECT_0) << "running";
  CloseHandle(watched);
}

}  // namespace
