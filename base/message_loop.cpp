#include "base/message_loop.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace {

HWND dialogWindow = nullptr;
DialogKeys dialogKeys;
int openJobs = 0;
std::vector<MSG> held;

bool SameMessage(const MSG& a, const MSG& b) {
  return a.hwnd == b.hwnd && a.message == b.message && a.wParam == b.wParam && a.lParam == b.lParam;
}

}  // namespace

void SetDialogWindow(HWND window, DialogKeys keys) {
  dialogWindow = window;
  dialogKeys = std::move(keys);
}

void DispatchQueuedMessage(MSG& message) {
  const bool inDialog = dialogWindow && (message.hwnd == dialogWindow || IsChild(dialogWindow, message.hwnd));
  if (inDialog && message.message == WM_KEYDOWN && dialogKeys && dialogKeys(message)) return;
  if (dialogWindow && IsDialogMessageW(dialogWindow, &message)) return;
  TranslateMessage(&message);
  DispatchMessageW(&message);
}

PrintJobScope::PrintJobScope() { ++openJobs; }

PrintJobScope::~PrintJobScope() {
  if (--openJobs > 0) return;
  std::vector<MSG> waiting;
  waiting.swap(held);
  for (const MSG& message : waiting) PostMessageW(message.hwnd, message.message, message.wParam, message.lParam);
}

bool PrintJobOpen() { return openJobs > 0; }

void HoldForPrintJob(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const MSG holding{window, message, wParam, lParam, 0, {}};
  if (std::ranges::none_of(held, [&](const MSG& kept) { return SameMessage(kept, holding); })) {
    held.push_back(holding);
  }
}
