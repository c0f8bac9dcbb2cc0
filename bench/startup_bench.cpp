// How soon mailview's window is up, against the floor (bench/floor_window,
// the least GTK 3 program that shows the message the same way) and against
// zenity's text-info window, all fed the same message: the time from the
// process's start until its window is mapped, and until the process has
// ended after Enter was pressed in it.
// Then the lines hardest to lay out (tests/adversarial_lines.h, and every
// byte repeated on one line), each against the floor given the text that
// mailview's window shows for it: a few runs of each to rank them, then
// every line above the goal there and the slowest, and the sample message,
// at length, the programs taking turns.
//   startup_bench MAILVIEW FLOOR DATA_DIR [REPETITIONS [SAMPLE_MESSAGE]]
// Runs on the display named by DISPLAY, which should have no other clients.
#include <stdio.h>
#include <stdlib.h>
#include <sys/stat.h>

#include "figures.h"
#include "hard_lines.h"
#include "sample_mail.h"
#include "startup_runs.h"

namespace {

const Program PROGRAMS[] = {MAILVIEW, FLOOR, ZENITY};
// The goals: mailview maps within this many times the floor's time, the
// least a GTK window can take, and within this many times zenity's, a
// common tool that shows text the same way.
const double FLOOR_GOAL = 1.05;
const double ZENITY_GOAL = 0.80;
const int MAX_REPETITIONS = 101;

struct Figures {
  double mapped[MAX_REPETITIONS];
  double ended[MAX_REPETITIONS];
  int count;
};

// Runs the programs on `message`, taking turns, and prints a table row.
// Copies mailview's judged ratio to the floor into `verdict`.
bool Measure(const char* label, const char* message, int repetitions,
             char verdict[48]) {
  Figures figures[PROGRAM_COUNT] = {};
  double unused;
  for (Program program : PROGRAMS) {  // warm the caches, uncounted
    if (!RunOnce(program, message, &unused, &unused))
      return false;
  }
  for (int i = 0; i < repetitions; ++i) {
    for (int k = 0; k < PROGRAM_COUNT; ++k) {
      Program program = PROGRAMS[(i + k) % PROGRAM_COUNT];
      Figures* f = &figures[program];
      if (!RunOnce(program, message, &f->mapped[f->count],
                   &f->ended[f->count]))
        return false;
      ++f->count;
    }
  }
  double mapped[PROGRAM_COUNT], ended[PROGRAM_COUNT];
  for (Program program : PROGRAMS) {
    Figures* f = &figures[program];
    mapped[program] = Median(f->mapped, f->count) * 1000;
    ended[program] = Median(f->ended, f->count) * 1000;
  }
  snprintf(verdict, 48, "%s",
           Judged(mapped[MAILVIEW] / mapped[FLOOR], FLOOR_GOAL));
  printf("| %s | %.1f ms | %.1f ms | %s |", label, mapped[MAILVIEW],
         mapped[FLOOR], verdict);
  printf(" %.1f ms | %s | %.1f ms | %.1f ms | %.1f ms |\n", mapped[ZENITY],
         Judged(mapped[MAILVIEW] / mapped[ZENITY], ZENITY_GOAL),
         ended[MAILVIEW], ended[FLOOR], ended[ZENITY]);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    fprintf(stderr,
            "usage: startup_bench MAILVIEW FLOOR DATA_DIR [REPETITIONS "
            "[SAMPLE_MESSAGE]]\n");
    return 2;
  }
  const char* dataDir = argv[3];
  setvbuf(stdout, nullptr, _IOLBF, 0);
  int repetitions = argc > 4 ? atoi(argv[4]) : 15;
  if (repetitions < 1 || repetitions > MAX_REPETITIONS)
    repetitions = 15;
  if (!OpenStartupDisplay(argv[1], argv[2]))
    return 1;

  mkdir(dataDir, 0755);
  const long SIZES[] = {3 * 1024, 9 * 1024};
  printf("Start-up on %s, no window manager; median of %d runs, "
         "alternating\n\n", getenv("DISPLAY"), repetitions);
  printf("| message | mailview mapped | floor mapped | against the floor "
         "| zenity mapped | against zenity | mailview ended | floor ended "
         "| zenity ended |\n");
  printf("|---|---|---|---|---|---|---|---|---|\n");
  char labels[2][32], verdicts[2][48];
  for (int i = 0; i < 2; ++i) {
    char path[4096];
    snprintf(path, sizeof path, "%s/message-%ldKiB.eml", dataDir,
             SIZES[i] / 1024);
    long written = WriteMessage(path, SIZES[i]);
    snprintf(labels[i], sizeof labels[i], "%ld bytes", written);
    if (written < 0 || !Measure(labels[i], path, repetitions, verdicts[i]))
      return 1;
  }
  printf("\nTimes from the start of the process; \"ended\" is after Enter "
         "was pressed as soon as the window was mapped. Windows timed: "
         "\"%s\", \"%s\" and \"%s\".\n\n", WindowTitle(MAILVIEW),
         WindowTitle(FLOOR), WindowTitle(ZENITY));
  printf("Goal: start-up, mailview mapped against the floor: %s %s, %s %s\n\n",
         labels[0], verdicts[0], labels[1], verdicts[1]);
  if (argc > 5 && !MeasureHardLines(argv[5], dataDir, repetitions))
    return 1;
  return 0;
}
