#include "ui/information/about_window.h"

#include <shlwapi.h>

#include <array>

#include "base/dpi.h"
#include "base/message_loop.h"
#include "base/owners.h"
#include "base/system_text.h"
#include "core/information/home_page.h"
#include "resources/resource.h"
#include "services/information/version_info.h"

namespace {

constexpr int kModalResultOk = 1;

enum class Anchor { Left, Right };
struct LabelPlace {
  int x;  // left edge, or right edge for right-aligned labels
  int top;
  Anchor anchor;
};
// Indexed by AboutWindow::Label; in pixels at 96 dpi, on the picture.
constexpr std::array<LabelPlace, 3> kLabelPlaces = {{
    {249, 208, Anchor::Right},  // the version
    {496, 335, Anchor::Right},  // the home page
    {3, 335, Anchor::Left},     // the maker
}};

// The black frame, one pixel wide at 96 dpi: left, right, top, bottom.
std::array<RECT, 4> FrameLines(SIZE size, int line) {
  return {{
      {0, line, line, size.cy - line},
      {size.cx - line, line, size.cx, size.cy - line},
      {0, 0, size.cx, line},
      {0, size.cy - line, size.cx, size.cy},
  }};
}

// The program lives in the tray: restore whatever was enabled before, and hide
// the window, however the modal loop ends.
class ModalScope {
 public:
  ModalScope(HWND window, HWND owner)
      : window_(window), owner_(owner), ownerWasDisabled_(owner && EnableWindow(owner, FALSE)) {}
  ~ModalScope() {
    // Re-enabled before hiding, so that the owner gets the activation back.
    if (owner_ && !ownerWasDisabled_) EnableWindow(owner_, TRUE);
    ShowWindow(window_, SW_HIDE);
  }
  ModalScope(const ModalScope&) = delete;
  ModalScope& operator=(const ModalScope&) = delete;

 private:
  HWND window_;
  HWND owner_;
  bool ownerWasDisabled_;
};

}  // namespace

std::string AboutVersionCaption(const std::string& executablePath) {
  VersionInfo reader;
  reader.SetFilename(executablePath);
  return "version " + reader.Text(VersionField::FileVersion);
}

void PaintAboutPicture(HDC dc, HMODULE module, SIZE drawn) {
  const HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(IDR_ABOUT_PICTURE), RT_RCDATA);
  if (!resource) return;
  // Resources live as long as their module: nothing to free here.
  const void* bytes = LockResource(LoadResource(module, resource));
  const DWORD size = SizeofResource(module, resource);
  if (!bytes || size == 0) return;

  owners::Stream stream(SHCreateMemStream(static_cast<const BYTE*>(bytes), size));
  if (!stream) return;
  Gdiplus::GpImage* loaded = nullptr;
  owners::gp::GdipLoadImageFromStream(stream.get(), &loaded);
  owners::GpImage image(loaded);
  if (!image) return;

  Gdiplus::GpGraphics* created = nullptr;
  owners::gp::GdipCreateFromHDC(dc, &created);
  owners::GpGraphics graphics(created);
  if (!graphics) return;
  owners::gp::GdipSetInterpolationMode(graphics.get(), Gdiplus::InterpolationModeHighQuality);
  owners::gp::GdipDrawImageRectI(graphics.get(), image.get(), 0, 0, drawn.cx, drawn.cy);
}

