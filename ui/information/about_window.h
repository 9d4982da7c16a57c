#pragma once
// The about window: the program's artwork, "version" with the executable's
// file version, and the two web addresses. Created once, shown modally.
#include <windows.h>

#include <array>
#include <string>

inline constexpr const char* kAboutWindowClass = "TfmAbout";
inline constexpr int kAboutWidth = 500;
inline constexpr int kAboutHeight = 350;

class TfmAbout {
 public:
  // Label1 shows the version, Label2 the home page, Label3 the maker.
  enum class LabelId { Label1, Label2, Label3 };

  // Creates the window hidden; its picture comes from the module's resources.
  explicit TfmAbout(HINSTANCE instance);
  ~TfmAbout();
  TfmAbout(const TfmAbout&) = delete;
  TfmAbout& operator=(const TfmAbout&) = delete;

  HWND handle() const { return handle_; }

  // Label1's caption: "version " followed by the file version.
  void SetVersionCaption(const std::string& caption);
  const std::string& VersionCaption() const { return labels_[static_cast<size_t>(LabelId::Label1)]; }

  // Shows the window and returns when a click has closed it. The owner takes
  // no input meanwhile.
  void ShowModal(HWND owner);
  // 1 once a click on the picture has closed the window, 0 while it is open.
  int ModalResult() const { return modalResult_; }

  // Where a label lies in the client area, measured with the window's font.
  RECT LabelRect(LabelId label) const;

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  void FormPaint(HDC dc);
  void FormMouseDown(POINT point);
  void FormMouseUp(POINT point);
  void FormClick();
  bool OnLabel(POINT point) const;

  HINSTANCE instance_;
  HWND handle_ = nullptr;
  std::array<std::string, 3> labels_;
  int modalResult_ = 0;
  bool pressed_ = false;
};

// "version " followed by the FileVersion text of the file at that path; just
// "version " when the file has none.
std::string AboutVersionCaption(const std::string& executablePath);

// Draws the module's about picture (RCDATA IDR_ABOUT_PICTURE) at 0,0 in a
// 499 x 349 rectangle with high-quality scaling. Leaves the DC untouched when
// the picture cannot be loaded.
void PaintAboutPicture(HDC dc, HMODULE module);
