// The Send Mail dialog template as the tests expect to find it in the
// program's resources, stated once for the GTK and the Wine tests alike.
// Styles are numbers, each with its flags named beside it, so that no test
// takes them from the windows.h the program is built with. Plain C++: the
// Wine tests are built with mingw-w64.
#ifndef MAILVIEW_TESTS_SEND_MAIL_TEMPLATE_H_
#define MAILVIEW_TESTS_SEND_MAIL_TEMPLATE_H_

struct TemplateControl {
  unsigned long style;
  int x, y, cx, cy;  // dialog units
  int id;
  const char* cls;  // its class: "BUTTON" or "EDIT"
  const char* text;
};

constexpr int SEND_MAIL_ID = 134;
// WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_CENTER | DS_SETFONT
constexpr unsigned long SEND_MAIL_STYLE = 0x80C80840;
constexpr int SEND_MAIL_X = 0, SEND_MAIL_Y = 0, SEND_MAIL_CX = 295, SEND_MAIL_CY = 277;
constexpr char SEND_MAIL_CAPTION[] = "Send Mail";
constexpr int SEND_MAIL_POINTS = 9;
constexpr char SEND_MAIL_FACE[] = "Fixedsys";

// Its two controls; the OK button comes first in the template, and so in
// the tab order.
// WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON
constexpr TemplateControl SEND_MAIL_OK = {0x50010001, 0, 259, 295, 17, 1, "BUTTON", "OK"};
// WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | WS_TABSTOP |
// ES_MULTILINE | ES_AUTOVSCROLL | ES_READONLY
constexpr TemplateControl SEND_MAIL_TEXT = {0x50A10844, 0, 0, 295, 256, 1121, "EDIT", ""};

#endif  // MAILVIEW_TESTS_SEND_MAIL_TEMPLATE_H_
