#include "send_mail.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "mail.h"
#include "resource.h"

// The dialog functions, recorded.
namespace {
std::vector<std::string> calls;
}

extern "C" BOOL WINAPI SetDlgItemTextA(HWND, int item, LPCSTR text) {
  calls.push_back("SetDlgItemTextA " + std::to_string(item) + " " + text);
  return TRUE;
}

extern "C" BOOL WINAPI EndDialog(HWND, INT_PTR result) {
  calls.push_back("EndDialog " + std::to_string(result));
  return TRUE;
}

namespace {

HWND const dialog = reinterpret_cast<HWND>(0x1234);

TEST(SendMailDlgProc, InitDialogSetsTheDisplayText) {
  calls.clear();
  strcpy(displayText, "To: a@b\r\n\r\nhi");
  EXPECT_EQ(TRUE, SendMailDlgProc(dialog, WM_INITDIALOG, 0, 0));
  EXPECT_EQ(std::vector<std::string>{"SetDlgItemTextA 1121 To: a@b\r\n\r\nhi"}, calls);
}

TEST(SendMailDlgProc, OkAndCancelEndWithOneWhateverTheNotification) {
  for (WORD id : {IDOK, IDCANCEL}) {
    for (WORD code : {0, 1, 0x8000, 0xFFFF}) {
      calls.clear();
      EXPECT_EQ(TRUE, SendMailDlgProc(dialog, WM_COMMAND, MAKEWPARAM(id, code), 0));
      EXPECT_EQ(std::vector<std::string>{"EndDialog 1"}, calls) << id << " " << code;
    }
  }
}

TEST(SendMailDlgProc, EverythingElseIsIgnored) {
  calls.clear();
  const WORD EN_SETFOCUS = 0x0100, EN_KILLFOCUS = 0x0200;
  EXPECT_EQ(FALSE, SendMailDlgProc(dialog, WM_COMMAND, MAKEWPARAM(IDC_MAILTEXT, EN_SETFOCUS), 0));
  EXPECT_EQ(FALSE, SendMailDlgProc(dialog, WM_COMMAND, MAKEWPARAM(IDC_MAILTEXT, EN_KILLFOCUS), 0));
  EXPECT_EQ(FALSE, SendMailDlgProc(dialog, WM_COMMAND, MAKEWPARAM(0, 0), 0));
  EXPECT_EQ(FALSE, SendMailDlgProc(dialog, WM_COMMAND, MAKEWPARAM(3, 0), 0));
  // A command id whose low word is not IDOK though the whole is not 1.
  EXPECT_EQ(FALSE, SendMailDlgProc(dialog, WM_COMMAND, 0x10003, 0));
  for (UINT msg : {0x0000u, 0x0010u, 0x0100u, 0x0112u, 0x0136u})
    EXPECT_EQ(FALSE, SendMailDlgProc(dialog, msg, IDOK, 0)) << msg;
  EXPECT_TRUE(calls.empty());
}

}  // namespace
