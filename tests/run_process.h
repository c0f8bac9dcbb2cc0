// Running the real mailview executables with each kind of standard input.
#ifndef MAILVIEW_TESTS_RUN_PROCESS_H_
#define MAILVIEW_TESTS_RUN_PROCESS_H_

#include <string>
#include <vector>

// How the child's standard input is set up.
enum StdinKind { PIPE, FILE_, DEV_NULL, CLOSED, DIRECTORY, PTY };

struct RunResult {
  int status = -1;          // exit status, or -1 when not exited normally
  std::string out;          // everything the child wrote to standard output
  size_t written = 0;       // bytes of input the writer got into a pipe or pty
  bool writeFailed = false; // a write to the pipe failed (EPIPE, say)
  long pipeSize = 0;        // the pipe's capacity once all was written
};

struct RunOptions {
  StdinKind kind = PIPE;
  std::string input;               // the bytes fed on standard input
  std::vector<std::string> args;   // command-line arguments
  std::vector<std::string> env;    // NAME=value set in the child
  std::vector<std::string> unset;  // names removed from the child's environment
  int pipeSize = 0;                // the pipe's capacity to begin with, if set
};

// Runs `exe` with `options` and waits for it to end.
RunResult RunProcess(const std::string& exe, const RunOptions& options);

// The text the recording stand-in says was put into control `item`, and
// whether any was.
bool RecordedText(const std::string& out, int item, std::string* text);

#endif  // MAILVIEW_TESTS_RUN_PROCESS_H_
