#include <gtest/gtest.h>
#include <string.h>

#include <string>

#include "mail.h"

namespace {

std::string Display(const std::string& mail) {
  memcpy(mailText, mail.c_str(), mail.size() + 1);
  BuildDisplayText();
  return displayText;
}

TEST(DisplayText, EveryLineBreakBecomesCRLF) {
  EXPECT_EQ("", Display(""));
  EXPECT_EQ("A\r\nB", Display("A\nB"));
  EXPECT_EQ("\r\nA", Display("\nA"));
  EXPECT_EQ("A\r\nB", Display("A\r\nB"));
  EXPECT_EQ("A\rB", Display("A\rB"));
  EXPECT_EQ("\r\n\r\n", Display("\n\n"));
  EXPECT_EQ("A\r\n\r\n", Display("A\r\n\n"));
  EXPECT_EQ("A\r\n", Display("A\n"));
  EXPECT_EQ("\t\x01\x7f\x80\xff\r", Display("\t\x01\x7f\x80\xff\r"));
}

TEST(DisplayText, LongestTextFits) {
  std::string lfs(MAX_MAIL_LENGTH - 1, '\n');
  std::string shown = Display(lfs);
  EXPECT_EQ(2u * (MAX_MAIL_LENGTH - 1), shown.size());
  for (size_t i = 0; i < shown.size(); i += 2)
    ASSERT_EQ("\r\n", shown.substr(i, 2));
}

}  // namespace
