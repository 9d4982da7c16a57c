#pragma once
// The about window: the program's artwork, "version" with the executable's
// file version, and the two web addresses. Created once, shown modally.
#include <windows.h>

#include <array>
#include <string>

#include "base/dpi.h"
#include "base/owners.h"
#include "base/window.h"

// The window class other programs and the tests know the window by.
inline constexpr const char* kAboutWindowClass = "TfmAbout";
// At 96 dpi; the window, its picture and its labels scale with the DPI.
inline constexpr int kAboutWidth = 500;
inline constexpr int kAboutHeight = 350;

class AboutWindow : public Window {
 public:
  enum class Label { Version, HomePage, Maker };

  // Creates the window hidden; its picture comes from the module's resources.
  explicit AboutWindow(HINSTANCE instance);

  // "version " followed by the file version.
  void SetVersionCaption(const std::string& caption);
  const std::string& VersionCaption() const { return labels_[static_cast<size_t>(Label::Version)]; }

  // Shows the window and returns when a click, Esc, Enter, Space or a
  // request to close has closed it. The owner takes no input meanwhile.
  void ShowModal(HWND owner);
  // 1 once the window has been closed, 0 while it is open.
  int ModalResult() const { return modalResult_; }

  // Where a label lies in the client area, measured with the window's font.
  RECT LabelRect(Label label) const;

  int Dpi() const { return dpi_; }

 private:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

  SIZE Size() const;
  void ChangeDpi(int dpi);
  void Paint(HDC dc);
  void Press(POINT point);
  void Release(POINT point);
  void Close();
  bool OnLabel(POINT point) const;

  HINSTANCE instance_;
  std::array<std::string, 3> labels_;
  int dpi_ = kBaseDpi;
  owners::Font font_;  // the message font at the DPI
  int modalResult_ = 0;
  bool pressed_ = false;
};

// "version " followed by the FileVersion text of the file at that path; just
// "version " when the file has none.
std::string AboutVersionCaption(const std::string& executablePath);

// Draws the module's about picture (RCDATA IDR_ABOUT_PICTURE) at 0,0 at the
// size with high-quality scaling. Leaves the DC untouched when the picture
// cannot be loaded.
void PaintAboutPicture(HDC dc, HMODULE module, SIZE drawn);
