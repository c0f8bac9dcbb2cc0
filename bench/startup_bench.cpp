// How soon mailview's window is up, against the floor (bench/floor_window,
// the least GTK 3 program that shows the message the same way) and against
// zenity's text-info window, all fed the same message: the time from the
// process's start until its window is mapped, and until the process has
// ended after Enter was pressed in it.
// Then the lines hardest to lay out (tests/adversarial_lines.h, and every
// byte repeated on one line), each against the floor given the text that
// mailview's window shows for it: a few runs of each to rank them, then the
// highest against the floor and the slowest, and the sample message, at
// length, the programs taking turns.
//   startup_bench MAILVIEW FLOOR DATA_DIR [REPETITIONS [SAMPLE_MESSAGE]]
// Runs on the display named by DISPLAY, which should have no other clients.
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <fcntl.h>
#include <poll.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <string>
#include <vector>

#include "adversarial_lines.h"
#include "figures.h"
#include "harness.h"
#include "sample_mail.h"
#include "window_text.h"

namespace {

enum Program { MAILVIEW, FLOOR, ZENITY, PROGRAM_COUNT };
const Program PROGRAMS[] = {MAILVIEW, FLOOR, ZENITY};
// mailview maps within this many times the floor's time, and (the goal
// before the floor was measured) this many times zenity's.
const double FLOOR_GOAL = 1.05;
const double ZENITY_GOAL = 0.80;
// Each of the lines hardest to lay out maps within this many times the
// floor given the same text.
const double HARD_LINE_GOAL = 1.10;
// The lines measured at length: every line above the goal in the ranking,
// highest first, up to MOST_ABOVE of them, and the SLOWEST in mailview.
const int MOST_ABOVE = 8;
const int SLOWEST = 3;
const int MAX_REPETITIONS = 101;
// Generous bounds: a run that takes longer has failed.
const double MAP_TIMEOUT = 30;
const double END_TIMEOUT = 30;

Display* display;
KeyCode enterKey;
const char* mailview;
const char* floorWindow;
// The title of each program's window, as last seen: shows that the window
// timed is the one meant.
char titles[PROGRAM_COUNT][64];

int IgnoreXError(Display*, XErrorEvent*) {
  return 0;  // the window may be gone before our focus request arrives
}

// Waits until an X event is queued or `exitFd` is readable, at most until
// `deadline`. Returns false on the deadline.
bool AwaitEventOrExit(int exitFd, double deadline) {
  while (!XPending(display)) {
    struct pollfd fds[2] = {{ConnectionNumber(display), POLLIN, 0},
                            {exitFd, POLLIN, 0}};
    double left = deadline - Now();
    if (left <= 0)
      return false;
    poll(fds, 2, static_cast<int>(left * 1000) + 1);
    if (fds[1].revents)
      return true;
  }
  return true;
}

// Waits for the first top-level window mapped on the display. Returns it,
// or None when the process ended first or the deadline passed.
Window AwaitMap(int exitFd, double deadline) {
  for (;;) {
    if (!AwaitEventOrExit(exitFd, deadline))
      return None;
    while (XPending(display)) {
      XEvent e;
      XNextEvent(display, &e);
      if (e.type == MapNotify && !e.xmap.override_redirect)
        return e.xmap.window;
    }
    struct pollfd fd = {exitFd, POLLIN, 0};
    if (poll(&fd, 1, 0) > 0)
      return None;
  }
}

// Presses and releases Enter in `window`, as a user would.
void PressEnter(Window window) {
  XSetInputFocus(display, window, RevertToPointerRoot, CurrentTime);
  XTestFakeKeyEvent(display, enterKey, True, CurrentTime);
  XTestFakeKeyEvent(display, enterKey, False, CurrentTime);
  XFlush(display);
}

// Copies the title of `window` into `title`.
void GetTitle(Window window, char* title, int size) {
  char* name = nullptr;
  XFetchName(display, window, &name);
  snprintf(title, size, "%s", name ? name : "(untitled)");
  if (name)
    XFree(name);
}

// Forgets the events of the run before.
void DrainEvents() {
  XSync(display, False);
  while (XPending(display)) {
    XEvent e;
    XNextEvent(display, &e);
  }
}

// Runs `program` once on `message`. Sets *mapped and *ended to the seconds
// from its start until its window was mapped and until it had ended.
// Returns false, with a word on standard error, when it failed.
bool RunOnce(Program program, const char* message, double* mapped,
             double* ended) {
  const std::vector<std::string> argvs[] = {
      {mailview}, {floorWindow}, {"zenity", "--text-info", "--font=Monospace"}};
  const std::vector<std::string>& argv = argvs[program];
  DrainEvents();
  Options o;
  o.stdinKind = GIVEN_FD;
  o.fd = open(message, O_RDONLY | O_CLOEXEC);
  o.out = o.err = DISCARD;
  if (o.fd < 0)
    return false;
  double start = Now();
  Process process;
  bool started = Start(&process, argv, o);
  close(o.fd);
  int exitFd = process.exitFd;
  if (!started || exitFd < 0) {
    fprintf(stderr, "startup_bench: cannot start or watch %s\n", argv[0].c_str());
    return false;
  }
  const char* failure = nullptr;
  Window window = AwaitMap(exitFd, start + MAP_TIMEOUT);
  *mapped = Now() - start;
  if (window == None) {
    failure = "showed no window";
  } else {
    GetTitle(window, titles[program], sizeof titles[program]);
    PressEnter(window);
    struct pollfd fd = {exitFd, POLLIN, 0};
    if (poll(&fd, 1, static_cast<int>(END_TIMEOUT * 1000)) <= 0)
      failure = "did not end after Enter";
    *ended = Now() - start;
  }
  if (failure)
    Kill(&process);
  int status = WaitForExit(&process, END_TIMEOUT);
  if (!failure && status != 0)
    failure = "ended with an error";
  if (failure)
    fprintf(stderr, "startup_bench: %s %s (%s)\n", argv[0].c_str(), failure, message);
  return !failure;
}

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

// Writes `text` to `path`; false when it could not.
bool WriteFile(const char* path, const std::string& text) {
  FILE* f = fopen(path, "wb");
  if (!f)
    return false;
  bool written = fwrite(text.data(), 1, text.size(), f) == text.size();
  return fclose(f) == 0 && written;
}

// Reads the whole of `path` into *text; false when it could not.
bool ReadFile(const char* path, std::string* text) {
  FILE* f = fopen(path, "rb");
  if (!f)
    return false;
  char buf[65536];
  text->clear();
  for (size_t n; (n = fread(buf, 1, sizeof buf, f)) > 0;)
    text->append(buf, n);
  bool read = !ferror(f);
  fclose(f);
  return read;
}

// One program and the file it is given.
struct Run {
  Program program;
  std::string path;
};

// The least of `n` values.
double Least(double* values, int n) {
  return *std::min_element(values, values + n);
}

// The time to mapped, in milliseconds, of each of `runs`, the runs taking
// turns, as `statistic` sums up its repetitions: into figures[]. False when
// one failed.
bool MapTimes(const std::vector<Run>& runs, int repetitions,
              double (*statistic)(double* values, int n),
              std::vector<double>* figures) {
  std::vector<std::vector<double>> times(runs.size());
  double ended;
  for (int i = 0; i < repetitions; ++i) {
    for (size_t k = 0; k < runs.size(); ++k) {
      size_t r = (i + k) % runs.size();
      double mapped;
      if (!RunOnce(runs[r].program, runs[r].path.c_str(), &mapped, &ended))
        return false;
      times[r].push_back(mapped);
    }
  }
  figures->clear();
  for (std::vector<double>& t : times)
    figures->push_back(statistic(t.data(), static_cast<int>(t.size())) * 1000);
  return true;
}

// Writes `message` to DIR/NAME.eml for mailview, and to DIR/NAME.shown the
// text mailview's window shows for it, for the floor: the same characters
// (control bytes as their pictures, bytes that are not UTF-8 as their
// Windows-1252 characters), so that both lay out the same text. Appends the
// two runs, mailview's first, to *runs.
bool WriteBoth(const std::string& message, const char* dir, const char* name,
               std::vector<Run>* runs) {
  std::string shown;
  std::string path = std::string(dir) + "/" + name;
  if (!WindowText(message, &shown) || !WriteFile((path + ".eml").c_str(), message) ||
      !WriteFile((path + ".shown").c_str(), shown)) {
    fprintf(stderr, "startup_bench: cannot write %s for both programs\n", name);
    return false;
  }
  runs->push_back({MAILVIEW, path + ".eml"});
  runs->push_back({FLOOR, path + ".shown"});
  return true;
}

// What MeasureHardLines found: each line's least time in mailview and in
// the floor in the ranking, the lines picked from it and how many were
// above the goal there; then the medians at length, the sample's pair
// first, then each picked line's, mailview's before the floor's.
struct HardLineFigures {
  std::vector<double> mine, floors;
  std::vector<int> picked;
  int above;
  std::vector<double> medians;
};

// Prints the table of the lines measured at length, and the goal.
void PrintHardLines(const std::vector<AdversarialLine>& lines,
                    const HardLineFigures& f, const char* sample,
                    int rankingRuns, int repetitions) {
  printf("Start-up with the lines hardest to lay out, mailview against the "
         "floor given the text mailview shows: %zu lines of 9,999 bytes "
         "ranked by the least of %d runs each, the programs taking turns, "
         "%d of them above %.2f times the floor there. Then each line above "
         "it (at most %d), the %d slowest in mailview and the sample message, "
         "median of %d runs, taking turns\n\n",
         lines.size(), rankingRuns, f.above, HARD_LINE_GOAL, MOST_ABOVE,
         SLOWEST, repetitions);
  printf("| message | in the ranking | mailview mapped | floor mapped "
         "| against the floor | mailview against the sample "
         "| floor against the sample |\n|---|---|---|---|---|---|---|\n");
  const std::vector<double>& m = f.medians;
  printf("| sample message (%s) | | %.1f ms | %.1f ms | %.2f | 1.00 | 1.00 |\n",
         sample, m[0], m[1], m[0] / m[1]);
  std::string verdicts;
  bool allMet = f.above <= MOST_ABOVE;
  for (size_t i = 0; i < f.picked.size(); ++i) {
    int line = f.picked[i];
    double mine = m[2 * i + 2], floor = m[2 * i + 3];
    allMet = allMet && Met(mine / floor, HARD_LINE_GOAL);
    const char* judged = Judged(mine / floor, HARD_LINE_GOAL);
    verdicts += std::string(i ? ", " : "") + lines[line].what + " " + judged;
    printf("| %s | %.1f ms, %.2f | %.1f ms | %.1f ms | %s | %.2f | %.2f |\n",
           lines[line].what, f.mine[line], f.mine[line] / f.floors[line],
           mine, floor, judged, mine / m[0], floor / m[1]);
  }
  if (f.above > MOST_ABOVE)
    verdicts += ", and " + std::to_string(f.above - MOST_ABOVE) +
                " more above it in the ranking, not measured at length";
  printf("\nGoal: the hardest lines, mailview mapped against the floor given "
         "the same text, every line within %.2f: %s (%s)\n\n",
         HARD_LINE_GOAL, allMet ? "met" : "MISSED", verdicts.c_str());
}

// The lines hardest to lay out: each line, mailview and the floor given the
// same text, a few runs to rank them; then the lines picked, and the sample,
// at length. Prints the table and the goal.
bool MeasureHardLines(const char* sample, const char* dir, int repetitions) {
  std::vector<AdversarialLine> lines = AdversarialLines();
  static char names[256][16];
  for (int b = 1; b <= 0xFF; ++b) {
    snprintf(names[b], sizeof names[b], "byte 0x%02X", b);
    lines.push_back({names[b], Fill(std::string(1, static_cast<char>(b)))});
  }
  std::vector<Run> ranking, contest;
  std::string sampleText;
  if (!ReadFile(sample, &sampleText) ||
      !WriteBoth(sampleText, dir, "sample", &contest))
    return false;
  for (size_t i = 0; i < lines.size(); ++i) {
    char name[32];
    snprintf(name, sizeof name, "hard-line-%03zu", i);
    if (!WriteBoth(lines[i].text, dir, name, &ranking))
      return false;
  }
  // A few runs each, after one of each program to warm the caches, and the
  // least of them: whatever else the machine does only ever adds time, and
  // a line that two busy moments made slow would take the place of one
  // that is.
  const int RANKING_RUNS = 3;
  std::vector<double> least;
  double unused;
  if (!RunOnce(MAILVIEW, contest[0].path.c_str(), &unused, &unused) ||
      !RunOnce(FLOOR, contest[1].path.c_str(), &unused, &unused) ||
      !MapTimes(ranking, RANKING_RUNS, Least, &least))
    return false;
  HardLineFigures f;
  for (size_t i = 0; i < least.size(); i += 2) {
    f.mine.push_back(least[i]);
    f.floors.push_back(least[i + 1]);
  }
  f.picked = PickLines(f.mine, f.floors, HARD_LINE_GOAL, MOST_ABOVE, SLOWEST,
                       &f.above);
  for (int line : f.picked) {
    contest.push_back(ranking[2 * line]);
    contest.push_back(ranking[2 * line + 1]);
  }
  if (!MapTimes(contest, repetitions, Median, &f.medians))
    return false;
  PrintHardLines(lines, f, sample, RANKING_RUNS, repetitions);
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
  mailview = argv[1];
  floorWindow = argv[2];
  const char* dataDir = argv[3];
  setvbuf(stdout, nullptr, _IOLBF, 0);
  int repetitions = argc > 4 ? atoi(argv[4]) : 15;
  if (repetitions < 1 || repetitions > MAX_REPETITIONS)
    repetitions = 15;
  display = XOpenDisplay(nullptr);
  int unused;
  if (!display || !XTestQueryExtension(display, &unused, &unused, &unused,
                                       &unused)) {
    fprintf(stderr, "startup_bench: needs an X display with XTEST\n");
    return 1;
  }
  XSetErrorHandler(IgnoreXError);
  enterKey = XKeysymToKeycode(display, XK_Return);
  XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);

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
         "\"%s\", \"%s\" and \"%s\".\n\n", titles[MAILVIEW], titles[FLOOR],
         titles[ZENITY]);
  printf("Goal: start-up, mailview mapped against the floor: %s %s, %s %s\n\n",
         labels[0], verdicts[0], labels[1], verdicts[1]);
  if (argc > 5 && !MeasureHardLines(argv[5], dataDir, repetitions))
    return 1;
  return 0;
}
