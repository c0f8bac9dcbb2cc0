// Starting and watching programs on POSIX: fork and exec, with pipes, files,
// devices and terminals on their standard input.
#include "harness.h"

#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <string.h>
#include <sys/wait.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

#include "harness_system.h"

extern char** environ;

namespace {

// In the child, a standard stream that is left as it is.
const int LEAVE = -2;

void Nap(double seconds) {
  struct timespec t = {0, static_cast<long>(seconds * 1e9)};
  nanosleep(&t, NULL);
}

// Writes all of `bytes` to `fd`; returns how many went, and sets *failed
// when a write failed.
size_t Write(int fd, const std::string& bytes, bool* failed) {
  size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR)
      continue;
    if (n < 0) {
      *failed = true;
      break;
    }
    done += n;
  }
  return done;
}

// Our environment with `changes` made: NAME=value sets, a bare NAME removes.
std::vector<std::string> Environment(const std::vector<std::string>& changes) {
  std::vector<std::string> env;
  for (char** e = environ; *e; ++e)
    env.push_back(*e);
  for (const std::string& change : changes) {
    std::string name = change.substr(0, change.find('=')) + "=";
    for (size_t i = env.size(); i-- > 0;)
      if (env[i].compare(0, name.size(), name) == 0)
        env.erase(env.begin() + i);
    if (change.find('=') != std::string::npos)
      env.push_back(change);
  }
  return env;
}

// The child's half of Start: only calls that are safe after a fork in a
// process with threads. `streams` holds its standard input, output and
// error: an fd, -1 to close it, or LEAVE.
[[noreturn]] void Exec(char* const argv[], char** envp, int streams[3], bool errToOut,
                       bool terminal) {
  if (terminal)
    setsid();
  // Out of the way of the dup2 calls below, which clear close-on-exec.
  for (int i = 0; i < 3; ++i)
    if (streams[i] >= 0 && streams[i] < 3)
      streams[i] = fcntl(streams[i], F_DUPFD_CLOEXEC, 3);
  for (int i = 0; i < 3; ++i) {
    if (streams[i] == -1)
      close(i);
    else if (streams[i] >= 0)
      dup2(streams[i], i);
  }
  if (errToOut)
    dup2(1, 2);
  // Nothing else of ours: a pipe end it kept would hold its writer open.
  CloseOnExecFrom(3);
  if (terminal)
    TakeControllingTerminal(0);
  signal(SIGPIPE, SIG_DFL);
  // execvp looks argv[0] up in the PATH of the environment it runs with.
  environ = envp;
  execvp(argv[0], argv);
  _exit(127);
}

