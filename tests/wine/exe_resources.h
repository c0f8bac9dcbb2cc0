// Reading the resources of the built mailview.exe in tests.
#ifndef MAILVIEW_TESTS_WINE_EXE_RESOURCES_H_
#define MAILVIEW_TESTS_WINE_EXE_RESOURCES_H_

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "child.h"

const WORD kEnglishUs = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);

// mailview.exe loaded as data, for the length of a test.
class Resources : public testing::Test {
 protected:
  void SetUp() override {
    module_ = LoadLibraryExA(MailviewExe().c_str(), NULL,
                             LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(module_, nullptr) << "cannot load " << MailviewExe();
  }
  void TearDown() override {
    if (module_ != NULL)
      FreeLibrary(module_);
  }
  // The bytes of one U.S. English resource; empty if there is none.
  std::vector<BYTE> Bytes(LPCSTR type, WORD id) {
    HRSRC res = FindResourceExA(module_, type, MAKEINTRESOURCEA(id),
                                kEnglishUs);
    if (res == NULL)
      return {};
    const BYTE* p = static_cast<const BYTE*>(
        LockResource(LoadResource(module_, res)));
    return std::vector<BYTE>(p, p + SizeofResource(module_, res));
  }
  HMODULE module_ = NULL;
};

// Reads little-endian fields from resource bytes; reading past the end
// yields zeros and marks the reader as overrun.
struct Reader {
  const std::vector<BYTE>& bytes;
  size_t at = 0;
  bool overrun = false;

  WORD Word() {
    if (at + 2 > bytes.size()) {
      overrun = true;
      return 0;
    }
    at += 2;
    return static_cast<WORD>(bytes[at - 2] | bytes[at - 1] << 8);
  }
  DWORD Dword() {
    DWORD low = Word();
    return low | static_cast<DWORD>(Word()) << 16;
  }
  // A NUL-terminated UTF-16 string of ASCII characters.
  std::string String() {
    std::string s;
    for (WORD c = Word(); c != 0 && !overrun; c = Word())
      s += c < 0x80 ? static_cast<char>(c) : '?';
    return s;
  }
  // A name or an ordinal, the ordinal written "#n".
  std::string NameOrOrdinal() {
    if (at + 2 <= bytes.size() && bytes[at] == 0xFF && bytes[at + 1] == 0xFF) {
      at += 2;
      return "#" + std::to_string(Word());
    }
    return String();
  }
  void Align4() { at = (at + 3) & ~size_t{3}; }
};

#endif  // MAILVIEW_TESTS_WINE_EXE_RESOURCES_H_
