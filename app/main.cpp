// Program entry: one copy per logon session, a hidden main window, the
// message loop, and GDI+ around all of it. A command on the command line goes
// to the copy that runs already, or is carried out once this one has started.
#include <windows.h>

#include <shellapi.h>

#include <string>
#include <vector>

#include "app/main_window.h"
#include "base/application.h"
#include "base/error_box.h"
#include "base/message_loop.h"
#include "base/owners.h"
#include "base/paths.h"
#include "base/system_text.h"
#include "core/commands/command_line.h"
#include "core/languages/language_list.h"
#include "core/settings/policies.h"
#include "services/commands/command_handoff.h"
#include "services/languages/language_folder.h"
#include "services/settings/registry.h"

namespace {

// The arguments after the program's name, as the system splits them.
std::vector<std::string> CommandLineArguments() {
  int count = 0;
  LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::string> found;
  for (int i = 1; i < count; ++i) found.push_back(Narrow(arguments[i]));
  LocalFree(arguments);
  return found;
}

// The texts of the language the user chose, or a policy, read without the
// window that shows them.
Texts StoredLanguageTexts() {
  RegistryPreferenceStore store;
  RegistryPolicyStore computer(HKEY_LOCAL_MACHINE), user(HKEY_CURRENT_USER);
  Preferences language;
  language.Language = store.ReadString("Language", kBuiltInLanguage);
  ApplyPolicies(language, computer, user);
  const std::string directory = ProgramDirectory();
  const LanguageList languages = RefreshLanguages(ListDirectory(LanguageSearchPattern(directory)), language.Language);
  return Texts(OpenLanguageFile(LanguageFileOf(directory, languages, languages.selected)));
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  owners::GdiplusSession gdiplus;  // started before anything else, shut down last

  const CommandLine commandLine = ParseCommandLine(CommandLineArguments());
  if (commandLine.kind == CommandLineKind::Usage) {
    ShowMessage(nullptr, CommandLineUsage(StoredLanguageTexts()));
    return kUsageExitCode;
  }

  // The mutex lives as long as the process: its handle is deliberately never closed.
  CreateMutexW(nullptr, FALSE, Wide(kApplicationTitle).c_str());
  if (GetLastError() == ERROR_ALREADY_EXISTS) {
    if (commandLine.kind == CommandLineKind::Plain) return 0;
    return static_cast<int>(HandToRunningCopy(kMainWindowClass, OptionOfCommand(commandLine.command),
                                              commandLine.command == IDM_EXIT, kHandOffLimitMs));
  }
  // With no copy running there is nothing to end.
  if (commandLine.command == IDM_EXIT) return 0;

  try {
    MainWindow mainWindow(instance);
    AnnounceCommandWindow();
    if (commandLine.kind == CommandLineKind::Command) {
      PostMessageW(mainWindow.handle(), WM_COMMAND, static_cast<WPARAM>(commandLine.command), 0);
    }
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchQueuedMessage(message);
  } catch (const std::exception& error) {
    ShowError(nullptr, error.what());
  }
  return 0;
}
