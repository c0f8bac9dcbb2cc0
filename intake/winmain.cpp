// The program's entry: read the mail; where it can be seen, refuse it or
// show it; end.
#include <windows.h>

#include "desktop.h"
#include "mail.h"
#include "resource.h"
#include "send_mail.h"

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int) {
  ReadMailText();
  if (!WindowsCanBeSeen())
    return 0;  // no one could ever close the box or the window
  // On Linux a child process shows the box or the window; this one waits.
  if (!EnterWindowProcess())
    return 0;
  if (MailTextTooLong()) {
    MessageBoxA(NULL, "Email too long", "Error", MB_OK | MB_ICONEXCLAMATION);
    return 0;
  }
  BuildDisplayText();
  DialogBoxParamA(hInstance, MAKEINTRESOURCE(IDD_SENDMAIL), NULL,
                  SendMailDlgProc, 0);
  return 0;
}
