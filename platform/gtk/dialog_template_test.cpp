#include "dialog_template.h"

#include <gtest/gtest.h>
#include <string.h>
#include <windows.h>

#include <memory>

#include "instance.h"
#include "res_builder.h"
#include "res_file.h"
#include "send_mail_template.h"

namespace {

std::string Ascii(const uint16_t* s) {
  std::string out;
  for (; *s; ++s)
    out += *s < 0x80 ? static_cast<char>(*s) : '?';
  return out;
}

const unsigned long DIALOG_STYLE = SEND_MAIL_STYLE;
const unsigned long BUTTON_STYLE = SEND_MAIL_OK.style;
const unsigned long EDIT_STYLE = SEND_MAIL_TEXT.style;

// A control of the Send Mail template, of class `cls` and with `style`.
TemplateItem Item(const TemplateControl& c, const std::string& cls, unsigned long style,
                  unsigned atom) {
  return {style, c.x, c.y, c.cx, c.cy, c.id, cls, atom, c.text};
}
TemplateItem Button(const std::string& cls = "BUTTON", unsigned long style = BUTTON_STYLE) {
  return Item(SEND_MAIL_OK, cls, style, 0x80);
}
TemplateItem Edit(const std::string& cls = "EDIT", unsigned long style = EDIT_STYLE) {
  return Item(SEND_MAIL_TEXT, cls, style, 0x81);
}

// Parses from a heap copy of exactly the template's bytes.
bool Parse(const Bytes& b, DialogTemplate* t) {
  std::unique_ptr<unsigned char[]> copy(new unsigned char[b.size() + !b.size()]);
  if (!b.empty())
    memcpy(copy.get(), b.data(), b.size());
  return ParseDialogTemplate(copy.get(), b.size(), t);
}

bool Accepted(unsigned long style, std::vector<TemplateItem> items,
              const std::string& caption = "Send Mail", int points = 9) {
  DialogTemplate t;
  return Parse(DialogTemplateBytes(style, SEND_MAIL_CX, SEND_MAIL_CY, caption, points,
                                   SEND_MAIL_FACE, items), &t);
}

TEST(DialogTemplate, ReadsTheSendMailDialogFromTheProgramsResources) {
  HINSTANCE program = ProgramInstance();
  DialogTemplate t;
  ASSERT_TRUE(ReadDialogTemplate(program->res, program->size, SEND_MAIL_ID, &t));
  EXPECT_EQ(SEND_MAIL_STYLE, t.style);
  EXPECT_EQ(SEND_MAIL_X, t.x);
  EXPECT_EQ(SEND_MAIL_Y, t.y);
  EXPECT_EQ(SEND_MAIL_CX, t.cx);
  EXPECT_EQ(SEND_MAIL_CY, t.cy);
  EXPECT_EQ(SEND_MAIL_CAPTION, Ascii(t.caption));
  EXPECT_EQ(SEND_MAIL_POINTS, t.pointSize);
  EXPECT_EQ(SEND_MAIL_FACE, Ascii(t.faceName));
  ASSERT_EQ(2, t.itemCount);
  const DialogItem* got = t.items;
  for (const TemplateControl& want : {SEND_MAIL_OK, SEND_MAIL_TEXT}) {
    SCOPED_TRACE(want.cls);
    EXPECT_EQ(std::string(want.cls) == "EDIT" ? ITEM_EDIT : ITEM_BUTTON, got->kind);
    EXPECT_EQ(want.id, got->id);
    EXPECT_EQ(want.style, got->style);
    EXPECT_EQ(want.text, Ascii(got->text));
    EXPECT_EQ(want.x, got->x);
    EXPECT_EQ(want.y, got->y);
    EXPECT_EQ(want.cx, got->cx);
    EXPECT_EQ(want.cy, got->cy);
    ++got;
  }
  EXPECT_FALSE(ReadDialogTemplate(program->res, program->size, SEND_MAIL_ID + 1, &t));
}

TEST(DialogTemplate, EveryTruncationIsRefusedWithoutReadingPastIt) {
  HINSTANCE program = ProgramInstance();
  ResourceData data;
  ASSERT_TRUE(FindResourceData(program->res, program->size, RES_DIALOG, SEND_MAIL_ID, &data));
  Bytes whole(data.bytes, data.bytes + data.size);
  DialogTemplate t;
  for (size_t size = 0; size < whole.size(); ++size)
    EXPECT_FALSE(Parse(Bytes(whole.begin(), whole.begin() + size), &t)) << size;
  EXPECT_TRUE(Parse(whole, &t));
  // The whole .res cut anywhere before the template's end, too.
  size_t end = data.bytes + data.size - program->res;
  for (size_t size = 0; size < end; ++size) {
    std::unique_ptr<unsigned char[]> copy(new unsigned char[size + 1]);
    memcpy(copy.get(), program->res, size);
    EXPECT_FALSE(ReadDialogTemplate(copy.get(), size, SEND_MAIL_ID, &t)) << size;
  }
}

TEST(DialogTemplate, ClassesByNameInAnyCaseOrByAtom) {
  DialogTemplate t;
  ASSERT_TRUE(Parse(DialogTemplateBytes(DIALOG_STYLE, 10, 20, "x", 9, "Fixedsys",
                                        {Button("button"), Edit("Edit"),
                                         Button(""), Edit("")}), &t));
  ASSERT_EQ(4, t.itemCount);
  for (int i = 0; i < 4; ++i)
    EXPECT_EQ(i % 2 ? ITEM_EDIT : ITEM_BUTTON, t.items[i].kind) << i;
  // Other classes, and names that only begin like ours.
  for (const char* cls : {"STATIC", "LISTBOX", "BUTTONS", "EDI", "RICHEDIT"})
    EXPECT_FALSE(Accepted(DIALOG_STYLE, {Button(cls)})) << cls;
  for (unsigned atom : {0x82u, 0x83u, 0x84u, 0x85u, 0u, 0xFFFFu}) {
    TemplateItem item = Button("");
    item.atom = atom;
    EXPECT_FALSE(Accepted(DIALOG_STYLE, {item})) << atom;
  }
}

TEST(DialogTemplate, OnlySupportedStylesAndFeaturesAreAccepted) {
  EXPECT_TRUE(Accepted(DIALOG_STYLE, {Button(), Edit()}));
  EXPECT_TRUE(Accepted(DIALOG_STYLE, {}));
  // Each dialog style is needed (WS_POPUP, either half of WS_CAPTION, WS_SYSMENU,
  // DS_CENTER, DS_SETFONT), and nothing more.
  for (unsigned long style : {0x80000000ul, 0x800000ul, 0x400000ul, 0x80000ul, 0x800ul, 0x40ul})
    EXPECT_FALSE(Accepted(DIALOG_STYLE & ~style, {Button(), Edit()})) << style;
  for (unsigned long extra : {0x80ul /* DS_MODALFRAME */, 0x40000ul /* WS_THICKFRAME */,
                              0x20000ul /* WS_MINIMIZEBOX */, 0x10000000ul /* WS_VISIBLE */,
                              0x1ul /* DS_ABSALIGN */, 0x8000000ul /* WS_DISABLED */})
    EXPECT_FALSE(Accepted(DIALOG_STYLE | extra, {Button(), Edit()})) << extra;
  // Button styles.
  EXPECT_TRUE(Accepted(DIALOG_STYLE, {Button("BUTTON", WS_CHILD)}));
  EXPECT_TRUE(Accepted(DIALOG_STYLE, {Button("BUTTON", WS_CHILD | BS_PUSHBUTTON | WS_TABSTOP)}));
  for (unsigned long style : {BUTTON_STYLE & ~WS_CHILD, BUTTON_STYLE | 2 /* checkbox */,
                              BUTTON_STYLE | 7 /* group box */, BUTTON_STYLE | 0x20000 /* group */,
                              BUTTON_STYLE | 0x4000 /* BS_NOTIFY */, BUTTON_STYLE | WS_BORDER})
    EXPECT_FALSE(Accepted(DIALOG_STYLE, {Button("BUTTON", style)})) << style;
  // Edit styles: multi-line and read-only it must be.
  EXPECT_TRUE(Accepted(DIALOG_STYLE, {Edit("EDIT", WS_CHILD | ES_MULTILINE | ES_READONLY)}));
  for (unsigned long style : std::initializer_list<unsigned long>{EDIT_STYLE & ~ES_READONLY, EDIT_STYLE & ~ES_MULTILINE,
                              EDIT_STYLE & ~WS_CHILD, EDIT_STYLE | 0x80 /* ES_AUTOHSCROLL */,
                              EDIT_STYLE | 0x100000 /* WS_HSCROLL */, EDIT_STYLE | 0x20 /* ES_PASSWORD */,
                              EDIT_STYLE | 0x1000 /* ES_WANTRETURN */, EDIT_STYLE | 0x1 /* ES_CENTER */})
    EXPECT_FALSE(Accepted(DIALOG_STYLE, {Edit("EDIT", style)})) << style;
  // Texts: mnemonics are not supported; lengths up to the store.
  EXPECT_TRUE(Accepted(DIALOG_STYLE, {}, std::string(MAX_TEMPLATE_TEXT - 1, 'c')));
  EXPECT_FALSE(Accepted(DIALOG_STYLE, {}, std::string(MAX_TEMPLATE_TEXT, 'c')));
  for (const std::string& text : {std::string("&OK"), std::string(MAX_TEMPLATE_TEXT, 't')}) {
    TemplateItem item = Button();
    item.text = text;
    EXPECT_FALSE(Accepted(DIALOG_STYLE, {item})) << text;
  }
  // Font sizes.
  EXPECT_FALSE(Accepted(DIALOG_STYLE, {}, "x", 0));
  EXPECT_TRUE(Accepted(DIALOG_STYLE, {}, "x", 1));
  EXPECT_FALSE(Accepted(DIALOG_STYLE, {}, "x", 0x7FFF));
  // Up to MAX_DIALOG_ITEMS controls.
  EXPECT_TRUE(Accepted(DIALOG_STYLE, std::vector<TemplateItem>(MAX_DIALOG_ITEMS, Button())));
  EXPECT_FALSE(Accepted(DIALOG_STYLE, std::vector<TemplateItem>(MAX_DIALOG_ITEMS + 1, Button())));
}

// Patches a word or double word of a well-formed template.
Bytes Patched(size_t at, std::vector<unsigned char> bytes) {
  Bytes b = DialogTemplateBytes(DIALOG_STYLE, SEND_MAIL_CX, SEND_MAIL_CY, SEND_MAIL_CAPTION,
                                SEND_MAIL_POINTS, SEND_MAIL_FACE, {Button(), Edit()});
  for (size_t i = 0; i < bytes.size(); ++i)
    b[at + i] = bytes[i];
  return b;
}

TEST(DialogTemplate, MenusClassesExtendedFormsAndCreationDataAreRefused) {
  DialogTemplate t;
  EXPECT_TRUE(Parse(Patched(0, {0x40}), &t));
  EXPECT_FALSE(Parse(Patched(0, {1, 0, 0xFF, 0xFF}), &t));  // DLGTEMPLATEEX
  EXPECT_FALSE(Parse(Patched(4, {0x01}), &t));              // extended style
  EXPECT_FALSE(Parse(Patched(18, {0xFF, 0xFF}), &t));       // a menu by number
  EXPECT_FALSE(Parse(Patched(18, {'M', 0}), &t));           // a menu by name
  EXPECT_FALSE(Parse(Patched(20, {'C', 0}), &t));           // a class of its own
  EXPECT_FALSE(Parse(Patched(14, {0xFF, 0xFF}), &t));       // negative width
  // The first control starts at 64: style, extended style, x, y, cx, cy.
  size_t item = 64;
  EXPECT_FALSE(Parse(Patched(item + 4, {0x20}), &t));       // extended style
  EXPECT_FALSE(Parse(Patched(item + 12, {0xFF, 0xFF}), &t));  // negative width
  EXPECT_FALSE(Parse(Patched(item + 14, {0xFF, 0xFF}), &t));  // negative height
  // Its class "BUTTON" at 82, text "OK" at 96 (here an ordinal), and the
  // count of creation data bytes at 102.
  EXPECT_FALSE(Parse(Patched(item + 32, {0xFF, 0xFF, 0x01, 0x00}), &t));
  EXPECT_FALSE(Parse(Patched(item + 38, {0x02, 0x00}), &t));
  // Fixedsys in any case is the one face.
  EXPECT_TRUE(Parse(DialogTemplateBytes(DIALOG_STYLE, 1, 1, "x", 9, "FIXEDSYS", {}), &t));
  for (const char* face : {"", "Fixed", "Fixedsys2", "Courier New", "MS Shell Dlg"})
    EXPECT_FALSE(Parse(DialogTemplateBytes(DIALOG_STYLE, 1, 1, "x", 9, face, {}), &t)) << face;
}

TEST(DialogTemplate, DialogUnitsMapLikeWindows) {
  // DejaVu Sans Mono 9pt at 96 dpi: 52 letters are 376 pixels wide.
  EXPECT_EQ(7, HorizontalBaseUnit(376));
  EXPECT_EQ(7, HorizontalBaseUnit(350));  // 13.46 -> 13 -> 7
  EXPECT_EQ(6, HorizontalBaseUnit(337));  // 12.96 -> 12 -> 6
  EXPECT_EQ(8, HorizontalBaseUnit(390));
  EXPECT_EQ(516, MapDialogUnits(295, 7, 4));  // 516.25
  EXPECT_EQ(519, MapDialogUnits(277, 15, 8));  // 519.375
  EXPECT_EQ(32, MapDialogUnits(17, 15, 8));  // 31.875
  EXPECT_EQ(1, MapDialogUnits(2, 1, 4));  // a half rounds away from zero
  EXPECT_EQ(-1, MapDialogUnits(-2, 1, 4));
  EXPECT_EQ(0, MapDialogUnits(1, 1, 4));
  EXPECT_EQ(0, MapDialogUnits(0, 9, 8));
  EXPECT_EQ(-32768 * 20 / 4, MapDialogUnits(-32768, 20, 4));
}

}  // namespace
