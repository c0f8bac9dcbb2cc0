// Starting and watching programs on Windows: CreateProcess, with a pipe fed
// from a thread, a file or nothing on their standard input.
#include "harness-win32.h"

#include <algorithm>

namespace {

struct Feed {
  Process* process;
  HANDLE pipe;
  std::string bytes;
};

// Writes a PIPE's input and closes it, counting what went.
DWORD WINAPI WriteFeed(void* arg) {
  Feed* feed = static_cast<Feed*>(arg);
  Process* p = feed->process;
  while (p->written < feed->bytes.size()) {
    size_t left = feed->bytes.size() - p->written;
    DWORD chunk = static_cast<DWORD>(std::min<size_t>(left, 65536)), wrote = 0;
    if (!WriteFile(feed->pipe, feed->bytes.data() + p->written, chunk, &wrote, NULL)) {
      p->writeFailed = true;
      break;
    }
    p->written += wrote;
  }
  CloseHandle(feed->pipe);
  delete feed;
  return 0;
}

// A new temporary file holding `bytes`, read from its start by whoever
// inherits the handle, and deleted once the last handle to it is closed;
// INVALID_HANDLE_VALUE when it could not be made.
HANDLE TempFile(const std::string& bytes) {
  char dir[MAX_PATH], name[MAX_PATH];
  if (!GetTempPathA(sizeof dir, dir) || !GetTempFileNameA(dir, "mv", 0, name))
    return INVALID_HANDLE_VALUE;
  SECURITY_ATTRIBUTES inherited = {sizeof inherited, NULL, TRUE};
  HANDLE file = CreateFileA(name, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, &inherited,
                            CREATE_ALWAYS, FILE_FLAG_DELETE_ON_CLOSE, NULL);
  DWORD size = static_cast<DWORD>(bytes.size()), wrote = 0;
  if (file == INVALID_HANDLE_VALUE) {
    DeleteFileA(name);
  } else if (!WriteFile(file, bytes.data(), size, &wrote, NULL) || wrote != size ||
             SetFilePointer(file, 0, NULL, FILE_BEGIN) != 0) {
    CloseHandle(file);
    return INVALID_HANDLE_VALUE;
  }
  return file;
}

// What is left to do once the program has ended, or was never started.
void Finish(Process* p) {
  if (p->writer != NULL) {
    // With its reader gone, the writer's next write fails.
    WaitForSingleObject(p->writer, INFINITE);
    CloseHandle(p->writer);
  }
  if (p->handle != NULL)
    CloseHandle(p->handle);
  p->writer = p->handle = NULL;
}

}  // namespace

Process::~Process() {
  Kill(this);
}

double Now() {
  LARGE_INTEGER count, frequency;
  QueryPerformanceCounter(&count);
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(count.QuadPart) / frequency.QuadPart;
}

bool WaitUntil(double seconds, const std::function<bool()>& done) {
  for (double deadline = Now() + seconds; !done(); Sleep(10))
    if (Now() >= deadline)
      return false;
  return true;
}

std::string CommandLine(const std::vector<std::string>& argv) {
  std::string line;
  for (const std::string& arg : argv) {
    if (!line.empty())
      line += ' ';
    if (!arg.empty() && arg.find_first_of(" \t\n\v\"") == std::string::npos) {
      line += arg;
      continue;
    }
    // Backslashes are doubled only before a quote, theirs or the closing one.
    line += '"';
    size_t slashes = 0;
    for (char c : arg) {
      if (c == '\\') {
        slashes++;
        continue;
      }
      line.append(c == '"' ? 2 * slashes + 1 : slashes, '\\');
      line += c;
      slashes = 0;
    }
    line.append(2 * slashes, '\\');
    line += '"';
  }
  return line;
}

bool Start(Process* p, const std::vector<std::string>& argv, const Options& o) {
  return StartCommandLine(p, CommandLine(argv), o);
}

bool StartCommandLine(Process* p, const std::string& commandLine, const Options& o,
                      const char* desktop) {
  HANDLE in = NULL, feed = NULL;
  if (o.stdinKind == PIPE) {
    if (!CreatePipe(&in, &feed, NULL, PIPE_BUFFER))
      return false;
    SetHandleInformation(in, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
  } else if (o.stdinKind == FILE_) {
    in = TempFile(o.input);
    if (in == INVALID_HANDLE_VALUE)
      return false;
  } else if (o.stdinKind != CLOSED) {
    return false;  // a kind only POSIX has
  }
  std::string line = commandLine;  // CreateProcess may write to it
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdInput = in;
  si.lpDesktop = const_cast<char*>(desktop);
  PROCESS_INFORMATION pi = {};
  bool started = CreateProcessA(NULL, line.data(), NULL, NULL, in != NULL, 0, NULL, NULL,
                                &si, &pi);
  if (in != NULL)
    CloseHandle(in);
  if (!started) {
    if (feed != NULL)
      CloseHandle(feed);
    return false;
  }
  CloseHandle(pi.hThread);
  p->handle = pi.hProcess;
  p->pid = pi.dwProcessId;
  p->tid = pi.dwThreadId;
  Feed* f = feed != NULL ? new Feed{p, feed, o.input} : NULL;
  p->writer = f != NULL ? CreateThread(NULL, 0, WriteFeed, f, 0, NULL) : NULL;
  if (f != NULL && p->writer == NULL) {
    // No writer: the program meets the end of its input at once.
    p->writeFailed = true;
    CloseHandle(feed);
    delete f;
  }
  return true;
}

bool Watch(Process* p, DWORD pid) {
  p->handle = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION | PROCESS_TERMINATE, FALSE, pid);
  p->pid = p->handle != NULL ? pid : 0;
  return p->handle != NULL;
}

