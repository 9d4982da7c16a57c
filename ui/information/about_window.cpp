#include "ui/information/about_window.h"

#include <shlwapi.h>

#include <array>
#include <stdexcept>

#include "base/message_loop.h"
#include "base/owners.h"
#include "core/information/home_page.h"
#include "services/information/version_info.h"
#include "resources/resource.h"

namespace {

// The picture is drawn one pixel smaller than it is in each direction; the
// right and bottom frame lines lie just outside it.
constexpr int kPictureDrawWidth = kAboutWidth - 1;
constexpr int kPictureDrawHeight = kAboutHeight - 1;

constexpr int kModalResultOk = 1;

enum class Anchor { Left, Right };
struct LabelPlace {
  int x;  // left edge, or right edge for right-aligned labels
  int top;
  Anchor anchor;
};
constexpr std::array<LabelPlace, 3> kLabelPlaces = {{
    {249, 208, Anchor::Right},  // Label1: the version
    {496, 335, Anchor::Right},  // Label2: the home page
    {3, 335, Anchor::Left},     // Label3: the maker
}};

// Shape1 to Shape4: the one-pixel black frame.
constexpr std::array<RECT, 4> kFrameLines = {{
    {0, 1, 1, kAboutHeight - 1},
    {kAboutWidth - 1, 1, kAboutWidth, kAboutHeight - 1},
    {0, 0, kAboutWidth, 1},
    {0, kAboutHeight - 1, kAboutWidth, kAboutHeight},
}};

HFONT WindowFont() { return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)); }

void RegisterWindowClass(HINSTANCE instance, WNDPROC procedure) {
  WNDCLASSEXA windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  // Shows through where the picture cannot be drawn.
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = kAboutWindowClass;
  // A second window of the class finds it registered already; that is fine.
  (void)RegisterClassExA(&windowClass);
}

// The program lives in the tray: restore whatever was enabled before, and hide
// the window, however the modal loop ends.
class ModalScope {
 public:
  ModalScope(HWND window, HWND owner) : window_(window), owner_(owner) {
    ownerWasDisabled_ = owner_ && EnableWindow(owner_, FALSE);
  }
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
  bool ownerWasDisabled_ = false;
};

}  // namespace

std::string AboutVersionCaption(const std::string& executablePath) {
  TrpVersionInfo reader;
  reader.SetFilename(executablePath);
  return "version " + reader.FileVersion();
}

void PaintAboutPicture(HDC dc, HMODULE module) {
  const HRSRC resource = FindResourceA(module, MAKEINTRESOURCEA(IDR_ABOUT_PICTURE), RT_RCDATA);
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
  owners::gp::GdipDrawImageRectI(graphics.get(), image.get(), 0, 0, kPictureDrawWidth, kPictureDrawHeight);
}

TfmAbout::TfmAbout(HINSTANCE instance)
    : instance_(instance), labels_{std::string(), std::string(kHomePageHost), std::string(kMakerAddress)} {
  RegisterWindowClass(instance, WindowProc);
  // No taskbar button of its own: the program shows itself only in the tray.
  CreateWindowExA(WS_EX_TOOLWINDOW, kAboutWindowClass, "", WS_POPUP, (GetSystemMetrics(SM_CXSCREEN) - kAboutWidth) / 2,
                  (GetSystemMetrics(SM_CYSCREEN) - kAboutHeight) / 2, kAboutWidth, kAboutHeight, nullptr, nullptr,
                  instance, this);
  if (!handle_) throw std::runtime_error("The about window could not be created.");
}

TfmAbout::~TfmAbout() {
  if (handle_) DestroyWindow(handle_);
}

LRESULT CALLBACK TfmAbout::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<TfmAbout*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
    self->handle_ = window;
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<TfmAbout*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (!self) return DefWindowProcA(window, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    self->handle_ = nullptr;
    return DefWindowProcA(window, message, wParam, lParam);
  }
  return self->HandleMessage(message, wParam, lParam);
}

