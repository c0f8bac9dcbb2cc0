// Medians and judged ratios for the benchmarks' tables.
#include "figures.h"

#include <math.h>
#include <stdio.h>

#include <algorithm>

double Median(double* values, int n) {
  std::sort(values, values + n);
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

const char* Judged(double ratio, double goal) {
  static char text[48];
  double shown = round(ratio * 100) / 100;
  snprintf(text, sizeof text, "%.2f (<= %.2f %s)", shown, goal,
           shown <= goal + 1e-9 ? "met" : "MISSED");
  return text;
}
