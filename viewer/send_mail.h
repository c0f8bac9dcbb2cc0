// The Send Mail window.
#ifndef MAILVIEW_VIEWER_SEND_MAIL_H_
#define MAILVIEW_VIEWER_SEND_MAIL_H_

#include <windows.h>

// Dialog procedure of IDD_SENDMAIL: puts displayText into the text control
// when the dialog starts, ends it with 1 on IDOK or IDCANCEL.
INT_PTR CALLBACK SendMailDlgProc(HWND hwndDlg, UINT uMsg, WPARAM wParam,
                                 LPARAM lParam);

#endif  // MAILVIEW_VIEWER_SEND_MAIL_H_
