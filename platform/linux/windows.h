// The part of the Windows API that mailview uses, for building it on Linux.
// Constants are plain #defines so that the resource compiler can read this
// header too; declarations are hidden from it behind RC_INVOKED.
#ifndef MAILVIEW_PLATFORM_WINDOWS_H_
#define MAILVIEW_PLATFORM_WINDOWS_H_

// Window and dialog styles.
#define WS_POPUP          0x80000000L
#define WS_CHILD          0x40000000L
#define WS_VISIBLE        0x10000000L
#define WS_CAPTION        0x00C00000L
#define WS_BORDER         0x00800000L
#define WS_VSCROLL        0x00200000L
#define WS_SYSMENU        0x00080000L
#define WS_TABSTOP        0x00010000L
#define DS_SETFONT        0x0040L
#define DS_CENTER         0x0800L

// Control styles.
#define BS_PUSHBUTTON     0x0000L
#define BS_DEFPUSHBUTTON  0x0001L
#define ES_MULTILINE      0x0004L
#define ES_AUTOVSCROLL    0x0040L
#define ES_READONLY       0x0800L

// Dialog box command ids.
#define IDOK              1
#define IDCANCEL          2

// The application manifest's resource, as the resource compiler reads it.
#define RT_MANIFEST       24
#define CREATEPROCESS_MANIFEST_RESOURCE_ID 1

// Version resource values.
#define VS_VERSION_INFO   1
#define VOS__WINDOWS32    0x00000004L
#define VFT_APP           0x00000001L
#define LANG_ENGLISH      0x09
#define SUBLANG_ENGLISH_US 0x01

#ifndef RC_INVOKED
#include <stdint.h>

typedef int BOOL;
typedef unsigned int UINT;
typedef unsigned short WORD;
typedef unsigned long DWORD;
typedef char* LPSTR;
typedef const char* LPCSTR;
typedef uintptr_t WPARAM;
typedef intptr_t LPARAM;
typedef intptr_t INT_PTR;
typedef struct HWND__* HWND;
typedef struct HINSTANCE__* HINSTANCE;

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif
#define WINAPI
#define CALLBACK

typedef INT_PTR (CALLBACK* DLGPROC)(HWND, UINT, WPARAM, LPARAM);

#define LOWORD(l) ((WORD)((uintptr_t)(l) & 0xffff))
#define MAKEWPARAM(l, h) ((WPARAM)(((DWORD)(WORD)(l)) | ((DWORD)(WORD)(h) << 16)))
#define MAKEINTRESOURCEA(i) ((LPSTR)(uintptr_t)(WORD)(i))
#define MAKEINTRESOURCE MAKEINTRESOURCEA

#define MB_OK             0x00000000L
#define MB_ICONEXCLAMATION 0x00000030L
#define WM_INITDIALOG     0x0110
#define WM_COMMAND        0x0111

extern "C" {
int WINAPI MessageBoxA(HWND hWnd, LPCSTR lpText, LPCSTR lpCaption, UINT uType);
INT_PTR WINAPI DialogBoxParamA(HINSTANCE hInstance, LPCSTR lpTemplateName,
                               HWND hWndParent, DLGPROC lpDialogFunc,
                               LPARAM dwInitParam);
BOOL WINAPI SetDlgItemTextA(HWND hDlg, int nIDDlgItem, LPCSTR lpString);
BOOL WINAPI EndDialog(HWND hDlg, INT_PTR nResult);
int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance,
                   LPSTR lpCmdLine, int nCmdShow);
}
#endif  // RC_INVOKED

#endif  // MAILVIEW_PLATFORM_WINDOWS_H_
