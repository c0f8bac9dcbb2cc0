// The classic dialog template: a header (style, extended style, control
// count, position and size), menu, class, caption and, with DS_SETFONT, the
// font; then each control on a 4-byte boundary: style, extended style,
// position and size, id, class, text and a count of creation-data bytes.
#include "dialog_template.h"

#include <windows.h>

#include "little_endian.h"
#include "res_file.h"

namespace {

// Reading little-endian fields one after the other; a read past the end
// leaves `ok` false and yields zeros.
struct Reader {
  const unsigned char* bytes;
  size_t size;
  size_t pos;
  bool ok;
};

// The next `n` bytes, moved past; NULL, leaving `ok` false, when fewer
// are left.
const unsigned char* Take(Reader* r, size_t n) {
  if (!r->ok || r->size - r->pos < n) {
    r->ok = false;
    return NULL;
  }
  r->pos += n;
  return r->bytes + r->pos - n;
}

unsigned Word(Reader* r) {
  const unsigned char* p = Take(r, 2);
  return p ? WordAt(p) : 0;
}

unsigned long Dword(Reader* r) {
  const unsigned char* p = Take(r, 4);
  return p ? DwordAt(p) : 0;
}

// The next word, without moving on; 0 at the end.
unsigned PeekWord(const Reader* r) {
  Reader copy = *r;
  return Word(&copy);
}

int Short(Reader* r) { return static_cast<int16_t>(Word(r)); }

void AlignToDword(Reader* r) { Take(r, (4 - r->pos % 4) % 4); }

// Reads a NUL-terminated UTF-16 string of fewer than `room` units into `out`.
bool String(Reader* r, uint16_t* out, size_t room) {
  for (size_t n = 0; n < room; ++n) {
    out[n] = static_cast<uint16_t>(Word(r));
    if (!r->ok)
      return false;
    if (out[n] == 0)
      return true;
  }
  return false;
}

// True when the NUL-terminated `s` is `ascii` in any case.
bool SameName(const uint16_t* s, const char* ascii) {
  for (; *ascii; ++s, ++ascii) {
    uint16_t c = *s >= 'a' && *s <= 'z' ? *s - 'a' + 'A' : *s;
    if (c != static_cast<uint16_t>(*ascii))
      return false;
  }
  return *s == 0;
}

// A control's class: a predefined atom or its name.
bool ItemKind(Reader* r, DialogItemKind* kind) {
  uint16_t name[8];
  if (PeekWord(r) == 0xFFFF) {
    Word(r);
    unsigned atom = Word(r);
    *kind = atom == 0x0080 ? ITEM_BUTTON : ITEM_EDIT;
    return r->ok && (atom == 0x0080 || atom == 0x0081);
  }
  if (!String(r, name, sizeof name / sizeof name[0]))
    return false;
  *kind = SameName(name, "BUTTON") ? ITEM_BUTTON : ITEM_EDIT;
  return SameName(name, "BUTTON") || SameName(name, "EDIT");
}

// The styles each kind of control is supported with: all of `required`,
// any of `optional`, nothing else.
bool SupportedItemStyle(DialogItemKind kind, unsigned long style) {
  unsigned long required, optional;
  if (kind == ITEM_BUTTON) {
    required = WS_CHILD;
    optional = WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON;  // or BS_PUSHBUTTON
  } else {
    required = WS_CHILD | ES_MULTILINE | ES_READONLY;
    optional = WS_VISIBLE | WS_TABSTOP | WS_BORDER | WS_VSCROLL | ES_AUTOVSCROLL;
  }
  return (style & required) == required &&
         (style & ~(required | optional)) == 0;
}

bool ReadItem(Reader* r, DialogItem* item) {
  AlignToDword(r);
  item->style = Dword(r);
  unsigned long exStyle = Dword(r);
  item->x = Short(r);
  item->y = Short(r);
  item->cx = Short(r);
  item->cy = Short(r);
  item->id = Word(r);
  if (!r->ok || exStyle != 0 || item->cx < 0 || item->cy < 0 ||
      !ItemKind(r, &item->kind) ||
      !SupportedItemStyle(item->kind, item->style))
    return false;
  if (PeekWord(r) == 0xFFFF)  // an ordinal instead of text: images, not ours
    return false;
  if (!String(r, item->text, MAX_TEMPLATE_TEXT))
    return false;
  for (const uint16_t* c = item->text; *c; ++c) {
    if (*c == '&')  // mnemonics are not supported
      return false;
  }
  return Word(r) == 0 && r->ok;  // no creation data
}

}  // namespace

bool ParseDialogTemplate(const unsigned char* bytes, size_t size,
                         DialogTemplate* out) {
  Reader r = {bytes, size, 0, true};
  // The one kind of window the stand-in makes: centred, with a caption and
  // a close box, in the template's font. This also refuses DLGTEMPLATEEX,
  // whose first double word is version 1 and signature 0xFFFF.
  const unsigned long STYLE =
      WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_CENTER | DS_SETFONT;
  out->style = Dword(&r);
  if (out->style != STYLE)
    return false;
  unsigned long exStyle = Dword(&r);
  out->itemCount = Word(&r);
  out->x = Short(&r);
  out->y = Short(&r);
  out->cx = Short(&r);
  out->cy = Short(&r);
  if (!r.ok || exStyle != 0 || out->itemCount > MAX_DIALOG_ITEMS ||
      out->cx < 0 || out->cy < 0)
    return false;
  if (Word(&r) != 0 || Word(&r) != 0)  // a menu, a window class of its own
    return false;
  if (!String(&r, out->caption, MAX_TEMPLATE_TEXT))
    return false;
  out->pointSize = Word(&r);
  // Fixedsys in any case, the face the window shows in Monospace.
  if (!r.ok || out->pointSize < 1 || out->pointSize > 96 ||
      !String(&r, out->faceName, MAX_FACE_NAME) ||
      !SameName(out->faceName, "FIXEDSYS"))
    return false;
  for (int i = 0; i < out->itemCount; ++i) {
    if (!ReadItem(&r, &out->items[i]))
      return false;
  }
  return true;
}

bool ReadDialogTemplate(const unsigned char* res, size_t size, unsigned id,
                        DialogTemplate* out) {
  ResourceData data;
  return FindResourceData(res, size, RES_DIALOG, id, &data) &&
         ParseDialogTemplate(data.bytes, data.size, out);
}

int MapDialogUnits(int units, int base, int divisor) {
  long long scaled = static_cast<long long>(units) * base;
  long long half = divisor / 2;
  return static_cast<int>(scaled >= 0 ? (scaled + half) / divisor
                                      : -((-scaled + half) / divisor));
}

int HorizontalBaseUnit(int widthOfAlphabet) {
  return (widthOfAlphabet / 26 + 1) / 2;
}
