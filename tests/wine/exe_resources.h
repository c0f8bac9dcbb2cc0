// The resources of the built mailview.exe, loaded for tests to read with
// le_bytes.h's Reader.
#ifndef MAILVIEW_TESTS_WINE_EXE_RESOURCES_H_
#define MAILVIEW_TESTS_WINE_EXE_RESOURCES_H_

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "harness-win32.h"
#include "le_bytes.h"

// mailview.exe loaded as data, for the length of a test.
class Resources : public testing::Test {
 protected:
  void SetUp() override {
    module_ = LoadLibraryExA(MailviewExe().c_str(), NULL, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(module_, nullptr) << "cannot load " << MailviewExe();
  }
  void TearDown() override {
    if (module_ != NULL)
      FreeLibrary(module_);
  }
  // The bytes of one U.S. English resource; empty if there is none.
  Bytes Resource(LPCSTR type, WORD id) {
    HRSRC res = FindResourceExA(module_, type, MAKEINTRESOURCEA(id),
                                MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US));
    if (res == NULL)
      return {};
    const BYTE* p = static_cast<const BYTE*>(LockResource(LoadResource(module_, res)));
    return Bytes(p, p + SizeofResource(module_, res));
  }
  HMODULE module_ = NULL;
};

#endif  // MAILVIEW_TESTS_WINE_EXE_RESOURCES_H_
