// The whole program as a process: real pipes, files, devices and a terminal
// on its standard input, the dialog functions recorded.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>

#include "harness.h"
#include "recorded.h"

namespace {

// The program over the recording stand-in, with `input` on `kind`.
Result RunRecorded(StdinKind kind, const std::string& input,
                   std::vector<std::string> args = {}) {
  Options o;
  o.stdinKind = kind;
  o.input = input;
  args.insert(args.begin(), MAILVIEW_RECORD);
  return RunProgram(args, o);
}

std::string Shown(const Result& r) { return ::Shown(r.out); }

TEST(Process, ShowsTheMailThroughEveryKindOfInput) {
  const std::string mail = "To: a@example.org\r\nSubject: hi\r\n\r\nbody\r\n";
  const std::string shown = "To: a@example.org\r\nSubject: hi\r\n\r\nbody\r\n";
  for (StdinKind kind : {PIPE, FILE_}) {
    Result r = RunRecorded(kind, mail);
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
    Result r = RunRecorded(kind, "");
    EXPECT_EQ(0, r.status) << kind;
    EXPECT_EQ("", Shown(r)) << kind;
  }
}

TEST(Process, ArgumentsHaveNoEffect) {
  Result plain = RunRecorded(PIPE, "x\n");
  Result args = RunRecorded(PIPE, "x\n", {"-t", "-i", "-f", "me@example.org", "--",
                                     "rcpt@example.org", "", "--help", "-"});
  EXPECT_EQ(0, args.status);
  EXPECT_EQ(plain.out, args.out);
}

TEST(Process, TooLongIsRefusedAfterReadingEverything) {
  Result r = RunRecorded(PIPE, std::string(9999, 'x'));
  EXPECT_EQ(std::string(9999, 'x'), Shown(r));
  r = RunRecorded(FILE_, std::string(10000, 'x'));
  EXPECT_EQ(0, r.status);
  EXPECT_EQ(REFUSAL, r.out);  // and no window

  std::string pairs;
  for (int i = 0; i < 9999; ++i) pairs += "\r\n";
  EXPECT_EQ(pairs, Shown(RunRecorded(PIPE, pairs)));
  EXPECT_EQ(REFUSAL, RunRecorded(PIPE, pairs + "\r\n").out);
  EXPECT_EQ(pairs, Shown(RunRecorded(PIPE, std::string(9999, '\n'))));

  // A megabyte is read to its end: the writer never sees a broken pipe.
  std::string mega(1 << 20, 'm');
  r = RunRecorded(PIPE, mega);
  EXPECT_EQ(0, r.status);
  EXPECT_FALSE(r.writeFailed);
  EXPECT_EQ(mega.size(), r.written);
  EXPECT_EQ(REFUSAL, r.out);
}

TEST(Process, LeavesTheCallersPipeAsItWas) {
  // The pipe is the caller's: it holds as much after a mail drained and
  // refused, or shown, as before.
  for (size_t length : {size_t(1) << 20, size_t(9999)}) {
    int p[2];
    ASSERT_EQ(0, pipe2(p, O_CLOEXEC));
    long before = fcntl(p[1], F_GETPIPE_SZ);
    Process mailview;
    ASSERT_TRUE(Start(&mailview, {MAILVIEW_RECORD}, Given(p[0])));
    close(p[0]);
    EXPECT_TRUE(WriteAll(p[1], std::string(length, 'w')));
    EXPECT_EQ(before, fcntl(p[1], F_GETPIPE_SZ)) << length << " bytes";
    close(p[1]);
    EXPECT_EQ(0, WaitForExit(&mailview, 60));
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
    Result r = RunProgram({MAILVIEW_EXE}, Piped(input, {"DISPLAY", "WAYLAND_DISPLAY"}));
    EXPECT_EQ(0, r.status);
    EXPECT_EQ("", r.out);
    EXPECT_FALSE(r.writeFailed);
  }
  // Nothing listens on the display named.
  EXPECT_EQ(0, RunProgram({MAILVIEW_EXE}, Piped("hello\n", {"DISPLAY=:4242", "WAYLAND_DISPLAY"}))
                   .status);
}

}  // namespace
