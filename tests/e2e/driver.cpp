// Drives Vorlane as a user would, from inside the same Wine prefix: presses
// keys, posts messages, finds windows and reads their texts, clicks buttons.
// Every command prints plain lines that the end-to-end tests parse; texts
// come and go in UTF-8.
#include <windows.h>

#include <shellapi.h>
#include <winspool.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "tests/e2e/mouse_input.h"

namespace {

std::wstring Wide(const std::string& utf8) {
  std::wstring wide(utf8.size(), L'\0');
  wide.resize(static_cast<size_t>(MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()),
                                                      wide.data(), static_cast<int>(wide.size()))));
  return wide;
}

std::string Utf8(const wchar_t* wide) {
  const int length = WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
  std::string text(static_cast<size_t>(length > 0 ? length : 1), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide, -1, text.data(), length, nullptr, nullptr);
  text.resize(text.size() - 1);
  return text;
}

// A window named by its class that is not there is said on stderr, so that
// the tests can tell "nothing was done" from a command that failed.
HWND ParseWindow(const char* text) {
  if (std::strncmp(text, "class:", 6) == 0) {
    HWND window = FindWindowW(Wide(text + 6).c_str(), nullptr);
    if (!window) std::fprintf(stderr, "no window of %s\n", text);
    return window;
  }
  return reinterpret_cast<HWND>(static_cast<uintptr_t>(std::strtoull(text, nullptr, 0)));
}

long long Number(const char* text) { return std::strtoll(text, nullptr, 0); }

// Asked with WM_GETTEXT: GetWindowText would give only the stored caption of
// another program's window, not what its edit or list shows.
std::string Text(HWND window) {
  wchar_t buffer[4096] = L"";
  DWORD_PTR copied = 0;
  SendMessageTimeoutW(window, WM_GETTEXT, std::size(buffer), reinterpret_cast<LPARAM>(buffer), SMTO_ABORTIFHUNG, 5000,
                      &copied);
  return Utf8(buffer);
}

std::string ClassOf(HWND window) {
  wchar_t buffer[256] = L"";
  GetClassNameW(window, buffer, static_cast<int>(std::size(buffer)));
  return Utf8(buffer);
}

// A window's text on one line: a line break (a message box's text has
// several) as \n, and so a backslash as \\.
std::string OneLine(const std::string& text) {
  std::string line;
  for (char c : text) {
    if (c == '\\') {
      line += "\\\\";
    } else if (c == '\n') {
      line += "\\n";
    } else if (c != '\r') {
      line += c;
    }
  }
  return line;
}

void PrintWindow(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  std::printf("%#llx\t%d\t%s\t%d\t%d\t%ld\t%ld\t%ld\t%ld\t%s\n",
              static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(window)), GetDlgCtrlID(window),
              ClassOf(window).c_str(), IsWindowVisible(window) ? 1 : 0, IsWindowEnabled(window) ? 1 : 0, rect.left,
              rect.top, rect.right, rect.bottom, OneLine(Text(window)).c_str());
}

BOOL CALLBACK PrintMonitor(HMONITOR monitor, HDC, RECT*, LPARAM) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  GetMonitorInfoW(monitor, &info);
  std::printf("%ld\t%ld\t%ld\t%ld\t%d\n", info.rcMonitor.left, info.rcMonitor.top, info.rcMonitor.right,
              info.rcMonitor.bottom, (info.dwFlags & MONITORINFOF_PRIMARY) ? 1 : 0);
  return TRUE;
}

