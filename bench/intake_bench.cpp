// How fast mailview reads its standard input, against `cat > /dev/null` fed
// the same text the same way, and how much memory either needs. From a
// file, reading 1 GiB takes little more than starting a GTK program, so
// mailview is also set against cat plus the start-up of the floor
// (bench/floor_window, which loads the same libraries and, without a
// display, ends once it has found none).
//   intake_bench MAILVIEW FLOOR DATA_DIR [REPETITIONS]
// mailview runs without a display, so it ends as soon as it has read all.
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include "figures.h"
#include "harness.h"
#include "sample_mail.h"

namespace {

enum Source { THROUGH_PIPE, FROM_FILE };
const Source SOURCES[] = {THROUGH_PIPE, FROM_FILE};
enum Program { MAILVIEW, CAT, FLOOR };
const int MAX_REPETITIONS = 101;
// Through a pipe mailview is judged against cat; from a file against cat
// plus the floor's start-up.
const double GOALS[] = {1.10, 1.05};
// A run that takes longer than this has failed.
const double RUN_TIMEOUT = 600;

const char* mailview;
const char* floorWindow;
int devNull;

struct Sample {
  double seconds[MAX_REPETITIONS];
  double cpuSeconds[MAX_REPETITIONS];  // the program's own, not the feeder's
  long peakKiB;                        // the largest of all repetitions
  int count;
};

// Runs `program` once with `path` on its standard input: fed by `cat path`
// through a pipe, or redirected from the file; the floor gets /dev/null.
// Times it from the first fork until the last process has ended. Returns
// false when it failed.
bool RunOnce(Program program, Source source, const char* path, Sample* s) {
  const char* const names[] = {mailview, "cat", floorWindow};
  Options o;
  o.out = o.err = devNull;
  o.env = {"DISPLAY", "WAYLAND_DISPLAY"};
  Options feed;
  feed.stdinKind = GIVEN_FD;
  feed.fd = feed.err = devNull;

  double start = Now();
  Process feeder, measured;
  int ends[2] = {-1, -1};
  if (program == FLOOR) {
    o.stdinKind = DEV_NULL;
  } else if (source == THROUGH_PIPE) {
    if (pipe2(ends, O_CLOEXEC) != 0)
      return false;
    feed.out = ends[1];
    Start(&feeder, {"cat", path}, feed);
    close(ends[1]);
    o.stdinKind = GIVEN_FD;
    o.fd = ends[0];
  } else {
    o.stdinKind = GIVEN_FD;
    o.fd = open(path, O_RDONLY | O_CLOEXEC);
  }
  bool started = o.stdinKind == DEV_NULL || o.fd >= 0;
  if (started)
    started = Start(&measured, {names[program]}, o);
  if (o.fd >= 0)
    close(o.fd);
  Usage usage = {};
  int status = started ? WaitForExit(&measured, RUN_TIMEOUT, &usage) : -1;
  int feederStatus = source == THROUGH_PIPE && program != FLOOR
                         ? WaitForExit(&feeder, RUN_TIMEOUT) : 0;
  double seconds = Now() - start;
  if (status != 0 || feederStatus != 0) {
    fprintf(stderr, "intake_bench: %s failed on %s (status %d, feeder %d)\n",
            names[program], path, status, feederStatus);
    return false;
  }
  s->seconds[s->count] = seconds;
  s->cpuSeconds[s->count] = usage.cpuSeconds;
  ++s->count;
  if (usage.peakKiB > s->peakKiB)
    s->peakKiB = usage.peakKiB;
  return true;
}

// Makes sure `path` holds `bytes` bytes of bulk mail text.
bool PrepareInput(const char* path, long long bytes) {
  struct stat st;
  if (stat(path, &st) == 0 && st.st_size == bytes)
    return true;
  fprintf(stderr, "intake_bench: writing %lld bytes to %s\n", bytes, path);
  return WriteBulkMail(path, bytes);
}

// The judged figures of the last Measure with `judge`, by source.
char verdicts[2][48];

// Measures mailview and cat both ways on one input, and the floor's
// start-up, taking turns, and prints two table rows, judged against the
// goals when `judge`. Sets *mailviewPeakKiB to mailview's largest peak
// memory. Returns false when a run failed.
bool Measure(const char* label, const char* path, int repetitions,
             bool judge, long* mailviewPeakKiB) {
  static const char* const SOURCE_NAMES[] = {"pipe", "file"};
  Sample samples[2][2] = {};  // [source][program]
  Sample floorStart = {};
  for (Source source : SOURCES) {
    Sample warmUp = {};
    if (!RunOnce(CAT, source, path, &warmUp) ||
        !RunOnce(MAILVIEW, source, path, &warmUp))
      return false;
  }
  for (int i = 0; i < repetitions; ++i) {
    if (!RunOnce(FLOOR, FROM_FILE, path, &floorStart))
      return false;
    for (Source source : SOURCES) {
      Program first = i % 2 ? CAT : MAILVIEW;
      Program second = i % 2 ? MAILVIEW : CAT;
      if (!RunOnce(first, source, path, &samples[source][first]) ||
          !RunOnce(second, source, path, &samples[source][second]))
        return false;
    }
  }
  double floor = Median(floorStart.seconds, floorStart.count);
  *mailviewPeakKiB = 0;
  for (Source source : SOURCES) {
    Sample* m = &samples[source][MAILVIEW];
    Sample* c = &samples[source][CAT];
    double mv = Median(m->seconds, m->count);
    double cat = Median(c->seconds, c->count);
    double cpuRatio = Median(m->cpuSeconds, m->count) /
                      Median(c->cpuSeconds, c->count);
    // The figure each source is judged by: against cat through a pipe,
    // against cat plus the floor's start-up from a file.
    double ratios[] = {mv / cat, mv / (cat + floor)};
    char shown[2][48];
    for (int k = 0; k < 2; ++k) {
      if (judge && k == source) {
        snprintf(shown[k], sizeof shown[k], "%s", Judged(ratios[k], GOALS[k]));
        memcpy(verdicts[k], shown[k], sizeof verdicts[k]);
      } else
        snprintf(shown[k], sizeof shown[k], "%.2f", ratios[k]);
    }
    printf("| %s | %s | %.4f s | %.4f s | %s | %.4f s | %s | %.2f "
           "| %ld KiB | %ld KiB |\n", label, SOURCE_NAMES[source], mv, cat,
           shown[0], cat + floor, shown[1], cpuRatio, m->peakKiB, c->peakKiB);
    if (m->peakKiB > *mailviewPeakKiB)
      *mailviewPeakKiB = m->peakKiB;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    fprintf(stderr,
            "usage: intake_bench MAILVIEW FLOOR DATA_DIR [REPETITIONS]\n");
    return 2;
  }
  mailview = argv[1];
  floorWindow = argv[2];
  const char* dataDir = argv[3];
  setvbuf(stdout, nullptr, _IOLBF, 0);
  int repetitions = argc > 4 ? atoi(argv[4]) : 11;
  if (repetitions < 1 || repetitions > MAX_REPETITIONS)
    repetitions = 11;
  devNull = open("/dev/null", O_RDWR | O_CLOEXEC);
  mkdir(dataDir, 0755);
  char small[4096], large[4096];
  snprintf(small, sizeof small, "%s/bulk-1MiB.txt", dataDir);
  snprintf(large, sizeof large, "%s/bulk-1GiB.txt", dataDir);
  if (devNull < 0 || !PrepareInput(small, 1LL << 20) ||
      !PrepareInput(large, 1LL << 30)) {
    fprintf(stderr, "intake_bench: cannot prepare the input in %s\n", dataDir);
    return 1;
  }

  printf("Intake: %s, no display, lines of %d characters + CR LF; "
         "median of %d runs (1 MiB: 21), alternating\n\n",
         mailview, MAIL_LINE_WIDTH, repetitions);
  printf("| input | stdin | mailview | cat > /dev/null | against cat "
         "| cat + floor start-up | against that | CPU time against cat "
         "| mailview peak RSS | cat peak RSS |\n");
  printf("|---|---|---|---|---|---|---|---|---|---|\n");
  long smallPeak, largePeak;
  if (!Measure("1 MiB", small, 21, false, &smallPeak) ||
      !Measure("1 GiB", large, repetitions, true, &largePeak))
    return 1;
  printf("\nmailview's peak memory: %ld KiB for 1 MiB, %ld KiB for 1 GiB "
         "(%+ld KiB)\n\n", smallPeak, largePeak, largePeak - smallPeak);
  printf("Goal: 1 GiB through a pipe, mailview against cat: %s\n\n",
         verdicts[THROUGH_PIPE]);
  printf("Goal: 1 GiB from a file, mailview against cat plus the floor's "
         "start-up: %s\n\n", verdicts[FROM_FILE]);
  return 0;
}
