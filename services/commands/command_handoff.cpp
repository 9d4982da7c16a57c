#include "services/commands/command_handoff.h"

#include "base/owners.h"
#include "base/system_text.h"

namespace {

// Set by the running copy once its window exists: a copy started a moment
// earlier holds the single-instance mutex before it has a window to send to.
constexpr const wchar_t* kCommandWindowEvent = L"Vorlane.CommandWindow";

HANDLE CommandWindowEvent() { return CreateEventW(nullptr, TRUE, FALSE, kCommandWindowEvent); }

}  // namespace

void AnnounceCommandWindow() {
  // Like the single-instance mutex, the event lives as long as the process:
  // its handle is deliberately never closed.
  SetEvent(CommandWindowEvent());
}

HandOff HandToRunningCopy(const std::string& windowClass, const std::string& option, bool endsCopy, DWORD limitMs) {
  const ULONGLONG deadline = GetTickCount64() + limitMs;
  const auto left = [deadline] {
    const ULONGLONG now = GetTickCount64();
    return static_cast<DWORD>(now < deadline ? deadline - now : 0);
  };
  const owners::KernelHandle announced(CommandWindowEvent());
  if (!announced || WaitForSingleObject(announced.get(), left()) != WAIT_OBJECT_0) return HandOff::NotTaken;
  const HWND window = FindWindowW(Wide(windowClass).c_str(), nullptr);
  if (!window) return HandOff::NotTaken;
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  const owners::KernelHandle process(OpenProcess(SYNCHRONIZE, FALSE, processId));
  std::string sent(option);  // the message takes the data as writable
  COPYDATASTRUCT data{kHandedOptionTag, static_cast<DWORD>(sent.size()), sent.data()};
  DWORD_PTR answer = FALSE;
  if (!SendMessageTimeoutW(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_NORMAL, left(), &answer)) {
    return HandOff::NotTaken;
  }
  if (answer == static_cast<DWORD_PTR>(kOptionRefused)) return HandOff::Refused;
  if (answer != TRUE) return HandOff::NotTaken;
  const bool ended = !endsCopy || (process && WaitForSingleObject(process.get(), left()) == WAIT_OBJECT_0);
  return ended ? HandOff::Taken : HandOff::NotTaken;
}

std::string HandedOption(const COPYDATASTRUCT& data) {
  if (data.dwData != kHandedOptionTag || !data.lpData) return {};
  return std::string(static_cast<const char*>(data.lpData), data.cbData);
}
