// Reading a dialog template (the classic DLGTEMPLATE form) out of the bytes
// of a .res file into a fixed-size description. Only what mailview's
// dialogs use is accepted: a centred popup with a caption and a close box,
// in Fixedsys, holding push buttons and read-only multi-line edit controls
// with the styles the stand-in knows how to honour. Pure byte work: no GTK,
// and nothing is read outside the bytes given.
#ifndef MAILVIEW_PLATFORM_GTK_DIALOG_TEMPLATE_H_
#define MAILVIEW_PLATFORM_GTK_DIALOG_TEMPLATE_H_

#include <stddef.h>
#include <stdint.h>

enum {
  MAX_DIALOG_ITEMS = 16,
  MAX_TEMPLATE_TEXT = 256,  // UTF-16 units of a caption or control text, NUL included
  MAX_FACE_NAME = 32,       // UTF-16 units of the font's face name, NUL included
};

enum DialogItemKind { ITEM_BUTTON, ITEM_EDIT };

struct DialogItem {
  DialogItemKind kind;
  unsigned long style;
  int x, y, cx, cy;  // dialog units
  int id;
  uint16_t text[MAX_TEMPLATE_TEXT];  // UTF-16, NUL-terminated
};

struct DialogTemplate {
  unsigned long style;
  int x, y, cx, cy;  // dialog units
  uint16_t caption[MAX_TEMPLATE_TEXT];
  int pointSize;
  uint16_t faceName[MAX_FACE_NAME];
  int itemCount;
  DialogItem items[MAX_DIALOG_ITEMS];
};

// Finds dialog `id` in the `size` bytes of .res file `res` and describes it
// in *out. Returns false, with *out unspecified, when the dialog is missing,
// malformed, or uses anything the stand-in does not support.
bool ReadDialogTemplate(const unsigned char* res, size_t size, unsigned id,
                        DialogTemplate* out);

// The same for the `size` bytes of one template.
bool ParseDialogTemplate(const unsigned char* bytes, size_t size,
                         DialogTemplate* out);

// Dialog units to pixels as Windows maps them: units * base / divisor,
// rounded to the nearest pixel (halves away from zero). The divisor is 4
// horizontally and 8 vertically.
int MapDialogUnits(int units, int base, int divisor);

// The horizontal base unit from the width in pixels of the 52 letters
// A-Z a-z in the dialog's font: their average width, rounded.
int HorizontalBaseUnit(int widthOfAlphabet);

#endif  // MAILVIEW_PLATFORM_GTK_DIALOG_TEMPLATE_H_
