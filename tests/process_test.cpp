// The whole program as a process: real pipes, files, devices and a terminal
// on its standard input, the dialog functions recorded.
#include <gtest/gtest.h>

#include <string>

#include "run_process.h"

namespace {

const char* const kRecord = MAILVIEW_RECORD;
const char* const kMailview = MAILVIEW_EXE;

RunResult RunRecorded(StdinKind kind, const std::string& input,
              std::vector<std::string> args = {}) {
  RunOptions o;
  o.kind = kind;
  o.input = input;
  o.args = args;
  return RunProcess(kRecord, o);
}

// The text shown in the Send Mail window, or "<none>" when none opened.
std::string Shown(const RunResult& r) {
  std::string text;
  return RecordedText(r.out, 1121, &text) ? text : "<none>";
}

const char kRefusal[] =
    "MessageBoxA owner=(nil) flags=0x30 caption=5:Error text=14:Email too long\n";

TEST(Process, ShowsTheMailThroughEveryKindOfInput) {
  const std::string mail = "To: a@example.org\r\nSubject: hi\r\n\r\nbody\r\n";
  const std::string shown = "To: a@example.org\r\nSubject: hi\r\n\r\nbody\r\n";
  for (StdinKind kind : {PIPE, FILE_}) {
    RunResult r = RunRecorded(kind, mail);
    EXPECT_EQ(0, r.status);
    EXPECT_EQ(shown, Shown(r));
    EXPECT_NE(std::string::npos,
              r.out.find("DialogBoxParamA template=134 owner=(nil) param=0\n"));
    EXPECT_NE(std::string::npos, r.out.find("WM_INITDIALOG returned 1\n"));
    EXPECT_NE(std::string::npos, r.out.find("DialogBoxParamA returns 1\n"));
  }
  // Bare LFs come out as CR LF; Ctrl-Z ends a file or pipe.
  EXPECT_EQ("a\r\nb\r\n", Shown(RunRecorded(PIPE, "a\nb\n\x1Atrailing\n")));
  EXPECT_EQ("a\r\nb", Shown(RunRecorded(FILE_, "a\nb\x1A\n")));
  EXPECT_EQ("A\r\nB", Shown(RunRecorded(PIPE, "A\r\r\nB")));
  EXPECT_EQ("ABXY\r\nPQ", Shown(RunRecorded(PIPE, std::string("AB\0XY\nPQ", 8))));
}

TEST(Process, NoInputShowsAnEmptyWindow) {
  for (StdinKind kind : {DEV_NULL, CLOSED, DIRECTORY, PIPE, FILE_}) {
    RunResult r = RunRecorded(kind, "");
    EXPECT_EQ(0, r.status) << kind;
    EXPECT_EQ("", Shown(r)) << kind;
  }
}

TEST(Process, ArgumentsHaveNoEffect) {
  RunResult plain = RunRecorded(PIPE, "x\n");
  RunResult args = RunRecorded(PIPE, "x\n", {"-t", "-i", "-f", "me@example.org", "--",
                                     "rcpt@example.org", "", "--help", "-"});
  EXPECT_EQ(0, args.status);
  EXPECT_EQ(plain.out, args.out);
}

TEST(Process, TooLongIsRefusedAfterReadingEverything) {
  RunResult r = RunRecorded(PIPE, std::string(9999, 'x'));
  EXPECT_EQ(std::string(9999, 'x'), Shown(r));
  r = RunRecorded(FILE_, std::string(10000, 'x'));
  EXPECT_EQ(0, r.status);
  EXPECT_EQ(kRefusal, r.out);  // and no window

  std::string pairs;
  for (int i = 0; i < 9999; ++i) pairs += "\r\n";
  EXPECT_EQ(pairs, Shown(RunRecorded(PIPE, pairs)));
  EXPECT_EQ(kRefusal, RunRecorded(PIPE, pairs + "\r\n").out);
  EXPECT_EQ(pairs, Shown(RunRecorded(PIPE, std::string(9999, '\n'))));

  // A megabyte is read to its end: the writer never sees a broken pipe.
  std::string mega(1 << 20, 'm');
  r = RunRecorded(PIPE, mega);
  EXPECT_EQ(0, r.status);
  EXPECT_FALSE(r.writeFailed);
  EXPECT_EQ(mega.size(), r.written);
  EXPECT_EQ(kRefusal, r.out);
}

TEST(Process, DrainsARefusedMailThroughAWiderPipe) {
  // The pipe is widened to two skip reads (256 KiB) once the mail is
  // refused, never narrowed, and left alone for a mail that is shown.
  struct {
    size_t length;
    int pipeSize;  // set by the writer beforehand, or 0
    long after;
  } cases[] = {{1 << 20, 0, 256 * 1024},
               {1 << 20, 1 << 20, 1 << 20},
               {1 << 20, 128 * 1024, 256 * 1024},
               {9999, 0, 64 * 1024}};
  for (const auto& c : cases) {
    RunOptions o;
    o.input = std::string(c.length, 'w');
    o.pipeSize = c.pipeSize;
    RunResult r = RunProcess(kRecord, o);
    EXPECT_EQ(c.length, r.written);
    EXPECT_EQ(c.after, r.pipeSize) << c.length << " bytes, " << c.pipeSize;
  }
}

TEST(Process, Terminal) {
  // Ctrl-V Ctrl-Z types a literal Ctrl-Z; Ctrl-D at the start of a line is a
  // read that yields nothing.
  const std::string ctrlZ = "\x16\x1A";
  EXPECT_EQ("XY\r\n", Shown(RunRecorded(PTY, "XY\n" + ctrlZ + "\nlost\n\x04")));
  EXPECT_EQ("XY", Shown(RunRecorded(PTY, "XY" + ctrlZ + "\n" + ctrlZ + "\n" + ctrlZ +
                                 "\nlost\n\x04")));
  EXPECT_EQ("XYPQ\r\n", Shown(RunRecorded(PTY, "XY" + ctrlZ + "\nPQ\n\x04")));
  EXPECT_EQ("line one\r\nline two\r\n", Shown(RunRecorded(PTY, "line one\nline two\n\x04")));
  // Ctrl-D in the middle of a line only hands over what was typed.
  EXPECT_EQ("abcd\r\n", Shown(RunRecorded(PTY, "ab\x04" "cd\n\x04")));
}

TEST(Process, WithoutADisplayTheRealProgramEndsAtOnce) {
  for (const std::string& input : {std::string("hello\n"), std::string(20000, 'z')}) {
    RunOptions o;
    o.input = input;
    o.unset = {"DISPLAY", "WAYLAND_DISPLAY"};
    RunResult r = RunProcess(kMailview, o);
    EXPECT_EQ(0, r.status);
    EXPECT_EQ("", r.out);
    EXPECT_FALSE(r.writeFailed);
  }
  RunOptions o;
  o.input = "hello\n";
  o.env = {"DISPLAY=:4242"};  // nothing listens there
  o.unset = {"WAYLAND_DISPLAY"};
  EXPECT_EQ(0, RunProcess(kMailview, o).status);
}

}  // namespace
