// The version block of the built mailview.exe, node by node, and as the
// system's version functions read it.
#include <stdio.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "exe_resources.h"

namespace {

// One node of a version block: its key, value and children.
struct Node {
  std::string key;
  WORD type = 0;
  Bytes value;
  std::string text;  // the value of a text node, without its terminator
  std::vector<Node> children;
};

// Reads the node at r.at; afterwards r.at is just past it.
Node ReadNode(Reader& r) {
  r.Align4();
  size_t start = r.at;
  WORD length = r.Word();
  WORD value_length = r.Word();
  Node node;
  node.type = r.Word();
  node.key = r.String();
  r.Align4();
  size_t end = start + length;
  size_t value_bytes = node.type == 1 ? 2u * value_length : value_length;
  if (r.at + value_bytes > end || end > r.bytes.size()) {
    r.overrun = true;
    return node;
  }
  node.value.assign(r.bytes.begin() + r.at, r.bytes.begin() + r.at + value_bytes);
  if (node.type == 1)
    node.text = Reader{node.value}.String();
  r.at += value_bytes;
  for (r.Align4(); r.at < end && !r.overrun; r.Align4())
    node.children.push_back(ReadNode(r));
  r.at = end;
  return node;
}

// The version the build states (project() in CMakeLists.txt): the fixed
// part's two 32-bit halves and the text the version block shows.
struct Version {
  DWORD ms = 0, ls = 0;
  std::string text;
};

Version BuiltVersion() {
  unsigned n[4] = {};
  char end = 0;
  EXPECT_EQ(sscanf(MAILVIEW_VERSION, "%u.%u.%u.%u%c", &n[0], &n[1], &n[2], &n[3], &end), 4)
      << "not four numbers: " << MAILVIEW_VERSION;
  std::string text = std::to_string(n[0]) + ", " + std::to_string(n[1]) + ", " +
                     std::to_string(n[2]) + ", " + std::to_string(n[3]);
  return Version{n[0] << 16 | n[1], n[2] << 16 | n[3], text};
}

TEST_F(Resources, VersionBlock) {
  const Version version = BuiltVersion();
  Bytes bytes = Resource(RT_VERSION, 1);
  ASSERT_FALSE(bytes.empty()) << "no U.S. English version block";
  Reader r{bytes};
  Node root = ReadNode(r);
  ASSERT_FALSE(r.overrun);
  EXPECT_EQ(root.key, "VS_VERSION_INFO");
  ASSERT_EQ(root.value.size(), sizeof(VS_FIXEDFILEINFO));
  VS_FIXEDFILEINFO info;
  memcpy(&info, root.value.data(), sizeof info);
  EXPECT_EQ(info.dwSignature, 0xFEEF04BDu);
  EXPECT_EQ(info.dwFileVersionMS, version.ms);
  EXPECT_EQ(info.dwFileVersionLS, version.ls);
  EXPECT_EQ(info.dwProductVersionMS, version.ms);
  EXPECT_EQ(info.dwProductVersionLS, version.ls);
  EXPECT_EQ(info.dwFileFlags, 0u);
  EXPECT_EQ(info.dwFileOS, DWORD(VOS__WINDOWS32));
  EXPECT_EQ(info.dwFileType, DWORD(VFT_APP));
  EXPECT_EQ(info.dwFileSubtype, 0u);

  ASSERT_EQ(root.children.size(), 2u);
  const Node& strings = root.children[0];
  EXPECT_EQ(strings.key, "StringFileInfo");
  ASSERT_EQ(strings.children.size(), 1u);
  EXPECT_EQ(strings.children[0].key, "040904b0");
  std::map<std::string, std::string> values;
  for (const Node& value : strings.children[0].children) {
    EXPECT_EQ(value.type, 1) << value.key << " is not text";
    EXPECT_TRUE(values.emplace(value.key, value.text).second) << value.key;
  }
  std::map<std::string, std::string> want = {
      {"Comments", ""},
      {"CompanyName", ""},
      {"FileDescription", "mailview"},
      {"FileVersion", version.text},
      {"InternalName", "mailview"},
      {"LegalCopyright", ""},
      {"LegalTrademarks", ""},
      {"OriginalFilename", "mailview.exe"},
      {"PrivateBuild", ""},
      {"ProductName", "mailview"},
      {"ProductVersion", version.text},
      {"SpecialBuild", ""},
  };
  EXPECT_EQ(values, want);

  const Node& vars = root.children[1];
  EXPECT_EQ(vars.key, "VarFileInfo");
  ASSERT_EQ(vars.children.size(), 1u);
  EXPECT_EQ(vars.children[0].key, "Translation");
  EXPECT_EQ(vars.children[0].value, (Bytes{0x09, 0x04, 0xB0, 0x04}))
      << "U.S. English, code page 1200";
}

TEST(VersionFunctions, ReadTheSameValues) {
  const Version version = BuiltVersion();
  std::string exe = MailviewExe();
  DWORD size = GetFileVersionInfoSizeA(exe.c_str(), NULL);
  ASSERT_GT(size, 0u);
  std::vector<BYTE> data(size);
  ASSERT_TRUE(GetFileVersionInfoA(exe.c_str(), 0, size, data.data()));
  // The value at `path`, or NULL; its length in `length`.
  UINT length = 0;
  auto query = [&](const std::string& path) {
    void* value = NULL;
    return VerQueryValueA(data.data(), path.c_str(), &value, &length) ? value : NULL;
  };

  auto* info = static_cast<const VS_FIXEDFILEINFO*>(query("\\"));
  ASSERT_NE(info, nullptr);
  EXPECT_EQ(info->dwFileVersionMS, version.ms);
  EXPECT_EQ(info->dwFileVersionLS, version.ls);

  auto* translation = static_cast<const WORD*>(query("\\VarFileInfo\\Translation"));
  ASSERT_NE(translation, nullptr);
  ASSERT_EQ(length, 4u);
  EXPECT_EQ(translation[0], 0x0409);
  EXPECT_EQ(translation[1], 1200);

  const std::string strings = "\\StringFileInfo\\040904b0\\";
  EXPECT_STREQ(static_cast<const char*>(query(strings + "ProductName")), "mailview");
  EXPECT_STREQ(static_cast<const char*>(query(strings + "FileVersion")), version.text.c_str());
}

}  // namespace
