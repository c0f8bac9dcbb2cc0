#include "child.h"

#include <string.h>

#include <algorithm>
#include <vector>

std::string MailviewExe() {
  char path[MAX_PATH] = "";
  GetEnvironmentVariableA("MAILVIEW_EXE", path, sizeof path);
  return path;
}

Child::~Child() {
  if (pi.hProcess != NULL) {
    if (WaitForSingleObject(pi.hProcess, 0) == WAIT_TIMEOUT) {
      TerminateProcess(pi.hProcess, 99);
      WaitForSingleObject(pi.hProcess, WAIT_MS);
    }
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
  }
  if (writer != NULL) {
    // With the reader gone the writer's next write fails, so this is short.
    WaitForSingleObject(writer, WAIT_MS);
    CloseHandle(writer);
  }
}

long Child::WaitExit(DWORD ms) {
  if (WaitForSingleObject(pi.hProcess, ms) != WAIT_OBJECT_0)
    return -1;
  DWORD status = 0;
  GetExitCodeProcess(pi.hProcess, &status);
  return static_cast<long>(status);
}

bool Child::InputWritten() {
  DWORD ok = 0;
  return writer != NULL &&
         WaitForSingleObject(writer, WAIT_MS) == WAIT_OBJECT_0 &&
         GetExitCodeThread(writer, &ok) && ok == 1;
}

namespace {

struct PipeFeed {
  HANDLE pipe;
  std::string bytes;
};

// Writes the whole feed and closes the pipe; exits 1 if every byte went.
DWORD WINAPI FeedPipe(void* arg) {
  PipeFeed* feed = static_cast<PipeFeed*>(arg);
  size_t done = 0;
  while (done < feed->bytes.size()) {
    DWORD chunk = static_cast<DWORD>(
        std::min<size_t>(feed->bytes.size() - done, 65536));
    DWORD wrote = 0;
    if (!WriteFile(feed->pipe, feed->bytes.data() + done, chunk, &wrote,
                   NULL))
      break;
    done += wrote;
  }
  DWORD ok = done == feed->bytes.size() ? 1 : 0;
  CloseHandle(feed->pipe);
  delete feed;
  return ok;
}

// Starts the process with the given standard input (inherited) or none, on
// the given desktop or this process's.
void Start(Child* child, const std::string& command_line, HANDLE input,
           const char* desktop = NULL) {
  std::vector<char> line(command_line.begin(), command_line.end());
  line.push_back('\0');
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdInput = input;
  si.lpDesktop = const_cast<char*>(desktop);
  CreateProcessA(NULL, line.data(), NULL, NULL, input != NULL, 0, NULL, NULL,
                 &si, &child->pi);
}

SECURITY_ATTRIBUTES Inheritable() {
  SECURITY_ATTRIBUTES sa = {};
  sa.nLength = sizeof sa;
  sa.bInheritHandle = TRUE;
  return sa;
}

}  // namespace

void StartWithPipe(Child* child, const std::string& command_line,
                   const std::string& input, DWORD pipe_size,
                   const char* desktop) {
  SECURITY_ATTRIBUTES sa = Inheritable();
  HANDLE read_end = NULL;
  HANDLE write_end = NULL;
  if (!CreatePipe(&read_end, &write_end, &sa, pipe_size))
    return;
  SetHandleInformation(write_end, HANDLE_FLAG_INHERIT, 0);
  Start(child, command_line, read_end, desktop);
  CloseHandle(read_end);
  if (!child->started()) {
    CloseHandle(write_end);
    return;
  }
  child->writer =
      CreateThread(NULL, 0, FeedPipe, new PipeFeed{write_end, input}, 0, NULL);
}

void StartWithFile(Child* child, const std::string& command_line,
                   const std::string& path) {
  SECURITY_ATTRIBUTES sa = Inheritable();
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, &sa,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
  if (file == INVALID_HANDLE_VALUE)
    return;
  Start(child, command_line, file);
  CloseHandle(file);
}

void StartWithoutStdin(Child* child, const std::string& command_line) {
  Start(child, command_line, NULL);
}

std::string WriteTempFile(const std::string& name, const std::string& bytes) {
  char dir[MAX_PATH] = "";
  GetTempPathA(sizeof dir, dir);
  std::string path = std::string(dir) + name;
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, NULL,
                            CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
  DWORD wrote = 0;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &wrote,
            NULL);
  CloseHandle(file);
  return path;
}

namespace {

struct WindowSearch {
  DWORD pid;
  const char* title;
  HWND found;
  int count;
};

BOOL CALLBACK MatchWindow(HWND hwnd, LPARAM arg) {
  WindowSearch* search = reinterpret_cast<WindowSearch*>(arg);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  bool ours = search->pid != 0 ? pid == search->pid
                               : pid != GetCurrentProcessId();
  char title[256] = "";
  GetWindowTextA(hwnd, title, sizeof title);
  if (ours && IsWindowVisible(hwnd) && strcmp(title, search->title) == 0) {
    search->found = hwnd;
    search->count++;
  }
  return TRUE;
}

}  // namespace

int CountWindows(DWORD pid, const char* title) {
  WindowSearch search = {pid, title, NULL, 0};
  EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
  return search.count;
}

HWND WaitForWindow(DWORD pid, const char* title) {
  WindowSearch search = {pid, title, NULL, 0};
  WaitFor([&] {
    EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
    return search.found != NULL;
  });
  return search.found;
}

std::string WindowText(HWND hwnd) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutA(hwnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG,
                           WAIT_MS, &length))
    return "<no answer>";
  std::vector<char> text(length + 1);
  DWORD_PTR copied = 0;
  SendMessageTimeoutA(hwnd, WM_GETTEXT, text.size(),
                      reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG,
                      WAIT_MS, &copied);
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

bool BringToFront(HWND hwnd) {
  return WaitFor([&] {
    if (GetForegroundWindow() == hwnd)
      return true;
    SetForegroundWindow(hwnd);
    return false;
  });
}

void PressKey(WORD vk) {
  INPUT input[2] = {};
  for (INPUT& in : input) {
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.wScan = static_cast<WORD>(MapVirtualKeyA(vk, MAPVK_VK_TO_VSC));
  }
  input[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, input, sizeof input[0]);
}

void Click(HWND hwnd) {
  RECT r;
  GetClientRect(hwnd, &r);
  LPARAM centre = MAKELPARAM(r.right / 2, r.bottom / 2);
  PostMessageA(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, centre);
  PostMessageA(hwnd, WM_LBUTTONUP, 0, centre);
}
