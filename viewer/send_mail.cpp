// The Send Mail window's dialog procedure.
#include "send_mail.h"

#include "mail.h"
#include "resource.h"

INT_PTR CALLBACK SendMailDlgProc(HWND hwndDlg, UINT uMsg, WPARAM wParam,
                                 LPARAM) {
  switch (uMsg) {
    case WM_INITDIALOG:
      SetDlgItemTextA(hwndDlg, IDC_MAILTEXT, displayText);
      return TRUE;
    case WM_COMMAND:
      // Esc and the close box arrive as IDCANCEL; both ids end the dialog.
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
        EndDialog(hwndDlg, 1);
        return TRUE;
      }
      return FALSE;
  }
  return FALSE;
}
