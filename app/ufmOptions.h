#pragma once
// The main window: invisible owner of the tray icon, the hot keys and the
// capture timer, and at the same time the Preferences window.
#include <windows.h>

#include "prefs/preferences.h"

inline constexpr const char* kApplicationTitle = "Vorlane";
inline constexpr const char* kMainWindowClass = "TfmOptions";

class TfmOptions {
 public:
  explicit TfmOptions(HINSTANCE instance);
  ~TfmOptions();
  TfmOptions(const TfmOptions&) = delete;
  TfmOptions& operator=(const TfmOptions&) = delete;

  HWND handle() const { return handle_; }

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  void FormCreate();
  void FormClose();
  void WMCommand(WORD id);
  void miExitClick();
  void btCancelClick();
  void LoadPreferences();

  HWND handle_ = nullptr;
  bool FExiting = false;
  Preferences preferences_;
};

// The general error handler: the error's text in a message box captioned
// with the application title; the program goes on.
void ShowError(const char* text);
