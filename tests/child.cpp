// Starting and watching child processes and private X servers.
#include "child.h"

#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/socket.h>
#include <sys/syscall.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

namespace {

// The calls a reader may wait for its input in. Newer architectures such as
// aarch64 have only ppoll and pselect6, not poll, select or epoll_wait.
const long WAITS[] = {
  SYS_read, SYS_ppoll, SYS_pselect6, SYS_epoll_pwait,
#ifdef SYS_poll
  SYS_poll,
#endif
#ifdef SYS_select
  SYS_select,
#endif
#ifdef SYS_epoll_wait
  SYS_epoll_wait,
#endif
};

void Nap() {
  struct timespec t = {0, 10 * 1000 * 1000};
  nanosleep(&t, NULL);
}

double Now() {
  struct timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  return t.tv_sec + t.tv_nsec / 1e9;
}

}  // namespace

Child StartChild(const std::vector<std::string>& argv, int in,
                 const std::vector<std::string>& env, bool errorsToo) {
  signal(SIGPIPE, SIG_IGN);
  int out[2];
  if (pipe2(out, O_CLOEXEC) != 0)
    abort();
  Child child;
  child.pid = fork();
  if (child.pid == 0) {
    dup2(out[1], 1);
    if (errorsToo)
      dup2(out[1], 2);
    if (in >= 0) {
      if (in != 0)
        dup2(in, 0);
      fcntl(0, F_SETFD, 0);
    } else {
      close(0);
    }
    for (const std::string& e : env) {
      if (e.find('=') == std::string::npos)
        unsetenv(e.c_str());
      else
        putenv(strdup(e.c_str()));
    }
    std::vector<char*> args;
    for (const std::string& a : argv)
      args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    signal(SIGPIPE, SIG_DFL);
    execvp(args[0], args.data());
    _exit(127);
  }
  close(out[1]);
  child.out = out[0];
  return child;
}

std::string ReadToEnd(int fd) {
  std::string text;
  char buf[65536];
  for (;;) {
    ssize_t n = read(fd, buf, sizeof buf);
    if (n < 0 && errno == EINTR)
      continue;
    if (n <= 0)
      break;
    text.append(buf, n);
  }
  close(fd);
  return text;
}

int WaitForExit(pid_t pid, int seconds) {
  double deadline = Now() + seconds;
  for (;;) {
    int status;
    pid_t done = waitpid(pid, &status, WNOHANG);
    if (done == pid)
      return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    if (done < 0)
      return -1;
    if (Now() > deadline) {
      kill(pid, SIGKILL);
      waitpid(pid, &status, 0);
      return -2;
    }
    Nap();
  }
}

bool WaitUntilWaitingForInput(pid_t pid, int seconds) {
  std::string path = "/proc/" + std::to_string(pid) + "/syscall";
  double deadline = Now() + seconds;
  while (Now() < deadline) {
    std::ifstream file(path);
    std::string first, fd;
    if (!(file >> first))
      return false;  // gone
    file >> fd;
    char* end;
    long number = strtol(first.c_str(), &end, 10);
    // A read counts only on standard input: the dynamic loader reads too.
    if (*end == '\0' && (number != SYS_read || fd == "0x0"))
      for (long wait : WAITS)
        if (number == wait)
          return true;
    Nap();
  }
  return false;
}

long BytesRead(pid_t pid) {
  std::ifstream file("/proc/" + std::to_string(pid) + "/io");
  std::string key;
  long value;
  while (file >> key >> value)
    if (key == "rchar:")
      return value;
  return -1;
}

bool WaitUntilRead(pid_t pid, long bytes, int seconds) {
  double deadline = Now() + seconds;
  for (long n = BytesRead(pid); n < bytes; n = BytesRead(pid)) {
    if (n < 0 || Now() > deadline)
      return false;
    Nap();
  }
  return true;
}

