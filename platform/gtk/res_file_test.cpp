#include "res_file.h"

#include <gtest/gtest.h>
#include <string.h>

#include <memory>

#include "instance.h"
#include "little_endian.h"
#include "res_builder.h"
#include "send_mail_template.h"

namespace {

TEST(LittleEndian, LowByteFirstAndTheTopBitIsNoSign) {
  const unsigned char bytes[] = {0x34, 0x12, 0xFE, 0xFF, 0x80, 0x7F};
  EXPECT_EQ(0x1234u, WordAt(bytes));
  EXPECT_EQ(0xFFFEu, WordAt(bytes + 2));
  EXPECT_EQ(0xFFFE1234ul, DwordAt(bytes));
  EXPECT_EQ(0x7F80FFFEul, DwordAt(bytes + 2));
  // Written back: those four bytes, and none beside them.
  unsigned char out[] = {0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE};
  PutDwordAt(out + 1, 0xFFFE1234ul);
  const unsigned char want[] = {0xEE, 0x34, 0x12, 0xFE, 0xFF, 0xEE};
  EXPECT_EQ(0, memcmp(want, out, sizeof out));
}

// Looks up in a heap copy of exactly `size` bytes, so that a read past the
// end is a read past the allocation.
bool FindIn(const Bytes& res, size_t size, unsigned type, unsigned id,
            Bytes* data) {
  std::unique_ptr<unsigned char[]> copy(new unsigned char[size]);
  memcpy(copy.get(), res.data(), size);
  ResourceData found;
  if (!FindResourceData(copy.get(), size, type, id, &found))
    return false;
  EXPECT_GE(found.bytes, copy.get());
  EXPECT_LE(found.bytes + found.size, copy.get() + size);
  data->assign(found.bytes, found.bytes + found.size);
  return true;
}

TEST(FindResourceData, FindsTheProgramsOwnDialogAndVersion) {
  HINSTANCE program = ProgramInstance();
  ResourceData dialog, version, none;
  ASSERT_TRUE(FindResourceData(program->res, program->size, RES_DIALOG, SEND_MAIL_ID,
                               &dialog));
  // The template starts with its style, little-endian.
  ASSERT_GE(dialog.size, 4u);
  for (int i = 0; i < 4; ++i)
    EXPECT_EQ((SEND_MAIL_STYLE >> 8 * i) & 0xFF, dialog.bytes[i]) << i;
  ASSERT_TRUE(FindResourceData(program->res, program->size, 16, 1, &version));
  EXPECT_EQ(0, memcmp(version.bytes + 6, "V\0S\0_\0V\0", 8));
  EXPECT_FALSE(FindResourceData(program->res, program->size, RES_DIALOG, SEND_MAIL_ID + 1,
                                &none));
  EXPECT_FALSE(FindResourceData(program->res, program->size, 4, SEND_MAIL_ID, &none));
}

TEST(FindResourceData, WalksNamedEntriesPaddingAndLanguagesInOrder) {
  Bytes res = ResFile({
      {{0, "CUSTOM"}, {5, ""}, {1}},         // a named type with number 5's name
      {{RES_DIALOG, ""}, {0, "NAMED"}, {2, 2, 2}},  // odd size: padded
      {{RES_DIALOG, ""}, {7, ""}, {3, 3}},
      {{RES_DIALOG, ""}, {7, ""}, {4}},      // the same again: the first wins
      {{RES_DIALOG, ""}, {9, ""}, {}},
  });
  Bytes data;
  ASSERT_TRUE(FindIn(res, res.size(), RES_DIALOG, 7, &data));
  EXPECT_EQ(Bytes({3, 3}), data);
  ASSERT_TRUE(FindIn(res, res.size(), RES_DIALOG, 9, &data));
  EXPECT_TRUE(data.empty());
  ASSERT_TRUE(FindIn(res, res.size(), RES_DIALOG, ANY_RESOURCE_ID, &data));
  EXPECT_EQ(Bytes({3, 3}), data);
  EXPECT_FALSE(FindIn(res, res.size(), RES_DIALOG, 5, &data));
  EXPECT_FALSE(FindIn(res, res.size(), RES_ICON, ANY_RESOURCE_ID, &data));
}

TEST(FindResourceData, NeverReadsOutsideTheBytesGiven) {
  HINSTANCE program = ProgramInstance();
  Bytes res(program->res, program->res + program->size);
  ResourceData whole;
  ASSERT_TRUE(FindResourceData(res.data(), res.size(), RES_DIALOG, SEND_MAIL_ID, &whole));
  size_t end = whole.bytes + whole.size - res.data();
  Bytes data;
  for (size_t size = 0; size <= res.size(); ++size)
    EXPECT_EQ(size >= end, FindIn(res, size, RES_DIALOG, SEND_MAIL_ID, &data)) << size;

  // Sizes in a header that point beyond the end.
  Bytes bad = ResFile({{{RES_DIALOG, ""}, {1, ""}, {1, 2, 3, 4}}});
  size_t second = 32;
  for (unsigned field : {0u, 4u}) {
    for (unsigned long v : {0x7FFFFFFFul, 0xFFFFFFFFul, 0xFFFFFFF0ul,
                            static_cast<unsigned long>(bad.size())}) {
      Bytes b = bad;
      for (int i = 0; i < 4; ++i)
        b[second + field + i] = (v >> (8 * i)) & 0xFF;
      EXPECT_FALSE(FindIn(b, b.size(), RES_DIALOG, 1, &data)) << field << " " << v;
    }
  }
  // A name string that never ends.
  Bytes unterminated = ResFile({{{RES_DIALOG, ""}, {0, "ABCDEFGHIJ"}, {}}});
  for (size_t i = second + 12; i < unterminated.size(); ++i)
    unterminated[i] = 'A';
  EXPECT_FALSE(FindIn(unterminated, unterminated.size(), RES_DIALOG, 1, &data));
}

// A group icon directory naming icons `ids`, 16 x 16, 16 colours.
Bytes GroupIcon(std::vector<unsigned> ids) {
  Bytes b;
  PutWord(&b, 0);
  PutWord(&b, 1);
  PutWord(&b, ids.size());
  for (unsigned id : ids) {
    b.insert(b.end(), {16, 16, 16, 0});
    PutWord(&b, 1);
    PutWord(&b, 4);
    PutDword(&b, 999);  // the real size is taken from the icon itself
    PutWord(&b, id);
  }
  return b;
}

size_t Dword(const Bytes& b, size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | b[at + 3] << 24;
}

TEST(BuildIconFile, MakesAnIcoFileOfTheGroupsImages) {
  Bytes res = ResFile({
      {{RES_ICON, ""}, {1, ""}, {'a', 'b', 'c'}},
      {{RES_ICON, ""}, {2, ""}, {'d', 'e'}},
      {{RES_GROUP_ICON, ""}, {128, ""}, GroupIcon({2, 1})},
  });
  size_t need = BuildIconFile(res.data(), res.size(), 128, NULL, 0);
  ASSERT_EQ(6u + 2 * 16 + 5, need);
  EXPECT_EQ(need, BuildIconFile(res.data(), res.size(), ANY_RESOURCE_ID, NULL, 0));
  Bytes ico(need + 4, 0xEE);
  EXPECT_EQ(need, BuildIconFile(res.data(), res.size(), 128, ico.data(), need - 1));
  EXPECT_EQ(0xEE, ico[0]);  // too small: nothing written
  ASSERT_EQ(need, BuildIconFile(res.data(), res.size(), 128, ico.data(), ico.size()));
  EXPECT_EQ(Bytes({0, 0, 1, 0, 2, 0}), Bytes(ico.begin(), ico.begin() + 6));
  // Entry 1 is icon 2, entry 2 icon 1, each with its size and offset.
  EXPECT_EQ(Bytes({16, 16, 16, 0, 1, 0, 4, 0}), Bytes(ico.begin() + 6, ico.begin() + 14));
  EXPECT_EQ(2u, Dword(ico, 14));
  EXPECT_EQ(38u, Dword(ico, 18));
  EXPECT_EQ(3u, Dword(ico, 30));
  EXPECT_EQ(40u, Dword(ico, 34));
  EXPECT_EQ("deabc", std::string(ico.begin() + 38, ico.begin() + 43));
  EXPECT_EQ(0xEE, ico[43]);

  // A missing group or image, a bad directory: no icon.
  EXPECT_EQ(0u, BuildIconFile(res.data(), res.size(), 129, NULL, 0));
  for (const Bytes& group : {GroupIcon({1, 3}), GroupIcon({}), Bytes{0, 0, 1}}) {
    Bytes broken = ResFile({{{RES_ICON, ""}, {1, ""}, {'a'}},
                            {{RES_GROUP_ICON, ""}, {128, ""}, group}});
    EXPECT_EQ(0u, BuildIconFile(broken.data(), broken.size(), 128, NULL, 0));
  }
  // Every truncation: either no icon, or the whole one.
  for (size_t size = 0; size < res.size(); ++size) {
    std::unique_ptr<unsigned char[]> copy(new unsigned char[size + 1]);
    memcpy(copy.get(), res.data(), size);
    Bytes out(need);
    size_t got = BuildIconFile(copy.get(), size, 128, out.data(), out.size());
    EXPECT_TRUE(got == 0 || (got == need && out == Bytes(ico.begin(), ico.begin() + need)))
        << size;
  }
}

}  // namespace