int WaitForExit(Process* p, double seconds, Usage*) {
  if (p->handle == NULL)
    return -1;
  double ms = std::min(std::max(0.0, seconds * 1000 + 1), 1e9);
  if (WaitForSingleObject(p->handle, static_cast<DWORD>(ms)) != WAIT_OBJECT_0) {
    Kill(p);
    return -2;
  }
  DWORD status = 0;
  GetExitCodeProcess(p->handle, &status);
  Finish(p);
  return status >= 0x80000000u ? -1 : static_cast<int>(status);
}

bool Ended(const Process& p) {
  return p.handle == NULL || WaitForSingleObject(p.handle, 0) == WAIT_OBJECT_0;
}

void Kill(Process* p) {
  if (p->handle != NULL) {
    TerminateProcess(p->handle, 1);
    WaitForSingleObject(p->handle, INFINITE);
  }
  Finish(p);
}

std::string MailviewExe() {
  char path[MAX_PATH] = "";
  GetEnvironmentVariableA("MAILVIEW_EXE", path, sizeof path);
  return path;
}

std::string MailviewCommand() {
  return CommandLine({MailviewExe(), "-t", "-i"});
}

namespace {

BOOL CALLBACK AddChild(HWND hwnd, LPARAM children) {
  reinterpret_cast<std::vector<HWND>*>(children)->push_back(hwnd);
  return TRUE;
}

// Makes `hwnd`'s top-level window the foreground one, trying for a minute.
bool BringToFront(HWND hwnd) {
  HWND top = GetAncestor(hwnd, GA_ROOT);
  return WaitUntil(60, [&] {
    if (GetForegroundWindow() == top)
      return true;
    SetForegroundWindow(top);
    return false;
  });
}

}  // namespace

HWND WaitForWindow(DWORD pid, const char* title, double seconds) {
  HWND found = NULL;
  WaitUntil(seconds, [&] {
    // FindWindowEx matches titles without regard to case.
    for (HWND w = FindWindowExA(NULL, NULL, NULL, title); w != NULL && found == NULL;
         w = FindWindowExA(NULL, w, NULL, title)) {
      DWORD owner = 0;
      GetWindowThreadProcessId(w, &owner);
      char text[256] = "";
      GetWindowTextA(w, text, sizeof text);
      bool theirs = pid != 0 ? owner == pid : owner != GetCurrentProcessId();
      if (theirs && IsWindowVisible(w) && lstrcmpA(text, title) == 0)
        found = w;
    }
    return found != NULL;
  });
  return found;
}

std::vector<HWND> Children(HWND hwnd) {
  std::vector<HWND> children;
  EnumChildWindows(hwnd, AddChild, reinterpret_cast<LPARAM>(&children));
  return children;
}

std::string WindowText(HWND hwnd) {
  const UINT MINUTE = 60000;
  DWORD_PTR length = 0, copied = 0;
  if (!SendMessageTimeoutA(hwnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, MINUTE, &length))
    return "<no answer>";
  std::vector<char> text(length + 1);
  SendMessageTimeoutA(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                      SMTO_ABORTIFHUNG, MINUTE, &copied);
  return std::string(text.data(), copied);
}

std::string ClassName(HWND hwnd) {
  char name[256] = "";
  GetClassNameA(hwnd, name, sizeof name);
  return name;
}

HWND FocusOf(DWORD tid) {
  GUITHREADINFO info = {};
  info.cbSize = sizeof info;
  return GetGUIThreadInfo(tid, &info) ? info.hwndFocus : NULL;
}

bool PressKey(HWND hwnd, WORD vk) {
  if (!BringToFront(hwnd))
    return false;
  INPUT input[2] = {};
  for (INPUT& in : input) {
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.wScan = static_cast<WORD>(MapVirtualKeyA(vk, MAPVK_VK_TO_VSC));
  }
  input[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, input, sizeof input[0]);
  return true;
}

bool Click(HWND hwnd) {
  if (!BringToFront(hwnd))
    return false;
  RECT r;
  GetClientRect(hwnd, &r);
  LPARAM centre = MAKELPARAM(r.right / 2, r.bottom / 2);
  PostMessageA(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, centre);
  PostMessageA(hwnd, WM_LBUTTONUP, 0, centre);
  return true;
}