// Makes the printer's default device settings ask for dpi dots per inch:
// programs started afterwards see a device of that resolution.
bool SetResolution(const std::string& printer, short dpi) {
  std::wstring name = Wide(printer);
  PRINTER_DEFAULTSW access{nullptr, nullptr, PRINTER_ALL_ACCESS};
  HANDLE opened = nullptr;
  if (!OpenPrinterW(name.data(), &opened, &access)) return false;
  DWORD size = 0;
  GetPrinterW(opened, 2, nullptr, 0, &size);
  std::vector<BYTE> buffer(size);
  auto* info = reinterpret_cast<PRINTER_INFO_2W*>(buffer.data());
  bool set = size > 0 && GetPrinterW(opened, 2, buffer.data(), size, &size) && info->pDevMode;
  if (set) {
    info->pDevMode->dmPrintQuality = dpi;
    info->pDevMode->dmYResolution = dpi;
    info->pDevMode->dmFields |= DM_PRINTQUALITY | DM_YRESOLUTION;
    // Left as it is: changing who may use the printer is not asked for.
    info->pSecurityDescriptor = nullptr;
    set = SetPrinterW(opened, 2, buffer.data(), 0);
  }
  ClosePrinter(opened);
  return set;
}

// Lines: handle, id, class, visible, enabled, left, top, right, bottom, text
// (on one line).
BOOL CALLBACK PrintEach(HWND window, LPARAM) {
  PrintWindow(window);
  return TRUE;
}

void AppendChord(std::vector<INPUT>& inputs, const std::vector<WORD>& keys) {
  for (WORD key : keys) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    inputs.push_back(input);
  }
  for (auto key = keys.rbegin(); key != keys.rend(); ++key) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = *key;
    input.ki.dwFlags = KEYEVENTF_KEYUP;
    inputs.push_back(input);
  }
}

// Sends the events; fails unless the pointer comes to rest where the last one
// put it. It may pass through earlier places again first: the display tells
// the program under the pointer of each move late, and that program passes
// them on as moves of its own.
bool SendMouse(const std::vector<INPUT>& inputs, POINT end) {
  if (SendInput(static_cast<UINT>(inputs.size()), const_cast<INPUT*>(inputs.data()), sizeof(INPUT)) != inputs.size()) {
    return false;
  }
  constexpr DWORD kRestLimitMs = 10000, kLookEveryMs = 20;
  const DWORD start = GetTickCount();
  for (POINT now{}; GetCursorPos(&now); Sleep(kLookEveryMs)) {
    if (now.x == end.x && now.y == end.y) return true;
    if (GetTickCount() - start > kRestLimitMs) return false;
  }
  return false;
}

// A drag with the left button, through points on the way so that it moves as a hand would.
bool Drag(POINT from, POINT to) {
  constexpr int kSteps = 4;
  std::vector<INPUT> inputs{MouseAt(from.x, from.y, 0), MouseAt(from.x, from.y, MOUSEEVENTF_LEFTDOWN)};
  for (int step = 1; step <= kSteps; ++step) {
    inputs.push_back(MouseAt(from.x + (to.x - from.x) * step / kSteps, from.y + (to.y - from.y) * step / kSteps, 0));
  }
  inputs.push_back(MouseAt(to.x, to.y, MOUSEEVENTF_LEFTUP));
  return SendMouse(inputs, to);
}

// Presses the keys together and releases them in reverse, `times` times in a row.
void Press(const std::vector<WORD>& keys, int times) {
  std::vector<INPUT> inputs;
  for (int time = 0; time < times; ++time) AppendChord(inputs, keys);
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

// The suggested rectangle must lie in the window's own process, as the
// system's would: it is written there for the one message.
bool SendDpiChanged(HWND window, WORD dpi, const RECT& suggested) {
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  const HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, processId);
  if (!process) return false;
  void* remote = VirtualAllocEx(process, nullptr, sizeof suggested, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  const bool sent = remote && WriteProcessMemory(process, remote, &suggested, sizeof suggested, nullptr) &&
                    SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(remote)) == 0;
  if (remote) VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  CloseHandle(process);
  return sent;
}

constexpr DWORD kFocusWait = 30000;
constexpr DWORD kFocusPoll = 20;

