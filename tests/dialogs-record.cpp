// A recording stand-in for the dialog functions, for tests of the whole
// program without a display. Each call is written to standard output as one
// line; texts are written as their length, a colon and their bytes.
//
// The dialog behaves as if the user pressed OK at once: it is initialised,
// then sent IDOK.
#include <stdio.h>
#include <string.h>
#include <windows.h>

namespace {

void Record(const char* name, const char* text) {
  printf("%s=%zu:", name, strlen(text));
  fwrite(text, 1, strlen(text), stdout);
}

HWND const theDialog = reinterpret_cast<HWND>(0x134);
bool ended;
INT_PTR endResult;

}  // namespace

int WINAPI MessageBoxA(HWND hWnd, LPCSTR lpText, LPCSTR lpCaption,
                       UINT uType) {
  printf("MessageBoxA owner=%p flags=0x%x", static_cast<void*>(hWnd), uType);
  Record(" caption", lpCaption);
  Record(" text", lpText);
  printf("\n");
  fflush(stdout);
  return IDOK;
}

INT_PTR WINAPI DialogBoxParamA(HINSTANCE, LPCSTR lpTemplateName,
                               HWND hWndParent, DLGPROC lpDialogFunc,
                               LPARAM dwInitParam) {
  printf("DialogBoxParamA template=%u owner=%p param=%ld\n",
         static_cast<unsigned>(reinterpret_cast<uintptr_t>(lpTemplateName)),
         static_cast<void*>(hWndParent), static_cast<long>(dwInitParam));
  ended = false;
  INT_PTR init = lpDialogFunc(theDialog, WM_INITDIALOG, 0, dwInitParam);
  printf("WM_INITDIALOG returned %ld\n", static_cast<long>(init));
  lpDialogFunc(theDialog, WM_COMMAND, MAKEWPARAM(IDOK, 0), 0);
  printf("DialogBoxParamA returns %ld\n", ended ? static_cast<long>(endResult) : -1L);
  fflush(stdout);
  return ended ? endResult : -1;
}

BOOL WINAPI SetDlgItemTextA(HWND, int nIDDlgItem, LPCSTR lpString) {
  printf("SetDlgItemTextA item=%d", nIDDlgItem);
  Record(" text", lpString);
  printf("\n");
  return TRUE;
}

BOOL WINAPI EndDialog(HWND, INT_PTR nResult) {
  printf("EndDialog result=%ld\n", static_cast<long>(nResult));
  ended = true;
  endResult = nResult;
  return TRUE;
}
