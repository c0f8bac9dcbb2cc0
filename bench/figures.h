// The figures the benchmarks print: medians, and ratios judged against
// their goals.
#ifndef MAILVIEW_BENCH_FIGURES_H_
#define MAILVIEW_BENCH_FIGURES_H_

#include <vector>

// The median of values[0..n), n >= 1. Sorts `values`.
double Median(double* values, int n);

// The least of values[0..n), n >= 1.
double Least(double* values, int n);

// Whether a ratio meets a goal it must not exceed, judged as shown: to two
// decimals.
bool Met(double ratio, double goal);

// A ratio as the tables show it, two decimals, with its verdict against a
// goal it must not exceed: "1.03 (<= 1.05 met)". The figure shown is the
// one judged. Returns a static buffer, overwritten by the next call.
const char* Judged(double ratio, double goal);

// The lines a benchmark measures at length, by their quick figures: line i
// took mine[i] in mailview and floors[i] in the floor. Every line whose
// ratio does not meet `goal`, highest first, at most `most` of them; then
// those of the `slowest` lines slowest in mine not among them yet. Sets
// *above to the number of lines whose ratio does not meet the goal.
std::vector<int> PickLines(const std::vector<double>& mine,
                           const std::vector<double>& floors, double goal,
                           int most, int slowest, int* above);

#endif  // MAILVIEW_BENCH_FIGURES_H_