// The control with the focus in the window's thread.
HWND FocusOf(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) return nullptr;
  return info.hwndFocus;
}

int Usage() {
  std::fputs(
      "usage: driver COMMAND ...\n"
      "  windows                       top-level windows\n"
      "  children WINDOW               child windows\n"
      "  find CLASS [TITLE]            top-level windows of a class\n"
      "  keys VK [VK ...]              press the keys together, release in reverse\n"
      "  presses N VK [VK ...]         the same, N times in a row\n"
      "  post WINDOW MSG WPARAM LPARAM\n"
      "  send WINDOW MSG WPARAM LPARAM prints the result\n"
      "  command WINDOW ID [ID ...]    posts WM_COMMAND for each ID\n"
      "  holdkey MODIFIERS VK          registers a hot key and keeps it\n"
      "  keyheld MODIFIERS VK          prints whether another program holds it\n"
      "  postnamed WINDOW NAME         posts a message registered by NAME\n"
      "  deleteicon WINDOW             removes the window's tray icon 0\n"
      "  click WINDOW ID               posts BM_CLICK to the child control ID\n"
      "  settext WINDOW TEXT           sets a control's text\n"
      "  select LIST TEXT              selects the list entry with that text\n"
      "  foreground [WINDOW]           prints or sets the foreground window\n"
      "  focus WINDOW                  prints the control with the focus in the window's thread\n"
      "  stepfocus WINDOW N VK [VK ...] N times: presses the keys, waits for the focus to move, prints it\n"
      "  regread KEY NAME              prints a text value of HKEY_CURRENT_USER\\KEY\n"
      "  longpath PATH                 prints the long form of a path\n"
      "  dpichanged WINDOW DPI L T R B sends WM_DPICHANGED with that suggested rectangle\n"
      "  mouse X Y                     moves the mouse there as the hardware would, and waits for it to rest\n"
      "  mouseclick X Y [right]        clicks the left (or right) button there\n"
      "  drag X1 Y1 X2 Y2              drags with the left button from one place to the other\n"
      "  monitors                      lines: left, top, right, bottom, 1 for the primary\n"
      "  resolution PRINTER DPI        sets the printer's default resolution\n"
      "WINDOW is a handle or class:NAME.\n",
      stderr);
  return 2;
}

