#pragma once
// The system's font, colour and folder dialogs: each edits the value it is given and
// tells whether the user confirmed. Replaceable, so that what the window does
// around them can be checked without someone at the keyboard.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

// What the font dialog holds: the font being edited.
struct FontChoice {
  std::string name = "MS Sans Serif";
  int32_t size = 8;  // points
  bool bold = false;
  bool italic = false;
};

struct CommonDialogs {
  std::function<bool(HWND owner, FontChoice& font)> chooseFont;
  std::function<bool(HWND owner, COLORREF& color)> chooseColor;
  std::function<bool(HWND owner, const std::string& title, std::string& folder)> chooseFolder;
};

CommonDialogs SystemDialogs();
