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
  double unsorted[] = {5, 2, 9};
  EXPECT_EQ(Least(unsorted, 3), 2);
}

TEST(FiguresTest, JudgesTheFigureShown) {
  EXPECT_STREQ(Judged(0.5, 1.05), "0.50 (<= 1.05 met)");
  EXPECT_STREQ(Judged(1.05, 1.05), "1.05 (<= 1.05 met)");
  EXPECT_STREQ(Judged(1.0549, 1.05), "1.05 (<= 1.05 met)");
  EXPECT_STREQ(Judged(1.0551, 1.05), "1.06 (<= 1.05 MISSED)");
  EXPECT_STREQ(Judged(2.3, 1.5), "2.30 (<= 1.50 MISSED)");
  EXPECT_TRUE(Met(1.1049, 1.10));
  EXPECT_FALSE(Met(1.1051, 1.10));
}

TEST(FiguresTest, PicksTheLinesAboveTheGoalThenTheSlowest) {
  // Ratios 1.00, 2.00, 1.20, 0.90, 1.03, 1.104 (meets 1.10 as shown), 1.106.
  const std::vector<double> mine = {100, 200, 120, 90, 300, 110.4, 110.6};
  const std::vector<double> floors = {100, 100, 100, 100, 290, 100, 100};
  int above = -1;
  EXPECT_EQ(PickLines(mine, floors, 1.10, 8, 2, &above),
            (std::vector<int>{1, 2, 6, 4}));
  EXPECT_EQ(above, 3);
  // Only the highest `most` of those above; the slowest still come.
  EXPECT_EQ(PickLines(mine, floors, 1.10, 1, 3, &above),
            (std::vector<int>{1, 4, 2}));
  EXPECT_EQ(above, 3);
  EXPECT_EQ(PickLines(mine, floors, 2.5, 8, 0, &above), std::vector<int>{});
  EXPECT_EQ(above, 0);
}

}  // namespace
