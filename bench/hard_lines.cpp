// The lines hardest to lay out, each against the floor given the UTF-8 text
// that mailview's window shows for it: where a line holds control bytes
// (shown as their pictures) or bytes that are not UTF-8, not its own bytes.
// A few quick runs of both rank the lines; every line above the goal there,
// and the slowest few, are then measured at length.
#include "hard_lines.h"

#include <stdio.h>

#include <string>
#include <vector>

#include "adversarial_lines.h"
#include "figures.h"
#include "startup_runs.h"
#include "window_text.h"

namespace {

// Each of the lines hardest to lay out maps within this many times the
// floor given the same text.
const double HARD_LINE_GOAL = 1.10;
// The lines measured at length: every line above the goal in the ranking,
// highest first, up to MOST_ABOVE of them, and the SLOWEST in mailview.
const int MOST_ABOVE = 8;
const int SLOWEST = 3;

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

// Writes `message` to DIR/NAME.eml for mailview, and to DIR/NAME.shown the
// text mailview's window shows for it, for the floor: the same characters
// (control bytes as their pictures, bytes that are not UTF-8 as their
// Windows-1252 characters), so that both lay out the same text. Appends the
// two runs, mailview's first, to *runs.
bool WriteBoth(const std::string& message, const char* dir, const char* name,
               std::vector<Run>* runs) {
  std::string shown;
  std::string path = std::string(dir) + "/" + name;
  if (!WindowText(message, &shown) ||
      !WriteFile((path + ".eml").c_str(), message) ||
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

}  // namespace

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
