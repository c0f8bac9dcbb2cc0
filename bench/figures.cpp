// Medians and judged ratios for the benchmarks' tables.
#include "figures.h"

#include <math.h>
#include <stdio.h>

#include <algorithm>

double Median(double* values, int n) {
  std::sort(values, values + n);
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

double Least(double* values, int n) {
  return *std::min_element(values, values + n);
}

bool Met(double ratio, double goal) {
  return round(ratio * 100) / 100 <= goal + 1e-9;
}

const char* Judged(double ratio, double goal) {
  static char text[48];
  snprintf(text, sizeof text, "%.2f (<= %.2f %s)", round(ratio * 100) / 100,
           goal, Met(ratio, goal) ? "met" : "MISSED");
  return text;
}

std::vector<int> PickLines(const std::vector<double>& mine,
                           const std::vector<double>& floors, double goal,
                           int most, int slowest, int* above) {
  std::vector<int> byRatio, bySpeed;
  for (int i = 0; i < static_cast<int>(mine.size()); ++i) {
    if (!Met(mine[i] / floors[i], goal))
      byRatio.push_back(i);
    bySpeed.push_back(i);
  }
  std::stable_sort(byRatio.begin(), byRatio.end(), [&](int a, int b) {
    return mine[a] / floors[a] > mine[b] / floors[b];
  });
  std::stable_sort(bySpeed.begin(), bySpeed.end(),
                   [&](int a, int b) { return mine[a] > mine[b]; });
  *above = static_cast<int>(byRatio.size());
  if (*above > most)
    byRatio.resize(most);
  for (int i = 0; i < slowest && i < static_cast<int>(bySpeed.size()); ++i) {
    if (std::find(byRatio.begin(), byRatio.end(), bySpeed[i]) == byRatio.end())
      byRatio.push_back(bySpeed[i]);
  }
  return byRatio;
}
