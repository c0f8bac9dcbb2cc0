// The lines hardest to lay out, mailview against the floor given the same
// text: for the start-up benchmark.
#ifndef MAILVIEW_BENCH_HARD_LINES_H_
#define MAILVIEW_BENCH_HARD_LINES_H_

// Times the lines of tests/adversarial_lines.h, and every byte 0x01-0xFF
// repeated on one line, each in mailview and in the floor given the text
// mailview's window shows for it, with the sample message beside them;
// writes their files to `dir`. Prints a table and the goal; false, with a
// word on standard error, when a run failed. Needs OpenStartupDisplay.
bool MeasureHardLines(const char* sample, const char* dir, int repetitions);

#endif  // MAILVIEW_BENCH_HARD_LINES_H_