// Opens the child's standard input as `o` says into *in (-1: none); the
// end we write, if any, into *feed. False when it could not be made.
bool OpenStdin(Process* p, const Options& o, int* in, int* feed) {
  *in = -1;
  *feed = -1;
  int ends[2];
  switch (o.stdinKind) {
    case PIPE:
    case GENERATED:
      if (pipe2(ends, O_CLOEXEC) != 0)
        return false;
      *in = ends[0];
      *feed = ends[1];
      return true;
    case FILE_: {
      char name[] = "/tmp/mailview-input-XXXXXX";
      *in = mkostemp(name, O_CLOEXEC);
      if (*in < 0)
        return false;
      p->tempFile = name;
      return WriteAll(*in, o.input) && lseek(*in, 0, SEEK_SET) == 0;
    }
    case DEV_NULL:
      *in = open("/dev/null", O_RDONLY | O_CLOEXEC);
      return *in >= 0;
    case DIRECTORY:
      *in = open("/tmp", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
      return *in >= 0;
    case CLOSED:
      return true;
    case PTY:
      return OpenTerminal(feed, in);
    case GIVEN_FD:
      *in = o.fd;  // not ours to open or close
      return true;
  }
  return false;
}

// The fd the child gets for an output stream that `o` sends to `where`;
// a pipe or /dev/null we open is added to *ours, a pipe's read end put in
// *captured. -1 when it could not be opened.
int OpenOutput(int where, std::vector<int>* ours, int* captured) {
  int ends[2];
  switch (where) {
    case CAPTURE:
      if (pipe2(ends, O_CLOEXEC) != 0)
        return -1;
      *captured = ends[0];
      ours->push_back(ends[1]);
      return ends[1];
    case DISCARD: {
      int null = open("/dev/null", O_WRONLY | O_CLOEXEC);
      if (null >= 0)
        ours->push_back(null);
      return null;
    }
    case INHERIT:
      return LEAVE;
  }
  return where;
}

// What is left to do once the program has been reaped, or was never started.
void Finish(Process* p) {
  if (p->writer.joinable())
    p->writer.join();
  if (p->terminal >= 0)
    close(p->terminal);
  if (p->exitFd >= 0)
    close(p->exitFd);
  if (!p->tempFile.empty())
    unlink(p->tempFile.c_str());
  p->terminal = p->exitFd = -1;
  p->tempFile.clear();
}

// Appends what comes next on the captured output to *text, waiting for it
// until `deadline` at most. False at the end of the output or the deadline.
bool ReadMore(Process* p, double deadline, std::string* text) {
  for (;;) {
    double left = deadline - Now();
    if (left <= 0 || p->out < 0)
      return false;
    struct pollfd ready = {p->out, POLLIN, 0};
    if (poll(&ready, 1, static_cast<int>(left * 1000) + 1) <= 0)
      continue;
    char buf[65536];
    ssize_t n = read(p->out, buf, sizeof buf);
    if (n < 0 && errno == EINTR)
      continue;
    if (n <= 0)
      return false;  // every writer is gone
    text->append(buf, n);
    return true;
  }
}

// Starts the thread that writes the program's input on `feed`, if it has one.
void StartWriter(Process* p, const Options& o, int feed) {
  std::string input = o.input;
  if (o.stdinKind == GENERATED) {
    p->writer = std::thread([feed, generate = o.generate] {
      generate(feed);
      close(feed);
    });
  } else if (o.stdinKind == PIPE) {
    p->writer = std::thread([p, feed, input] {
      p->written = Write(feed, input, &p->writeFailed);
      close(feed);
    });
  } else if (o.stdinKind == PTY) {
    // Typed on the terminal, which stays up until the program is reaped:
    // closing it would hang it up.
    p->terminal = feed;
    p->writer = std::thread([p, input] { p->written = Write(p->terminal, input, &p->writeFailed); });
  }
}

}  // namespace

Process::~Process() {
  Kill(this);
  if (out >= 0)
    close(out);
}

double Now() {
  struct timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  return t.tv_sec + t.tv_nsec / 1e9;
}

bool WaitUntil(double seconds, const std::function<bool()>& done) {
  double deadline = Now() + seconds;
  for (;;) {
    if (done())
      return true;
    if (Now() >= deadline)
      return false;
    Nap(0.01);
  }
}

bool OpenTerminal(int* master, int* slave) {
  *master = posix_openpt(O_RDWR | O_NOCTTY);
  if (*master < 0)
    return false;
  const char* name = NULL;
  *slave = -1;
  if (grantpt(*master) == 0 && unlockpt(*master) == 0 && (name = ptsname(*master)))
    *slave = open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
  struct termios t;
  bool quiet = *slave >= 0 && tcgetattr(*slave, &t) == 0;
  t.c_lflag &= ~ECHO;  // keep the master quiet; the keys still take effect
  if (!quiet || tcsetattr(*slave, TCSANOW, &t) != 0 ||
      fcntl(*master, F_SETFD, FD_CLOEXEC) != 0) {
    close(*master);
    if (*slave >= 0)
      close(*slave);
    return false;
  }
  return true;
}

bool WriteAll(int fd, const std::string& bytes) {
  bool failed = false;
  Write(fd, bytes, &failed);
  return !failed;
}

