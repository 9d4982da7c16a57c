#pragma once
// Mouse input as the hardware sends it, for the test tools that move the
// mouse: the test driver and the benchmark's probe.
#include <windows.h>

// At a place on the virtual screen, given in the 0..65535 both ways that
// SendInput spans over it.
inline INPUT MouseAt(int x, int y, DWORD flags) {
  const int left = GetSystemMetrics(SM_XVIRTUALSCREEN), top = GetSystemMetrics(SM_YVIRTUALSCREEN);
  const int width = GetSystemMetrics(SM_CXVIRTUALSCREEN), height = GetSystemMetrics(SM_CYVIRTUALSCREEN);
  INPUT input{};
  input.type = INPUT_MOUSE;
  // Rounded up: the system rounds down when it turns the span back into pixels.
  input.mi.dx = static_cast<LONG>((static_cast<long long>(x - left) * 65536 + width - 1) / width);
  input.mi.dy = static_cast<LONG>((static_cast<long long>(y - top) * 65536 + height - 1) / height);
  input.mi.dwFlags = MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_VIRTUALDESK | MOUSEEVENTF_MOVE | flags;
  return input;
}
