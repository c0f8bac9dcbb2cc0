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

// The languages of each resource, by "type/name".
typedef std::map<std::string, std::vector<WORD>> Languages;

std::string Id(LPCSTR id) {
  return IS_INTRESOURCE(id) ? std::to_string(LOWORD(id)) : std::string(id);
}

BOOL CALLBACK AddLanguage(HMODULE, LPCSTR type, LPCSTR name, WORD lang, LONG_PTR arg) {
  (*reinterpret_cast<Languages*>(arg))[Id(type) + "/" + Id(name)].push_back(lang);
  return TRUE;
}

BOOL CALLBACK AddName(HMODULE module, LPCSTR type, LPSTR name, LONG_PTR arg) {
  EnumResourceLanguagesA(module, type, name, AddLanguage, arg);
  return TRUE;
}

BOOL CALLBACK AddType(HMODULE module, LPSTR type, LONG_PTR arg) {
  EnumResourceNamesA(module, type, AddName, arg);
  return TRUE;
}

TEST_F(Resources, AllAreUsEnglishAndTheProgramsOwnArePresent) {
  Languages found;
  EnumResourceTypesA(module_, AddType, reinterpret_cast<LONG_PTR>(&found));
  for (const auto& [key, langs] : found)
    EXPECT_EQ(langs, std::vector<WORD>{1033}) << "resource " << key;
  EXPECT_EQ(found.count("5/134"), 1u) << "dialog 134";
  EXPECT_EQ(found.count("14/128"), 1u) << "icon group 128";
  EXPECT_EQ(found.count("16/1"), 1u) << "version block";
}

// The class of a dialog control in capitals, its predefined ordinal spelled out.
std::string ControlClass(std::string name) {
  for (char& c : name)
    c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
  return name == "#128" ? "BUTTON" : name == "#129" ? "EDIT" : name;
}

// Reads the control at r.at and checks it against `want`.
void ExpectControl(Reader& r, const TemplateControl& want) {
  SCOPED_TRACE(want.cls);
  r.Align4();
  DWORD style = r.Dword();
  EXPECT_EQ(style, want.style) << std::hex << style;
  EXPECT_EQ(r.Dword(), 0u) << "extended style";
  EXPECT_EQ(r.Word(), want.x) << "x";
  EXPECT_EQ(r.Word(), want.y) << "y";
  EXPECT_EQ(r.Word(), want.cx) << "cx";
  EXPECT_EQ(r.Word(), want.cy) << "cy";
  EXPECT_EQ(r.Word(), want.id) << "id";
  EXPECT_EQ(ControlClass(r.NameOrOrdinal()), want.cls);
  EXPECT_EQ(r.NameOrOrdinal(), want.text);
  EXPECT_EQ(r.Word(), 0) << "creation data";
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

  ExpectControl(r, SEND_MAIL_OK);
  ExpectControl(r, SEND_MAIL_TEXT);
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
    EXPECT_EQ(r.Word(), size | size << 8) << "width and height";
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

    HICON icon = CreateIconFromResourceEx(image.data(), static_cast<DWORD>(image.size()), TRUE,
                                          0x00030000, size, size, 0);
    EXPECT_NE(icon, nullptr) << "the system cannot make an icon of it";
    if (icon != NULL)
      DestroyIcon(icon);
  }
  EXPECT_FALSE(r.overrun);
}

}  // namespace