int Run(int argc, char** argv) {
  if (argc < 2) return Usage();
  const std::string command = argv[1];
  if (command == "windows") {
    EnumWindows(PrintEach, 0);
  } else if (command == "children" && argc == 3) {
    EnumChildWindows(ParseWindow(argv[2]), PrintEach, 0);
  } else if (command == "find" && argc >= 3) {
    const std::wstring windowClass = Wide(argv[2]);
    const std::wstring title = argc > 3 ? Wide(argv[3]) : std::wstring();
    const wchar_t* titleOrAny = argc > 3 ? title.c_str() : nullptr;
    for (HWND window = FindWindowExW(nullptr, nullptr, windowClass.c_str(), titleOrAny); window;
         window = FindWindowExW(nullptr, window, windowClass.c_str(), titleOrAny)) {
      PrintWindow(window);
    }
  } else if (command == "keys" && argc >= 3) {
    std::vector<WORD> keys;
    for (int i = 2; i < argc; ++i) keys.push_back(static_cast<WORD>(Number(argv[i])));
    Press(keys, 1);
  } else if (command == "presses" && argc >= 4) {
    std::vector<WORD> keys;
    for (int i = 3; i < argc; ++i) keys.push_back(static_cast<WORD>(Number(argv[i])));
    Press(keys, static_cast<int>(Number(argv[2])));
  } else if ((command == "post" || command == "send") && argc == 6) {
    HWND window = ParseWindow(argv[2]);
    const UINT message = static_cast<UINT>(Number(argv[3]));
    const WPARAM wParam = static_cast<WPARAM>(Number(argv[4]));
    const LPARAM lParam = static_cast<LPARAM>(Number(argv[5]));
    if (command == "post") {
      if (!PostMessageW(window, message, wParam, lParam)) return 1;
    } else {
      DWORD_PTR result = 0;
      if (!SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, 10000, &result)) return 1;
      std::printf("%lld\n", static_cast<long long>(result));
    }
  } else if (command == "command" && argc >= 4) {
    // Several commands are posted back to back, so they wait in the queue together.
    HWND window = ParseWindow(argv[2]);
    for (int i = 3; i < argc; ++i) {
      if (!PostMessageW(window, WM_COMMAND, static_cast<WPARAM>(Number(argv[i])), 0)) return 1;
    }
  } else if (command == "holdkey" && argc == 4) {
    // Holds a hot key for another program until this process is ended.
    if (!RegisterHotKey(nullptr, 1, static_cast<UINT>(Number(argv[2])), static_cast<UINT>(Number(argv[3])))) return 1;
    std::puts("held");
    std::fflush(stdout);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    }
  } else if (command == "click" && argc == 4) {
    HWND control = GetDlgItem(ParseWindow(argv[2]), static_cast<int>(Number(argv[3])));
    if (!control || !PostMessageW(control, BM_CLICK, 0, 0)) return 1;
  } else if (command == "settext" && argc == 4) {
    // As if typed: the control's owner hears of the change.
    HWND control = ParseWindow(argv[2]);
    DWORD_PTR result = 0;
    const std::wstring text = Wide(argv[3]);
    SendMessageTimeoutW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_ABORTIFHUNG, 10000,
                        &result);
  } else if (command == "select" && argc == 4) {
    // Picks a list entry by its text and tells the owner, as a click would.
    HWND list = ParseWindow(argv[2]);
    DWORD_PTR index = 0;
    const std::wstring text = Wide(argv[3]);
    SendMessageTimeoutW(list, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text.c_str()),
                        SMTO_ABORTIFHUNG, 10000, &index);
    if (static_cast<LRESULT>(index) == CB_ERR) return 1;
    DWORD_PTR result = 0;
    SendMessageTimeoutW(list, CB_SETCURSEL, index, 0, SMTO_ABORTIFHUNG, 10000, &result);
    SendMessageTimeoutW(GetParent(list), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(list), CBN_SELCHANGE),
                        reinterpret_cast<LPARAM>(list), SMTO_ABORTIFHUNG, 10000, &result);
  } else if (command == "postnamed" && argc == 4) {
    // A message registered by name, as the shell sends "TaskbarCreated".
    if (!PostMessageW(ParseWindow(argv[2]), RegisterWindowMessageW(Wide(argv[3]).c_str()), 0, 0)) return 1;
  } else if (command == "deleteicon" && argc == 3) {
    // Takes a window's tray icon away, as a crashing shell would.
    NOTIFYICONDATAW record{};
    record.cbSize = NOTIFYICONDATAW_V2_SIZE;
    record.hWnd = ParseWindow(argv[2]);
    if (!Shell_NotifyIconW(NIM_DELETE, &record)) return 1;
  } else if (command == "keyheld" && argc == 4) {
    // Whether some program holds the hot key: registering it must then fail.
    const bool free =
        RegisterHotKey(nullptr, 1, static_cast<UINT>(Number(argv[2])), static_cast<UINT>(Number(argv[3])));
    if (free) UnregisterHotKey(nullptr, 1);
    std::puts(free ? "free" : "held");
  } else if (command == "regread" && argc == 4) {
    // Read here rather than with reg.exe, whose output goes through the console's code page.
    wchar_t value[4096] = L"";
    DWORD size = sizeof value - sizeof(wchar_t);
    if (RegGetValueW(HKEY_CURRENT_USER, Wide(argv[2]).c_str(), Wide(argv[3]).c_str(), RRF_RT_REG_SZ, nullptr, value,
                     &size) != ERROR_SUCCESS) {
      return 1;
    }
    std::puts(Utf8(value).c_str());
  } else if (command == "longpath" && argc == 3) {
    wchar_t path[32768] = L"";
    if (!GetLongPathNameW(Wide(argv[2]).c_str(), path, static_cast<DWORD>(std::size(path)))) return 1;
    std::puts(Utf8(path).c_str());
  } else if (command == "dpichanged" && argc == 8) {
    if (!SendDpiChanged(ParseWindow(argv[2]), static_cast<WORD>(Number(argv[3])),
                        RECT{static_cast<LONG>(Number(argv[4])), static_cast<LONG>(Number(argv[5])),
                             static_cast<LONG>(Number(argv[6])), static_cast<LONG>(Number(argv[7]))})) {
      return 1;
    }
  } else if (command == "mouse" && argc == 4) {
    const POINT at{static_cast<LONG>(Number(argv[2])), static_cast<LONG>(Number(argv[3]))};
    if (!SendMouse({MouseAt(at.x, at.y, 0)}, at)) return 1;
  } else if (command == "mouseclick" && (argc == 4 || (argc == 5 && std::strcmp(argv[4], "right") == 0))) {
    const POINT at{static_cast<LONG>(Number(argv[2])), static_cast<LONG>(Number(argv[3]))};
    const bool right = argc == 5;
    if (!SendMouse({MouseAt(at.x, at.y, 0), MouseAt(at.x, at.y, right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN),
                    MouseAt(at.x, at.y, right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP)},
                   at)) {
      return 1;
    }
  } else if (command == "drag" && argc == 6) {
    if (!Drag({static_cast<LONG>(Number(argv[2])), static_cast<LONG>(Number(argv[3]))},
              {static_cast<LONG>(Number(argv[4])), static_cast<LONG>(Number(argv[5]))})) {
      return 1;
    }
  } else if (command == "monitors" && argc == 2) {
    EnumDisplayMonitors(nullptr, nullptr, PrintMonitor, 0);
  } else if (command == "resolution" && argc == 4) {
    if (!SetResolution(argv[2], static_cast<short>(Number(argv[3])))) return 1;
  } else if (command == "foreground" && argc == 2) {
    HWND window = GetForegroundWindow();
    if (window) PrintWindow(window);
  } else if (command == "foreground" && argc == 3) {
    if (!SetForegroundWindow(ParseWindow(argv[2]))) return 1;
  } else if (command == "focus" && argc == 3) {
    if (HWND focus = FocusOf(ParseWindow(argv[2]))) PrintWindow(focus);
  } else if (command == "stepfocus" && argc >= 5) {
    // Presses the keys, waits until the focus has moved and prints where it
    // went, N times: one process for a whole walk through a window.
    HWND window = ParseWindow(argv[2]);
    std::vector<WORD> keys;
    for (int i = 4; i < argc; ++i) keys.push_back(static_cast<WORD>(Number(argv[i])));
    for (long long step = Number(argv[3]); step > 0; --step) {
      HWND before = FocusOf(window);
      Press(keys, 1);
      HWND after = before;
      for (DWORD waited = 0; after == before && waited < kFocusWait; waited += kFocusPoll) {
        Sleep(kFocusPoll);
        after = FocusOf(window);
      }
      if (after == before) return 1;
      PrintWindow(after);
    }
  } else {
    return Usage();
  }
  std::fflush(stdout);
  return 0;
}

}  // namespace

// The arguments as the system has them, in UTF-8 whatever the code page.
// Places are physical pixels at every DPI, as they are to Vorlane.
int main() {
  SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
  int count = 0;
  LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::string> arguments;
  for (int i = 0; i < count; ++i) arguments.push_back(Utf8(wide[i]));
  LocalFree(wide);
  std::vector<char*> argv;
  for (std::string& argument : arguments) argv.push_back(argument.data());
  return Run(count, argv.data());
}
