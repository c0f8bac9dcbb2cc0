// Programs started on the X display named by DISPLAY, which should have no
// other clients, and timed as a user meets them: from the start of the
// process until its window is mapped, and until it has ended after Enter
// was pressed in that window. For the start-up benchmark.
#ifndef MAILVIEW_BENCH_STARTUP_RUNS_H_
#define MAILVIEW_BENCH_STARTUP_RUNS_H_

#include <string>
#include <vector>

// The programs timed: mailview, the floor (bench/floor_window.cpp) and
// zenity's text-info window.
enum Program { MAILVIEW, FLOOR, ZENITY, PROGRAM_COUNT };

// Opens the display, which must have XTEST, to run the programs at those
// paths on. False, with a word on standard error, when it cannot.
bool OpenStartupDisplay(const char* mailview, const char* floorWindow);

// Runs `program` once with the file `message` as its standard input. Sets
// *mapped and *ended to the seconds from its start until its window was
// mapped and until it had ended. False, with a word on standard error, when
// it failed.
bool RunOnce(Program program, const char* message, double* mapped,
             double* ended);

// The title of `program`'s window when it was last run, or "".
const char* WindowTitle(Program program);

// One program and the file it is given.
struct Run {
  Program program;
  std::string path;
};

// The time to mapped, in milliseconds, of each of `runs`, the runs taking
// turns `repetitions` times, as `statistic` (Median, Least) sums up each
// one's times: into figures[]. False when a run failed.
bool MapTimes(const std::vector<Run>& runs, int repetitions,
              double (*statistic)(double* values, int n),
              std::vector<double>* figures);

#endif  // MAILVIEW_BENCH_STARTUP_RUNS_H_
