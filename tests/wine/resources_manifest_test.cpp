// The application manifest inside the built mailview.exe: resource 1 of
// type 24 in U.S. English, which Windows reads when it starts the program.
// It must parse, ask to run as the user who started it, name the Windows
// versions the program was made for, and leave the DPI scaling, the code
// page of the A functions and the look of the controls as they are without
// a manifest.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "exe_resources.h"

namespace {

// A suite of its own, run against either executable.
class Manifest : public Resources {};

// Read as bytes, so that what Wine does not act on is checked too. That it
// is in no other language is checked with every other resource's.
TEST_F(Manifest, AsksForAsInvokerAndNoSettingThatChangesTheWindow) {
  Bytes bytes = Resource(RT_MANIFEST, 1);
  std::string text(bytes.begin(), bytes.end());
  ASSERT_FALSE(text.empty()) << "no manifest in U.S. English";
  EXPECT_NE(text.find("level=\"asInvoker\""), std::string::npos) << text;
  EXPECT_NE(text.find("uiAccess=\"false\""), std::string::npos) << text;
  // "dpiAware" is also the start of "dpiAwareness".
  for (const char* absent :
       {"dpiAware", "activeCodePage", "Common-Controls", "<dependency"})
    EXPECT_EQ(text.find(absent), std::string::npos) << absent;
}

// The activation context Windows builds from it, and what it holds.
TEST_F(Manifest, ParsesIntoAnActivationContext) {
  std::string exe = MailviewExe();
  ACTCTXA actctx = {};
  actctx.cbSize = sizeof actctx;
  actctx.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID | ACTCTX_FLAG_LANGID_VALID;
  actctx.lpSource = exe.c_str();
  actctx.lpResourceName = MAKEINTRESOURCEA(1);
  actctx.wLangId = 1033;
  HANDLE context = CreateActCtxA(&actctx);
  ASSERT_NE(context, INVALID_HANDLE_VALUE) << "error " << GetLastError();

  ACTIVATION_CONTEXT_RUN_LEVEL_INFORMATION level = {};
  EXPECT_TRUE(QueryActCtxW(0, context, NULL, RunlevelInformationInActivationContext, &level,
                           sizeof level, NULL));
  EXPECT_EQ(level.RunLevel, ACTCTX_RUN_LEVEL_AS_INVOKER);
  EXPECT_EQ(level.UiAccess, 0u);

  // Vista, 7, 8, 8.1 and 10 (which 11 reports too), by their documented ids,
  // in order. The size of each element differs between versions of Windows
  // (Windows 10 1903 added a field), so they are looked for among the bytes.
  const GUID want[] = {
      {0xe2011457, 0x1546, 0x43c5, {0xa5, 0xfe, 0x00, 0x8d, 0xee, 0xe3, 0xd3, 0xf0}},  // Vista
      {0x35138b9a, 0x5d96, 0x4fbd, {0x8e, 0x2d, 0xa2, 0x44, 0x02, 0x25, 0xf9, 0x3a}},  // 7
      {0x4a2f28e3, 0x53b9, 0x4441, {0xba, 0x9c, 0xd6, 0x9d, 0x4a, 0x4a, 0x6e, 0x38}},  // 8
      {0x1f676c76, 0x80e1, 0x4239, {0x95, 0xbb, 0x83, 0xd0, 0xf6, 0xd0, 0xda, 0x78}},  // 8.1
      {0x8e0f7a12, 0xbfb3, 0x4fe8, {0xb9, 0xa5, 0x48, 0xfd, 0x50, 0xa1, 0x5a, 0x9a}},  // 10, 11
  };
  alignas(8) BYTE room[1024] = {};
  EXPECT_TRUE(QueryActCtxW(0, context, NULL, CompatibilityInformationInActivationContext, room,
                           sizeof room, NULL));
  DWORD count;
  memcpy(&count, room, sizeof count);
  EXPECT_EQ(count, 5u);
  const BYTE* at = room + sizeof count;
  const BYTE* end = room + sizeof room;
  for (const GUID& id : want) {
    const BYTE* bytes = reinterpret_cast<const BYTE*>(&id);
    at = std::search(at, end, bytes, bytes + sizeof id);
    EXPECT_NE(at, end) << "supportedOS " << std::hex << id.Data1;
  }
  ReleaseActCtx(context);
}

}  // namespace
