// The figures the benchmarks print: medians, and ratios judged against
// their goals.
#ifndef MAILVIEW_BENCH_FIGURES_H_
#define MAILVIEW_BENCH_FIGURES_H_

// The median of values[0..n), n >= 1. Sorts `values`.
double Median(double* values, int n);

// A ratio as the tables show it, two decimals, with its verdict against a
// goal it must not exceed: "1.03 (<= 1.05 met)". The figure shown is the
// one judged. Returns a static buffer, overwritten by the next call.
const char* Judged(double ratio, double goal);

#endif  // MAILVIEW_BENCH_FIGURES_H_
