// Drives Vorlane as a user would, from inside the same Wine prefix: presses
// keys, posts messages, finds windows and reads their texts, clicks buttons.
// Every command prints plain lines that the end-to-end tests parse.
#include <windows.h>

#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

HWND ParseWindow(const char* text) {
  if (std::strncmp(text, "class:", 6) == 0) return FindWindowA(text + 6, nullptr);
  return reinterpret_cast<HWND>(static_cast<uintptr_t>(std::strtoull(text, nullptr, 0)));
}

long long Number(const char* text) { return std::strtoll(text, nullptr, 0); }

// Asked with WM_GETTEXT: GetWindowText would give only the stored caption of
// another program's window, not what its edit or list shows.
std::string Text(HWND window) {
  char buffer[4096] = "";
  DWORD_PTR copied = 0;
  SendMessageTimeoutA(window, WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer), SMTO_ABORTIFHUNG, 5000,
                      &copied);
  return buffer;
}

std::string ClassOf(HWND window) {
  char buffer[256] = "";
  GetClassNameA(window, buffer, sizeof buffer);
  return buffer;
}

void PrintWindow(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  std::printf("%#llx\t%d\t%s\t%d\t%d\t%ld\t%ld\t%ld\t%ld\t%s\n",
              static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(window)), GetDlgCtrlID(window),
              ClassOf(window).c_str(), IsWindowVisible(window) ? 1 : 0, IsWindowEnabled(window) ? 1 : 0, rect.left,
              rect.top, rect.right, rect.bottom, Text(window).c_str());
}

// Lines: handle, id, class, visible, enabled, left, top, right, bottom, text.
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

// Presses the keys together and releases them in reverse, `times` times in a row.
void Press(const std::vector<WORD>& keys, int times) {
  std::vector<INPUT> inputs;
  for (int time = 0; time < times; ++time) AppendChord(inputs, keys);
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
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
      "WINDOW is a handle or class:NAME.\n",
      stderr);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Usage();
  const std::string command = argv[1];
  if (command == "windows") {
    EnumWindows(PrintEach, 0);
  } else if (command == "children" && argc == 3) {
    EnumChildWindows(ParseWindow(argv[2]), PrintEach, 0);
  } else if (command == "find" && argc >= 3) {
    for (HWND window = FindWindowExA(nullptr, nullptr, argv[2], argc > 3 ? argv[3] : nullptr); window;
         window = FindWindowExA(nullptr, window, argv[2], argc > 3 ? argv[3] : nullptr)) {
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
      if (!PostMessageA(window, message, wParam, lParam)) return 1;
    } else {
      DWORD_PTR result = 0;
      if (!SendMessageTimeoutA(window, message, wParam, lParam, SMTO_ABORTIFHUNG, 10000, &result)) return 1;
      std::printf("%lld\n", static_cast<long long>(result));
    }
  } else if (command == "command" && argc >= 4) {
    // Several commands are posted back to back, so they wait in the queue together.
    HWND window = ParseWindow(argv[2]);
    for (int i = 3; i < argc; ++i) {
      if (!PostMessageA(window, WM_COMMAND, static_cast<WPARAM>(Number(argv[i])), 0)) return 1;
    }
  } else if (command == "holdkey" && argc == 4) {
    // Holds a hot key for another program until this process is ended.
    if (!RegisterHotKey(nullptr, 1, static_cast<UINT>(Number(argv[2])), static_cast<UINT>(Number(argv[3])))) return 1;
    std::puts("held");
    std::fflush(stdout);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    }
  } else if (command == "click" && argc == 4) {
    HWND control = GetDlgItem(ParseWindow(argv[2]), static_cast<int>(Number(argv[3])));
    if (!control || !PostMessageA(control, BM_CLICK, 0, 0)) return 1;
  } else if (command == "settext" && argc == 4) {
    // As if typed: the control's owner hears of the change.
    HWND control = ParseWindow(argv[2]);
    DWORD_PTR result = 0;
    SendMessageTimeoutA(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(argv[3]), SMTO_ABORTIFHUNG, 10000, &result);
  } else if (command == "select" && argc == 4) {
    // Picks a list entry by its text and tells the owner, as a click would.
    HWND list = ParseWindow(argv[2]);
    DWORD_PTR index = 0;
    SendMessageTimeoutA(list, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(argv[3]),
                        SMTO_ABORTIFHUNG, 10000, &index);
    if (static_cast<LRESULT>(index) == CB_ERR) return 1;
    DWORD_PTR result = 0;
    SendMessageTimeoutA(list, CB_SETCURSEL, index, 0, SMTO_ABORTIFHUNG, 10000, &result);
    SendMessageTimeoutA(GetParent(list), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(list), CBN_SELCHANGE),
                        reinterpret_cast<LPARAM>(list), SMTO_ABORTIFHUNG, 10000, &result);
  } else if (command == "postnamed" && argc == 4) {
    // A message registered by name, as the shell sends "TaskbarCreated".
    if (!PostMessageA(ParseWindow(argv[2]), RegisterWindowMessageA(argv[3]), 0, 0)) return 1;
  } else if (command == "deleteicon" && argc == 3) {
    // Takes a window's tray icon away, as a crashing shell would.
    NOTIFYICONDATAA record{};
    record.cbSize = NOTIFYICONDATAA_V2_SIZE;
    record.hWnd = ParseWindow(argv[2]);
    if (!Shell_NotifyIconA(NIM_DELETE, &record)) return 1;
  } else if (command == "keyheld" && argc == 4) {
    // Whether some program holds the hot key: registering it must then fail.
    const bool free =
        RegisterHotKey(nullptr, 1, static_cast<UINT>(Number(argv[2])), static_cast<UINT>(Number(argv[3])));
    if (free) UnregisterHotKey(nullptr, 1);
    std::puts(free ? "free" : "held");
  } else if (command == "foreground" && argc == 2) {
    HWND window = GetForegroundWindow();
    if (window) PrintWindow(window);
  } else if (command == "foreground" && argc == 3) {
    if (!SetForegroundWindow(ParseWindow(argv[2]))) return 1;
  } else {
    return Usage();
  }
  std::fflush(stdout);
  return 0;
}