AboutWindow::AboutWindow(HINSTANCE instance)
    : instance_(instance), labels_{std::string(), std::string(kHomePageHost), std::string(kMakerAddress)} {
  RegisterWindowClass(instance, kAboutWindowClass);
  // No taskbar button of its own: the program shows itself only in the tray.
  Create(WS_EX_TOOLWINDOW, kAboutWindowClass, "", WS_POPUP, 0, 0, kAboutWidth, kAboutHeight, nullptr);
  ChangeDpi(WindowDpi(handle()));
  const SIZE size = Size();
  SetWindowPos(handle(), nullptr, (GetSystemMetrics(SM_CXSCREEN) - size.cx) / 2,
               (GetSystemMetrics(SM_CYSCREEN) - size.cy) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

SIZE AboutWindow::Size() const { return {Scale(kAboutWidth, dpi_), Scale(kAboutHeight, dpi_)}; }

// The window keeps its place and takes the size and font of the DPI.
void AboutWindow::ChangeDpi(int dpi) {
  dpi_ = dpi;
  font_ = MessageFont(dpi);
  const SIZE size = Size();
  SetWindowPos(handle(), nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  InvalidateRect(handle(), nullptr, TRUE);
}

LRESULT AboutWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  const POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
  switch (message) {
    case WM_PAINT: {
      owners::PaintDc paint(handle());
      Paint(paint.get());
      return 0;
    }
    case WM_PRINTCLIENT:
      Paint(reinterpret_cast<HDC>(wParam));
      return 0;
    case WM_LBUTTONDOWN:
      Press(point);
      return 0;
    case WM_LBUTTONUP:
      Release(point);
      return 0;
    case WM_KEYDOWN:
      if (wParam == VK_ESCAPE || wParam == VK_RETURN || wParam == VK_SPACE) Close();
      return 0;
    case WM_CLOSE:
      // Alt+F4, the system menu or another program: the default handling
      // would destroy the window beneath its own modal loop.
      Close();
      return 0;
    case WM_DPICHANGED: {
      const auto* suggested = reinterpret_cast<const RECT*>(lParam);
      SetWindowPos(handle(), nullptr, suggested->left, suggested->top, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      ChangeDpi(HIWORD(wParam));
      return 0;
    }
  }
  return DefaultHandling(message, wParam, lParam);
}

void AboutWindow::SetVersionCaption(const std::string& caption) {
  labels_[static_cast<size_t>(Label::Version)] = caption;
  // The labels are painted: the window's text is what a screen reader reads of them.
  SetWindowTextW(handle(), Wide("Vorlane " + labels_[0] + ", " + labels_[1] + ", " + labels_[2]).c_str());
  // The old caption may have been wider: repaint what it covered too.
  InvalidateRect(handle(), nullptr, TRUE);
}

void AboutWindow::ShowModal(HWND owner) {
  // About chosen again from the tray while showing: no second modal loop.
  if (IsWindowVisible(handle())) {
    SetForegroundWindow(handle());
    return;
  }
  modalResult_ = 0;
  pressed_ = false;
  ModalScope scope(handle(), owner);
  ShowWindow(handle(), SW_SHOW);
  SetForegroundWindow(handle());
  MSG message;
  // A window destroyed beneath the loop ends it too, rather than leaving
  // the program waiting for a click that cannot come.
  while (modalResult_ == 0 && handle()) {
    const BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got <= 0) {
      // The quit belongs to the program's own loop: hand it on.
      if (got == 0) PostQuitMessage(static_cast<int>(message.wParam));
      break;
    }
    DispatchQueuedMessage(message);
  }
}

RECT AboutWindow::LabelRect(Label label) const {
  const std::wstring text = Wide(labels_[static_cast<size_t>(label)]);
  const LabelPlace& place = kLabelPlaces[static_cast<size_t>(label)];
  owners::WindowDc dc(handle(), GetDC(handle()));
  owners::Selection font(dc.get(), font_.get());
  SIZE extent{};
  GetTextExtentPoint32W(dc.get(), text.c_str(), static_cast<int>(text.size()), &extent);
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc.get(), &metrics);
  // Labels are sized to their text; right-aligned ones grow to the left.
  const int x = Scale(place.x, dpi_);
  const int top = Scale(place.top, dpi_);
  const int left = place.anchor == Anchor::Right ? x - extent.cx : x;
  return RECT{left, top, left + extent.cx, top + metrics.tmHeight};
}

bool AboutWindow::OnLabel(POINT point) const {
  for (const Label label : {Label::Version, Label::HomePage, Label::Maker}) {
    const RECT rect = LabelRect(label);
    if (PtInRect(&rect, point)) return true;
  }
  return false;
}

void AboutWindow::Paint(HDC dc) {
  // The picture ends where the right and bottom frame lines begin.
  const SIZE size = Size();
  const int line = Scale(1, dpi_);
  PaintAboutPicture(dc, instance_, SIZE{size.cx - line, size.cy - line});
  for (const RECT& frame : FrameLines(size, line)) {
    FillRect(dc, &frame, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  }

  owners::Selection font(dc, font_.get());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
  for (size_t label = 0; label < kLabelPlaces.size(); ++label) {
    // Aligned by the DC that draws, so that a right edge stays where it belongs
    // whatever the DC's text measures.
    const LabelPlace& place = kLabelPlaces[label];
    const bool right = place.anchor == Anchor::Right;
    const int x = Scale(place.x, dpi_);
    const int top = Scale(place.top, dpi_);
    RECT box = right ? RECT{0, top, x, size.cy} : RECT{x, top, size.cx, size.cy};
    const std::wstring text = Wide(labels_[label]);
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &box,
              (right ? DT_RIGHT : DT_LEFT) | DT_TOP | DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP);
  }
}

// A click on the picture closes the window. The labels take the clicks made
// on them, as labels of their own would; they have nothing to do with them.
void AboutWindow::Press(POINT point) { pressed_ = !OnLabel(point); }

void AboutWindow::Release(POINT point) {
  const bool clicked = pressed_ && !OnLabel(point);
  pressed_ = false;
  if (clicked) Close();
}

// Ends the modal showing, which hides the window; it stays for the next one.
void AboutWindow::Close() { modalResult_ = kModalResultOk; }
