#include "base/message_loop.h"

namespace {

HWND dialogWindow = nullptr;

}  // namespace

void SetDialogWindow(HWND window) { dialogWindow = window; }

void DispatchQueuedMessage(MSG& message) {
  if (dialogWindow && IsDialogMessageA(dialogWindow, &message)) return;
  TranslateMessage(&message);
  DispatchMessageA(&message);
}
