// The resources inside the built mailview.exe, read the way Windows reads
// them: the Send Mail dialog template, the icon and the version block.
#include <windows.h>

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "exe_resources.h"
#include "send_mail_template.h"

namespace {

BOOL CALLBACK AddLanguage(HMODULE, LPCSTR, LPCSTR, WORD lang, LONG_PTR arg) {
  reinterpret_cast<std::vector<WORD>*>(arg)->push_back(lang);
  return TRUE;
}

BOOL CALLBACK AddName(HMODULE module, LPCSTR type, LPSTR name, LONG_PTR arg) {
  std::vector<WORD> langs;
  EnumResourceLanguagesA(module, type, name, AddLanguage,
                         reinterpret_cast<LONG_PTR>(&langs));
  std::string key = (IS_INTRESOURCE(type) ? std::to_string(LOWORD(type))
                                          : std::string(type)) + "/" +
                    (IS_INTRESOURCE(name) ? std::to_string(LOWORD(name))
                                          : std::string(name));
  (*reinterpret_cast<std::map<std::string, std::vector<WORD>>*>(arg))[key] =
      langs;
  return TRUE;
}

BOOL CALLBACK AddType(HMODULE module, LPSTR type, LONG_PTR arg) {
  EnumResourceNamesA(module, type, AddName, arg);
  return TRUE;
}

TEST_F(Resources, AllAreUsEnglishAndTheProgramsOwnArePresent) {
  std::map<std::string, std::vector<WORD>> found;
  EnumResourceTypesA(module_, AddType, reinterpret_cast<LONG_PTR>(&found));
  for (const auto& [key, langs] : found)
    EXPECT_EQ(langs, std::vector<WORD>{1033}) << "resource " << key;
  EXPECT_EQ(found.count("5/134"), 1u) << "dialog 134";
  EXPECT_EQ(found.count("14/128"), 1u) << "icon group 128";
  EXPECT_EQ(found.count("16/1"), 1u) << "version block";
}

// The class of a dialog control, its predefined ordinal spelled out.
std::string ControlClass(const std::string& name) {
  if (name == "#128")
    return "BUTTON";
  if (name == "#129")
    return "EDIT";
  std::string upper = name;
  for (char& c : upper)
    c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
  return upper;
}

struct Control {
  DWORD style, ex_style;
  short x, y, cx, cy;
  WORD id;
  std::string cls, text;
  WORD extra;
};

Control ReadControl(Reader& r) {
  r.Align4();
  Control c;
  c.style = r.Dword();
  c.ex_style = r.Dword();
  c.x = static_cast<short>(r.Word());
  c.y = static_cast<short>(r.Word());
  c.cx = static_cast<short>(r.Word());
  c.cy = static_cast<short>(r.Word());
  c.id = r.Word();
  c.cls = ControlClass(r.NameOrOrdinal());
  c.text = r.NameOrOrdinal();
  c.extra = r.Word();
  return c;
}

void ExpectControl(const Control& c, const TemplateControl& want) {
  SCOPED_TRACE(want.cls);
  EXPECT_EQ(c.style, want.style) << std::hex << c.style;
  EXPECT_EQ(c.ex_style, 0u);
  EXPECT_EQ(c.x, want.x);
  EXPECT_EQ(c.y, want.y);
  EXPECT_EQ(c.cx, want.cx);
  EXPECT_EQ(c.cy, want.cy);
  EXPECT_EQ(c.id, want.id);
  EXPECT_EQ(c.cls, want.cls);
  EXPECT_EQ(c.text, want.text);
  EXPECT_EQ(c.extra, 0);
}

// The expected styles are the flags Windows' own headers name.
static_assert(SEND_MAIL_STYLE ==
              (WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_CENTER | DS_SETFONT));
static_assert(SEND_MAIL_OK.style ==
              (WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON));
static_assert(SEND_MAIL_OK.id == IDOK);
static_assert(SEND_MAIL_TEXT.style ==
              (WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | WS_TABSTOP |
               ES_MULTILINE | ES_AUTOVSCROLL | ES_READONLY));

TEST_F(Resources, SendMailDialogTemplate) {
  Bytes bytes = Resource(RT_DIALOG, SEND_MAIL_ID);
  ASSERT_FALSE(bytes.empty()) << "no U.S. English dialog " << SEND_MAIL_ID;
  Reader r{bytes};
  DWORD style = r.Dword();
  ASSERT_NE(style, 0xFFFF0001u) << "extended template; a classic one is due";
  EXPECT_EQ(style, SEND_MAIL_STYLE) << std::hex << style;
  EXPECT_EQ(r.Dword(), 0u) << "extended style";
  EXPECT_EQ(r.Word(), 2) << "controls";
  EXPECT_EQ(r.Word(), SEND_MAIL_X);
  EXPECT_EQ(r.Word(), SEND_MAIL_Y);
  EXPECT_EQ(r.Word(), SEND_MAIL_CX);
  EXPECT_EQ(r.Word(), SEND_MAIL_CY);
  EXPECT_EQ(r.NameOrOrdinal(), "") << "menu";
  EXPECT_EQ(r.NameOrOrdinal(), "") << "class";
  EXPECT_EQ(r.String(), SEND_MAIL_CAPTION);
  EXPECT_EQ(r.Word(), SEND_MAIL_POINTS) << "point size";
  EXPECT_EQ(r.String(), SEND_MAIL_FACE);

  ExpectControl(ReadControl(r), SEND_MAIL_OK);
  ExpectControl(ReadControl(r), SEND_MAIL_TEXT);
  EXPECT_FALSE(r.overrun);
  EXPECT_LE(bytes.size() - r.at, 3u) << "bytes after the last control";
}

TEST_F(Resources, IconGroupHoldsSixteenColourImages) {
  Bytes group = Resource(RT_GROUP_ICON, 128);
  ASSERT_FALSE(group.empty()) << "no U.S. English icon group 128";
  Reader r{group};
  EXPECT_EQ(r.Word(), 0);
  EXPECT_EQ(r.Word(), 1) << "icon, not cursor";
  ASSERT_EQ(r.Word(), 2) << "images";
  for (int size : {32, 16}) {
    SCOPED_TRACE(size);
    WORD dims = r.Word();
    EXPECT_EQ(dims, size | size << 8) << "width and height";
    EXPECT_EQ(r.Word(), 16) << "colours";
    EXPECT_EQ(r.Word(), 1) << "planes";
    EXPECT_EQ(r.Word(), 4) << "bits per pixel";
    DWORD length = r.Dword();
    WORD id = r.Word();

    Bytes image = Resource(RT_ICON, id);
    ASSERT_EQ(image.size(), length);
    ASSERT_GE(image.size(), sizeof(BITMAPINFOHEADER));
    BITMAPINFOHEADER h;
    memcpy(&h, image.data(), sizeof h);
    EXPECT_EQ(h.biWidth, size);
    EXPECT_EQ(h.biHeight, 2 * size) << "colour bits and mask";
    EXPECT_EQ(h.biBitCount, 4);
    EXPECT_EQ(h.biCompression, DWORD(BI_RGB));
    size_t row = (size / 2 + 3) & ~3, mask_row = (size / 8 + 3) & ~3;
    ASSERT_EQ(image.size(), 40 + 16 * 4 + size * (row + mask_row));
    // The mask makes part of the picture transparent, not all of it.
    std::string mask(image.end() - size * mask_row, image.end());
    EXPECT_NE(mask.find_first_not_of('\0'), std::string::npos);
    EXPECT_NE(mask.find_first_not_of('\xff'), std::string::npos);

    HICON icon = CreateIconFromResourceEx(
        image.data(), static_cast<DWORD>(image.size()), TRUE, 0x00030000,
        size, size, 0);
    EXPECT_NE(icon, nullptr) << "the system cannot make an icon of it";
    if (icon != NULL)
      DestroyIcon(icon);
  }
  EXPECT_FALSE(r.overrun);
}

}  // namespace
