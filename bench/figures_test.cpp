#include "figures.h"

#include <gtest/gtest.h>

namespace {

TEST(FiguresTest, Median) {
  double odd[] = {5, 1, 3};
  EXPECT_EQ(Median(odd, 3), 3);
  double even[] = {4, 1, 3, 2};
  EXPECT_EQ(Median(even, 4), 2.5);
  double one[] = {7};
  EXPECT_EQ(Median(one, 1), 7);
}

TEST(FiguresTest, JudgesTheFigureShown) {
  EXPECT_STREQ(Judged(0.5, 1.05), "0.50 (<= 1.05 met)");
  EXPECT_STREQ(Judged(1.05, 1.05), "1.05 (<= 1.05 met)");
  EXPECT_STREQ(Judged(1.0549, 1.05), "1.05 (<= 1.05 met)");
  EXPECT_STREQ(Judged(1.0551, 1.05), "1.06 (<= 1.05 MISSED)");
  EXPECT_STREQ(Judged(2.3, 1.5), "2.30 (<= 1.50 MISSED)");
}

}  // namespace
