// Placeholder until the GTK dialog is built: no window can be created.
#include <windows.h>

INT_PTR WINAPI DialogBoxParamA(HINSTANCE, LPCSTR, HWND, DLGPROC, LPARAM) {
  return -1;
}
BOOL WINAPI SetDlgItemTextA(HWND, int, LPCSTR) { return FALSE; }
BOOL WINAPI EndDialog(HWND, INT_PTR) { return FALSE; }