LRESULT TfmAbout::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  const POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
  switch (message) {
    case WM_PAINT: {
      owners::PaintDc paint(handle_);
      FormPaint(paint.get());
      return 0;
    }
    case WM_PRINTCLIENT:
      FormPaint(reinterpret_cast<HDC>(wParam));
      return 0;
    case WM_LBUTTONDOWN:
      FormMouseDown(point);
      return 0;
    case WM_LBUTTONUP:
      FormMouseUp(point);
      return 0;
  }
  return DefWindowProcA(handle_, message, wParam, lParam);
}

void TfmAbout::SetVersionCaption(const std::string& caption) {
  labels_[static_cast<size_t>(LabelId::Label1)] = caption;
  // The old caption may have been wider: repaint what it covered too.
  InvalidateRect(handle_, nullptr, TRUE);
}

void TfmAbout::ShowModal(HWND owner) {
  // About chosen again from the tray while showing: no second modal loop.
  if (IsWindowVisible(handle_)) {
    SetForegroundWindow(handle_);
    return;
  }
  modalResult_ = 0;
  pressed_ = false;
  ModalScope scope(handle_, owner);
  ShowWindow(handle_, SW_SHOW);
  SetForegroundWindow(handle_);
  MSG message;
  while (modalResult_ == 0) {
    const BOOL got = GetMessageA(&message, nullptr, 0, 0);
    if (got <= 0) {
      // The quit belongs to the program's own loop: hand it on.
      if (got == 0) PostQuitMessage(static_cast<int>(message.wParam));
      break;
    }
    DispatchQueuedMessage(message);
  }
}

RECT TfmAbout::LabelRect(LabelId label) const {
  const std::string& text = labels_[static_cast<size_t>(label)];
  const LabelPlace& place = kLabelPlaces[static_cast<size_t>(label)];
  owners::WindowDc dc(handle_, GetDC(handle_));
  owners::Selection font(dc.get(), WindowFont());
  SIZE extent{};
  GetTextExtentPoint32A(dc.get(), text.c_str(), static_cast<int>(text.size()), &extent);
  TEXTMETRICA metrics{};
  GetTextMetricsA(dc.get(), &metrics);
  // Labels are sized to their text; right-aligned ones grow to the left.
  const int left = place.anchor == Anchor::Right ? place.x - extent.cx : place.x;
  return RECT{left, place.top, left + extent.cx, place.top + metrics.tmHeight};
}

bool TfmAbout::OnLabel(POINT point) const {
  for (const LabelId label : {LabelId::Label1, LabelId::Label2, LabelId::Label3}) {
    const RECT rect = LabelRect(label);
    if (PtInRect(&rect, point)) return true;
  }
  return false;
}

void TfmAbout::FormPaint(HDC dc) {
  PaintAboutPicture(dc, instance_);
  for (const RECT& line : kFrameLines) FillRect(dc, &line, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));

  owners::Selection font(dc, WindowFont());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
  for (size_t label = 0; label < kLabelPlaces.size(); ++label) {
    // Aligned by the DC that draws, so that a right edge stays where it belongs
    // whatever the DC's text measures.
    const LabelPlace& place = kLabelPlaces[label];
    const bool right = place.anchor == Anchor::Right;
    RECT box = right ? RECT{0, place.top, place.x, kAboutHeight} : RECT{place.x, place.top, kAboutWidth, kAboutHeight};
    const std::string& text = labels_[label];
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &box,
              (right ? DT_RIGHT : DT_LEFT) | DT_TOP | DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP);
  }
}

// The labels take the clicks made on them, as labels of their own would; they
// have nothing to do with them.
void TfmAbout::FormMouseDown(POINT point) { pressed_ = !OnLabel(point); }

void TfmAbout::FormMouseUp(POINT point) {
  const bool clicked = pressed_ && !OnLabel(point);
  pressed_ = false;
  if (clicked) FormClick();
}

void TfmAbout::FormClick() { modalResult_ = kModalResultOk; }