bool Start(Process* p, const std::vector<std::string>& argv, const Options& o) {
  // A writer learns that its reader is gone from its write's error.
  signal(SIGPIPE, SIG_IGN);
  std::vector<std::string> env = Environment(o.env);
  std::vector<char*> args, envp;
  for (const std::string& a : argv)
    args.push_back(const_cast<char*>(a.c_str()));
  for (const std::string& e : env)
    envp.push_back(const_cast<char*>(e.c_str()));
  args.push_back(nullptr);
  envp.push_back(nullptr);

  std::vector<int> ours;  // the child's ends, closed here once it has them
  int in, feed;
  bool opened = OpenStdin(p, o, &in, &feed);
  if (in >= 0 && o.stdinKind != GIVEN_FD)
    ours.push_back(in);
  int streams[3] = {in, OpenOutput(o.out, &ours, &p->out), LEAVE};
  if (o.err != CAPTURE)
    streams[2] = OpenOutput(o.err, &ours, &p->out);
  pid_t pid = opened && streams[1] != -1 && streams[2] != -1 ? fork() : -1;
  if (pid == 0)
    Exec(args.data(), envp.data(), streams, o.err == CAPTURE, o.stdinKind == PTY);
  for (int fd : ours)
    close(fd);
  if (pid < 0) {
    if (feed >= 0)
      close(feed);
    Finish(p);
    return false;
  }
  p->pid = pid;
  p->exitFd = ExitFd(pid);
  StartWriter(p, o, feed);
  return true;
}

int WaitForExit(Process* p, double seconds, Usage* usage) {
  if (p->pid <= 0)
    return -1;
  double deadline = Now() + seconds;
  int status = 0, result = -1;
  for (;;) {
    pid_t done = WaitForChild(p->pid, &status, WNOHANG, usage);
    if (done == p->pid) {
      result = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
      break;
    }
    if (done < 0 && errno != EINTR)
      break;  // not ours to wait for any more
    double left = deadline - Now();
    if (left <= 0) {
      kill(p->pid, SIGKILL);
      while (WaitForChild(p->pid, &status, 0, usage) < 0 && errno == EINTR) {
      }
      result = -2;
      break;
    }
    struct pollfd end = {p->exitFd, POLLIN, 0};
    if (p->exitFd < 0 || poll(&end, 1, static_cast<int>(left * 1000) + 1) < 0)
      Nap(left < 0.01 ? left : 0.01);
  }
  p->pid = -1;
  Finish(p);
  return result;
}

bool Ended(const Process& p) {
  if (p.pid <= 0)
    return true;
  struct pollfd end = {p.exitFd, POLLIN, 0};
  if (p.exitFd >= 0)
    return poll(&end, 1, 0) > 0;
  siginfo_t info = {};
  return waitid(P_PID, p.pid, &info, WEXITED | WNOHANG | WNOWAIT) == 0 &&
         info.si_pid == p.pid;
}

void Kill(Process* p) {
  if (p->pid > 0) {
    kill(p->pid, SIGKILL);
    WaitForExit(p, 60);
  }
  Finish(p);
}

bool ReadUntil(Process* p, const std::string& first, const std::string& then,
               double seconds, std::string* text) {
  double deadline = Now() + seconds;
  for (;;) {
    size_t at = text->find(first);
    if (at != std::string::npos && text->find(then, at + first.size()) != std::string::npos)
      return true;
    if (!ReadMore(p, deadline, text))
      return false;
  }
}

std::string ReadToEnd(Process* p, double seconds) {
  std::string text;
  double deadline = Now() + seconds;
  while (ReadMore(p, deadline, &text)) {
  }
  if (p->out >= 0)
    close(p->out);
  p->out = -1;
  return text;
}

Options Piped(const std::string& input, const std::vector<std::string>& env, int err) {
  Options o;
  o.input = input;
  o.env = env;
  o.err = err;
  return o;
}

Options Given(int fd) {
  Options o;
  o.stdinKind = GIVEN_FD;
  o.fd = fd;
  return o;
}

Result RunProgram(const std::vector<std::string>& argv, const Options& o, double seconds,
                  Usage* usage) {
  Process p;
  if (!Start(&p, argv, o))
    return {-1, "", 0, false};
  double deadline = Now() + seconds;
  std::string out = ReadToEnd(&p, seconds);
  int status = WaitForExit(&p, deadline - Now(), usage);
  return {status, out, p.written, p.writeFailed};
}
