// Program entry: one copy per logon session, a hidden main window, the
// message loop, and GDI+ around all of it.
#include <windows.h>

#include "app/main_window.h"
#include "base/application.h"
#include "base/error_box.h"
#include "base/message_loop.h"
#include "base/owners.h"
#include "base/system_text.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  owners::GdiplusSession gdiplus;  // started before anything else, shut down last

  // The mutex lives as long as the process: its handle is deliberately never closed.
  CreateMutexW(nullptr, FALSE, Wide(kApplicationTitle).c_str());
  if (GetLastError() == ERROR_ALREADY_EXISTS) return 0;

  try {
    MainWindow mainWindow(instance);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchQueuedMessage(message);
  } catch (const std::exception& error) {
    ShowError(nullptr, error.what());
  }
  return 0;
}
