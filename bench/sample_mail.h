// Mail-like text for the benchmarks, generated the same way every time.
#ifndef MAILVIEW_BENCH_SAMPLE_MAIL_H_
#define MAILVIEW_BENCH_SAMPLE_MAIL_H_

// Every generated line has at most this many characters before its CR LF.
enum { MAIL_LINE_WIDTH = 76 };

// Writes `bytes` bytes of text to `path`: lines of exactly MAIL_LINE_WIDTH
// characters of prose, each ended by CR LF, the last one shortened to fit
// (to a single character without CR LF when only one byte is left).
// Writes through a small buffer, so any size costs little memory. Returns
// false when the file could not be written.
bool WriteBulkMail(const char* path, long long bytes);

// Writes a message as a script would send it to `path`: headers, an empty
// line and paragraphs word-wrapped at MAIL_LINE_WIDTH, every line ended by
// CR LF. The headers always; then whole lines only, as close to `bytes`
// bytes as they come without going over. Returns the size written, or -1.
long WriteMessage(const char* path, long bytes);

#endif  // MAILVIEW_BENCH_SAMPLE_MAIL_H_
