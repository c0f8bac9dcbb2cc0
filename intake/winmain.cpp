// The program's entry: read the mail, refuse it or show it, end.
#include <windows.h>

#include "mail.h"
#include "resource.h"
#include "send_mail.h"

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int) {
  ReadMailText();
  if (MailTextTooLong()) {
    MessageBoxA(NULL, "Email too long", "Error", MB_OK | MB_ICONEXCLAMATION);
    return 0;
  }
  BuildDisplayText();
  DialogBoxParamA(hInstance, MAKEINTRESOURCE(IDD_SENDMAIL), NULL,
                  SendMailDlgProc, 0);
  return 0;
}
