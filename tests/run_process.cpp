// Runs a program with a real pipe, file, device, directory or terminal on its
// standard input.
#include "run_process.h"

#include <errno.h>
#include <fcntl.h>
#include <pty.h>
#include <signal.h>
#include <stdlib.h>
#include <string.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <thread>

namespace {

// Writes all of `input` to `fd`, as a mailing script would, then closes it.
void Feed(int fd, const std::string& input, RunResult* result) {
  size_t done = 0;
  while (done < input.size()) {
    ssize_t n = write(fd, input.data() + done, input.size() - done);
    if (n < 0 && errno == EINTR)
      continue;
    if (n < 0) {
      result->writeFailed = true;
      break;
    }
    done += n;
  }
  result->written = done;
  result->pipeSize = fcntl(fd, F_GETPIPE_SZ);
  close(fd);
}

// Opens the child's standard input; returns the fd the child gets (or -1
// for none) and sets *writeEnd to the end the test feeds, or -1.
int OpenStdin(const RunOptions& o, int* writeEnd, std::string* tempFile) {
  *writeEnd = -1;
  switch (o.kind) {
    case PIPE: {
      int p[2];
      if (pipe2(p, O_CLOEXEC) != 0) abort();
      if (o.pipeSize && fcntl(p[1], F_SETPIPE_SZ, o.pipeSize) < 0) abort();
      *writeEnd = p[1];
      return p[0];
    }
    case FILE_: {
      char name[] = "/tmp/mailview-input-XXXXXX";
      int fd = mkstemp(name);
      if (fd < 0 || write(fd, o.input.data(), o.input.size()) != (ssize_t)o.input.size())
        abort();
      lseek(fd, 0, SEEK_SET);
      *tempFile = name;
      return fd;
    }
    case DEV_NULL: return open("/dev/null", O_RDONLY | O_CLOEXEC);
    case DIRECTORY: return open("/tmp", O_RDONLY | O_CLOEXEC);
    case CLOSED: return -1;
    case PTY: {
      int master, slave;
      if (openpty(&master, &slave, NULL, NULL, NULL) != 0) abort();
      struct termios t;
      tcgetattr(slave, &t);
      t.c_lflag &= ~ECHO;  // keep the master quiet; the keys still take effect
      tcsetattr(slave, TCSANOW, &t);
      fcntl(master, F_SETFD, FD_CLOEXEC);
      *writeEnd = master;
      return slave;
    }
  }
  return -1;
}

}  // namespace

RunResult RunProcess(const std::string& exe, const RunOptions& o) {
  signal(SIGPIPE, SIG_IGN);
  RunResult result;
  int writeEnd;
  std::string tempFile;
  int in = OpenStdin(o, &writeEnd, &tempFile);
  int out[2];
  if (pipe2(out, O_CLOEXEC) != 0) abort();

  pid_t pid = fork();
  if (pid == 0) {
    if (o.kind == PTY) {
      setsid();
      ioctl(in, TIOCSCTTY, 0);
    }
    dup2(out[1], 1);
    if (in >= 0) dup2(in, 0); else close(0);
    for (const std::string& e : o.env) putenv(strdup(e.c_str()));
    for (const std::string& n : o.unset) unsetenv(n.c_str());
    std::vector<char*> argv{const_cast<char*>(exe.c_str())};
    for (const std::string& a : o.args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execv(exe.c_str(), argv.data());
    _exit(127);
  }
  close(out[1]);
  if (in >= 0 && o.kind != PTY) close(in);

  std::thread feeder;
  if (o.kind == PIPE) {
    feeder = std::thread(Feed, writeEnd, o.input, &result);
  } else if (o.kind == PTY) {
    // Keys are typed one line at a time; the master stays open until the
    // child is gone, or the child would see the terminal hang up.
    feeder = std::thread([&] {
      size_t done = 0;
      while (done < o.input.size()) {
        ssize_t n = write(writeEnd, o.input.data() + done, o.input.size() - done);
        if (n <= 0) break;
        done += n;
      }
      result.written = done;
    });
  }

  char buf[65536];
  for (;;) {
    ssize_t n = read(out[0], buf, sizeof buf);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    result.out.append(buf, n);
  }
  close(out[0]);
  int status;
  waitpid(pid, &status, 0);
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  if (feeder.joinable()) feeder.join();
  if (o.kind == PTY) {
    close(writeEnd);
    close(in);
  }
  if (!tempFile.empty()) {
    close(in);
    unlink(tempFile.c_str());
  }
  return result;
}

bool RecordedText(const std::string& out, int item, std::string* text) {
  std::string key = "SetDlgItemTextA item=" + std::to_string(item) + " text=";
  size_t at = out.find(key);
  if (at == std::string::npos)
    return false;
  at += key.size();
  size_t colon = out.find(':', at);
  size_t length = std::stoul(out.substr(at, colon - at));
  *text = out.substr(colon + 1, length);
  return true;
}
