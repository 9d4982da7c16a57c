// The benchmark's hands and eyes inside the Wine prefix. It runs for a whole
// benchmark so that no process start falls inside a measured interval: the
// script writes one command per line and reads one line back. Times are
// QueryPerformanceCounter readings in seconds, which under Wine count the
// same clock as the host's CLOCK_MONOTONIC_RAW.
//   press VK [VK ...]             the time just before the keys go in; they
//                                 are pressed together and released in reverse
//   mouse X Y [down|up]           the time just before the mouse moves to the
//                                 place on the virtual screen, and there
//                                 presses or releases the left button
//   waitvisible CLASS TIMEOUT_MS  the time a window of CLASS is first seen
//                                 visible, or "timeout"
//   visible CLASS                 1 or 0
//   post CLASS MSG WPARAM LPARAM  1 when posted
//   send CLASS MSG WPARAM LPARAM  the seconds the window took to handle it,
//                                 or "timeout"
//   now                           the time
#include <windows.h>

#include <cstdio>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/e2e/mouse_input.h"

namespace {

constexpr DWORD kPollMs = 1;
constexpr UINT kSendLimitMs = 120000;

double Now() {
  static const double frequency = [] {
    LARGE_INTEGER value{};
    QueryPerformanceFrequency(&value);
    return static_cast<double>(value.QuadPart);
  }();
  LARGE_INTEGER counter{};
  QueryPerformanceCounter(&counter);
  return static_cast<double>(counter.QuadPart) / frequency;
}

void Answer(const std::string& text) {
  std::fputs((text + "\n").c_str(), stdout);
  std::fflush(stdout);
}

std::string Time(double seconds) {
  char text[32];
  std::snprintf(text, sizeof text, "%.7f", seconds);
  return text;
}

bool AnyVisible(const std::string& windowClass) {
  for (HWND window = FindWindowExA(nullptr, nullptr, windowClass.c_str(), nullptr); window;
       window = FindWindowExA(nullptr, window, windowClass.c_str(), nullptr)) {
    if (IsWindowVisible(window)) return true;
  }
  return false;
}

INPUT Key(WORD key, DWORD flags) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = key;
  input.ki.dwFlags = flags;
  return input;
}

std::string Press(std::istringstream& arguments) {
  std::vector<WORD> keys;
  for (unsigned key = 0; arguments >> std::hex >> key;) keys.push_back(static_cast<WORD>(key));
  std::vector<INPUT> inputs;
  for (WORD key : keys) inputs.push_back(Key(key, 0));
  for (auto key = keys.rbegin(); key != keys.rend(); ++key) inputs.push_back(Key(*key, KEYEVENTF_KEYUP));
  const double pressed = Now();
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
  return Time(pressed);
}

std::string Mouse(std::istringstream& arguments) {
  int x = 0, y = 0;
  std::string button;
  arguments >> x >> y >> button;
  DWORD flags = 0;
  if (button == "down") flags = MOUSEEVENTF_LEFTDOWN;
  if (button == "up") flags = MOUSEEVENTF_LEFTUP;
  INPUT input = MouseAt(x, y, flags);
  const double sent = Now();
  SendInput(1, &input, sizeof input);
  return Time(sent);
}

// Polled: a window shown by another process sends this one nothing.
std::string WaitVisible(std::istringstream& arguments) {
  std::string windowClass;
  double timeoutMs = 0;
  arguments >> windowClass >> timeoutMs;
  const double deadline = Now() + timeoutMs / 1000.0;
  for (;;) {
    if (AnyVisible(windowClass)) return Time(Now());
    if (Now() > deadline) return "timeout";
    Sleep(kPollMs);
  }
}

std::string Post(std::istringstream& arguments) {
  std::string windowClass;
  unsigned long long message = 0, wParam = 0, lParam = 0;
  arguments >> windowClass >> message >> wParam >> lParam;
  const HWND window = FindWindowA(windowClass.c_str(), nullptr);
  return window && PostMessageA(window, static_cast<UINT>(message), static_cast<WPARAM>(wParam),
                                static_cast<LPARAM>(lParam))
             ? "1"
             : "0";
}

std::string Send(std::istringstream& arguments) {
  std::string windowClass;
  unsigned long long message = 0, wParam = 0, lParam = 0;
  arguments >> windowClass >> message >> wParam >> lParam;
  const HWND window = FindWindowA(windowClass.c_str(), nullptr);
  DWORD_PTR result = 0;
  const double sent = Now();
  if (!window || !SendMessageTimeoutA(window, static_cast<UINT>(message), static_cast<WPARAM>(wParam),
                                      static_cast<LPARAM>(lParam), SMTO_NORMAL, kSendLimitMs, &result)) {
    return "timeout";
  }
  return Time(Now() - sent);
}

std::string Run(const std::string& line) {
  std::istringstream arguments(line);
  std::string command;
  arguments >> command;
  if (command == "press") return Press(arguments);
  if (command == "mouse") return Mouse(arguments);
  if (command == "waitvisible") return WaitVisible(arguments);
  if (command == "visible") {
    std::string windowClass;
    arguments >> windowClass;
    return AnyVisible(windowClass) ? "1" : "0";
  }
  if (command == "post") return Post(arguments);
  if (command == "send") return Send(arguments);
  if (command == "now") return Time(Now());
  return "error unknown command: " + command;
}

}  // namespace

int main() {
  for (std::string line; std::getline(std::cin, line);) Answer(Run(line));
  return 0;
}
