// How fast mailview reads its standard input, against `cat > /dev/null` fed
// the same text the same way, and how much memory either needs.
//   intake_bench MAILVIEW DATA_DIR [REPETITIONS]
// mailview runs without a display, so it ends as soon as it has read all.
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include "sample_mail.h"
#include "spawn.h"

namespace {

enum Source { THROUGH_PIPE, FROM_FILE };
const Source SOURCES[] = {THROUGH_PIPE, FROM_FILE};
enum Program { MAILVIEW, CAT };
const int MAX_REPETITIONS = 101;

const char* mailview;
int devNull;

struct Sample {
  double seconds[MAX_REPETITIONS];
  double cpuSeconds[MAX_REPETITIONS];  // the program's own, not the feeder's
  long peakKiB;                        // the largest of all repetitions
  int count;
};

// Runs `program` once with `path` on its standard input: fed by `cat path`
// through a pipe, or redirected from the file. Times it from the first
// fork until the last process has ended. Returns false when it failed.
bool RunOnce(Program program, Source source, const char* path, Sample* s) {
  const char* mailviewArgv[] = {mailview, nullptr};
  const char* catArgv[] = {"cat", nullptr};
  const char* const* argv = program == MAILVIEW ? mailviewArgv : catArgv;
  const char* feederArgv[] = {"cat", path, nullptr};

  double start = Now();
  pid_t feeder = -1;
  int in;
  if (source == THROUGH_PIPE) {
    int p[2];
    if (pipe2(p, O_CLOEXEC) != 0)
      return false;
    feeder = Spawn(feederArgv, devNull, p[1], false);
    close(p[1]);
    in = p[0];
  } else {
    in = open(path, O_RDONLY | O_CLOEXEC);
  }
  pid_t pid = in >= 0 ? Spawn(argv, in, devNull, true) : -1;
  if (in >= 0)
    close(in);
  Usage usage = {};
  int status = pid > 0 ? WaitExit(pid, &usage) : -1;
  int feederStatus = feeder > 0 ? WaitExit(feeder, nullptr) : 0;
  double seconds = Now() - start;
  if (status != 0 || feederStatus != 0) {
    fprintf(stderr, "intake_bench: %s failed on %s (status %d, feeder %d)\n",
            argv[0], path, status, feederStatus);
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

// Measures both programs both ways on one input, alternating, and prints
// two table rows. Sets *mailviewPeakKiB to mailview's largest peak memory.
// Returns false when a run failed.
bool Measure(const char* label, const char* path, int repetitions,
             bool judge, long* mailviewPeakKiB) {
  static const char* const SOURCE_NAMES[] = {"pipe", "file"};
  static const double TARGETS[] = {1.15, 1.5};
  Sample samples[2][2] = {};  // [source][program]
  for (Source source : SOURCES) {
    Sample warmUp = {};
    if (!RunOnce(CAT, source, path, &warmUp) ||
        !RunOnce(MAILVIEW, source, path, &warmUp))
      return false;
  }
  for (int i = 0; i < repetitions; ++i) {
    for (Source source : SOURCES) {
      Program first = i % 2 ? CAT : MAILVIEW;
      Program second = i % 2 ? MAILVIEW : CAT;
      if (!RunOnce(first, source, path, &samples[source][first]) ||
          !RunOnce(second, source, path, &samples[source][second]))
        return false;
    }
  }
  *mailviewPeakKiB = 0;
  for (Source source : SOURCES) {
    Sample* m = &samples[source][MAILVIEW];
    Sample* c = &samples[source][CAT];
    double mv = Median(m->seconds, m->count);
    double cat = Median(c->seconds, c->count);
    double ratio = mv / cat;
    double cpuRatio = Median(m->cpuSeconds, m->count) /
                      Median(c->cpuSeconds, c->count);
    char verdict[48] = "(start-up bound)";
    if (judge)
      snprintf(verdict, sizeof verdict, "<= %.2f %s", TARGETS[source],
               ratio <= TARGETS[source] ? "met" : "MISSED");
    printf("| %s | %s | %.4f s | %.4f s | %.2f | %s | %.2f | %ld KiB "
           "| %ld KiB |\n", label, SOURCE_NAMES[source], mv, cat, ratio,
           verdict, cpuRatio, m->peakKiB, c->peakKiB);
    if (m->peakKiB > *mailviewPeakKiB)
      *mailviewPeakKiB = m->peakKiB;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    fprintf(stderr, "usage: intake_bench MAILVIEW DATA_DIR [REPETITIONS]\n");
    return 2;
  }
  mailview = argv[1];
  setvbuf(stdout, nullptr, _IOLBF, 0);
  int repetitions = argc > 3 ? atoi(argv[3]) : 11;
  if (repetitions < 1 || repetitions > MAX_REPETITIONS)
    repetitions = 11;
  devNull = open("/dev/null", O_RDWR | O_CLOEXEC);
  mkdir(argv[2], 0755);
  char small[4096], large[4096];
  snprintf(small, sizeof small, "%s/bulk-1MiB.txt", argv[2]);
  snprintf(large, sizeof large, "%s/bulk-1GiB.txt", argv[2]);
  if (devNull < 0 || !PrepareInput(small, 1LL << 20) ||
      !PrepareInput(large, 1LL << 30)) {
    fprintf(stderr, "intake_bench: cannot prepare the input in %s\n", argv[2]);
    return 1;
  }

  printf("Intake: %s, no display, lines of %d characters + CR LF; "
         "median of %d runs (1 MiB: 21), alternating\n\n",
         mailview, MAIL_LINE_WIDTH, repetitions);
  printf("| input | stdin | mailview | cat > /dev/null | ratio | target "
         "| CPU time ratio | mailview peak RSS | cat peak RSS |\n");
  printf("|---|---|---|---|---|---|---|---|---|\n");
  long smallPeak, largePeak;
  if (!Measure("1 MiB", small, 21, false, &smallPeak) ||
      !Measure("1 GiB", large, repetitions, true, &largePeak))
    return 1;
  printf("\nmailview's peak memory: %ld KiB for 1 MiB, %ld KiB for 1 GiB "
         "(%+ld KiB)\n\n", smallPeak, largePeak, largePeak - smallPeak);
  return 0;
}