bool StartXServer(XServer* server) {
  int fds[2];
  if (pipe2(fds, O_CLOEXEC) != 0)
    return false;
  server->pid = fork();
  if (server->pid == 0) {
    fcntl(fds[1], F_SETFD, 0);
    int null = open("/dev/null", O_RDWR);
    dup2(null, 0);
    dup2(null, 1);
    dup2(null, 2);
    std::string fd = std::to_string(fds[1]);
    execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0",
           "1024x768x24", "-nolisten", "tcp", (char*)NULL);
    _exit(127);
  }
  close(fds[1]);
  // Xvfb writes the display number and a newline once it accepts
  // connections; it keeps its end open, so read only up to the newline.
  std::string number;
  char c;
  while (read(fds[0], &c, 1) == 1 && c != '\n')
    number += c;
  close(fds[0]);
  if (number.empty()) {
    KillXServer(server);
    return false;
  }
  server->display = ":" + number;
  return true;
}

bool WaitForWindow(const XServer& server, const std::string& name, int seconds) {
  Child c = StartChild({"timeout", std::to_string(seconds), "xdotool", "search",
                        "--sync", "--name", "^" + name + "$"},
                       -1, {"DISPLAY=" + server.display});
  ReadToEnd(c.out);
  return WaitForExit(c.pid, seconds + 30) == 0;
}

void KillXServer(XServer* server) {
  if (server->pid > 0) {
    kill(server->pid, SIGKILL);
    waitpid(server->pid, NULL, 0);
  }
  server->pid = -1;
}

namespace {

// True when a client can connect to the Unix socket at `path`.
bool Accepts(const std::string& path) {
  int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  struct sockaddr_un address = {};
  address.sun_family = AF_UNIX;
  snprintf(address.sun_path, sizeof address.sun_path, "%s", path.c_str());
  bool accepted = connect(fd, reinterpret_cast<struct sockaddr*>(&address), sizeof address) == 0;
  close(fd);
  return accepted;
}

}  // namespace

bool StartCompositor(Compositor* compositor) {
  char dir[] = "/tmp/mailview-wayland-XXXXXX";
  if (!mkdtemp(dir))
    return false;
  compositor->runtimeDir = dir;
  compositor->socket = "mailview-test";
  Child c = StartChild({"weston", "--backend=headless-backend.so", "--no-config",
                        "--socket=" + compositor->socket,
                        "--log=" + compositor->runtimeDir + "/weston.log"},
                       -1, {"XDG_RUNTIME_DIR=" + compositor->runtimeDir, "WAYLAND_DISPLAY",
                            "DISPLAY"});
  close(c.out);
  compositor->pid = c.pid;
  std::string path = compositor->runtimeDir + "/" + compositor->socket;
  double deadline = Now() + 60;
  while (Now() < deadline && waitpid(c.pid, NULL, WNOHANG) == 0) {
    if (Accepts(path))
      return true;
    Nap();
  }
  KillCompositor(compositor);
  return false;
}

void KillCompositor(Compositor* compositor) {
  if (compositor->pid > 0) {
    kill(compositor->pid, SIGKILL);
    waitpid(compositor->pid, NULL, 0);
  }
  compositor->pid = -1;
  if (!compositor->runtimeDir.empty()) {
    std::string command = "rm -rf '" + compositor->runtimeDir + "'";
    if (system(command.c_str()) != 0)
      fprintf(stderr, "could not remove %s\n", compositor->runtimeDir.c_str());
    compositor->runtimeDir.clear();
  }
}

bool ReadUntil(int fd, const std::string& first, const std::string& then,
               int seconds, std::string* text) {
  double deadline = Now() + seconds;
  for (;;) {
    size_t at = text->find(first);
    if (at != std::string::npos && text->find(then, at + first.size()) != std::string::npos)
      return true;
    double left = deadline - Now();
    if (left <= 0)
      return false;
    struct pollfd p = {fd, POLLIN, 0};
    if (poll(&p, 1, static_cast<int>(left * 1000) + 1) <= 0)
      continue;
    char buf[65536];
    ssize_t n = read(fd, buf, sizeof buf);
    if (n < 0 && errno == EINTR)
      continue;
    if (n <= 0)
      return false;  // the writer is gone
    text->append(buf, n);
  }
}
