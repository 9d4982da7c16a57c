// The least a program can do to print the screen on a hot key: on
// Ctrl+Shift+Print Screen one BitBlt of the screen, one GDI+ copy of it and
// one scaled draw onto a page of the default printer. The benchmark compares
// Vorlane's hot-key-to-spooler time with this one's.
// Usage: reference_print [landscape] [gray] [all] [PRINTER]
// "landscape" prints on a landscape page, through device settings taken once
// at the start; "gray" draws through a gray colour matrix; "all" takes the
// virtual screen, every monitor, in one BitBlt instead of the primary.
// It ends on WM_CLOSE to its hidden window of class "VorlaneReferencePrint".
#include <windows.h>

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "base/owners.h"

namespace {

namespace gp = Gdiplus::DllExports;

constexpr const char* kWindowClass = "VorlaneReferencePrint";
constexpr int kHotKeyId = 1;
constexpr const char* kDocumentName = "Vorlane";

constexpr Gdiplus::ColorMatrix kGrayMatrix = {{
    {0.299f, 0.299f, 0.299f, 0, 0},
    {0.587f, 0.587f, 0.587f, 0, 0},
    {0.114f, 0.114f, 0.114f, 0, 0},
    {0, 0, 0, 1, 0},
    {0, 0, 0, 0, 1},
}};

std::string printerName;
std::vector<char> landscapeSettings;  // a DEVMODEA; empty: the printer's own settings
bool gray = false;
bool allScreens = false;

std::string DefaultPrinter() {
  DWORD size = 0;
  GetDefaultPrinterA(nullptr, &size);
  std::vector<char> name(size + 1);
  if (!GetDefaultPrinterA(name.data(), &size)) return {};
  return name.data();
}

// Takes a leading option word, and the blank after it, off the arguments.
bool TakeOption(LPSTR& arguments, std::string_view word) {
  const std::string_view rest(arguments);
  if (rest != word && !rest.starts_with(std::string(word) + " ")) return false;
  arguments += std::min(rest.size(), word.size() + 1);
  return true;
}

std::vector<char> LandscapeSettings(const std::string& printer) {
  HANDLE opened = nullptr;
  if (!OpenPrinterA(const_cast<char*>(printer.c_str()), &opened, nullptr)) return {};
  const owners::PrinterHandle handle(opened);
  const LONG size = DocumentPropertiesA(nullptr, opened, const_cast<char*>(printer.c_str()), nullptr, nullptr, 0);
  if (size <= 0) return {};
  std::vector<char> settings(static_cast<size_t>(size));
  auto* devmode = reinterpret_cast<DEVMODEA*>(settings.data());
  if (DocumentPropertiesA(nullptr, opened, const_cast<char*>(printer.c_str()), devmode, nullptr, DM_OUT_BUFFER) !=
      IDOK) {
    return {};
  }
  devmode->dmOrientation = DMORIENT_LANDSCAPE;
  devmode->dmFields |= DM_ORIENTATION;
  return settings;
}

owners::Bitmap GrabScreen(int left, int top, int width, int height) {
  const owners::WindowDc screen(nullptr, GetDC(nullptr));
  owners::Bitmap bitmap(CreateCompatibleBitmap(screen.get(), width, height));
  const owners::MemoryDc target(CreateCompatibleDC(screen.get()));
  const owners::Selection selected(target.get(), bitmap.get());
  BitBlt(target.get(), 0, 0, width, height, screen.get(), left, top, SRCCOPY);
  return bitmap;
}

// Fitted into the printable area and centred, with the quality Vorlane
// scales with: the same page, made with nothing else around it.
void PrintScreen() {
  const int left = allScreens ? GetSystemMetrics(SM_XVIRTUALSCREEN) : 0;
  const int top = allScreens ? GetSystemMetrics(SM_YVIRTUALSCREEN) : 0;
  const int width = GetSystemMetrics(allScreens ? SM_CXVIRTUALSCREEN : SM_CXSCREEN);
  const int height = GetSystemMetrics(allScreens ? SM_CYVIRTUALSCREEN : SM_CYSCREEN);
  const owners::Bitmap shot = GrabScreen(left, top, width, height);
  Gdiplus::GpBitmap* copy = nullptr;
  gp::GdipCreateBitmapFromHBITMAP(shot.get(), nullptr, &copy);
  const owners::GpBitmap image(copy);

  const auto* settings =
      landscapeSettings.empty() ? nullptr : reinterpret_cast<const DEVMODEA*>(landscapeSettings.data());
  const owners::PrinterDc printer(CreateDCA(nullptr, printerName.c_str(), nullptr, settings));
  if (!printer) return;
  DOCINFOA document{};
  document.cbSize = sizeof document;
  document.lpszDocName = kDocumentName;
  StartDocA(printer.get(), &document);
  StartPage(printer.get());
  {
    Gdiplus::GpGraphics* page = nullptr;
    gp::GdipCreateFromHDC(printer.get(), &page);
    const owners::GpGraphics graphics(page);
    gp::GdipSetPageUnit(graphics.get(), Gdiplus::UnitInch);
    gp::GdipSetInterpolationMode(graphics.get(), Gdiplus::InterpolationModeHighQuality);
    const double pageWidth =
        static_cast<double>(GetDeviceCaps(printer.get(), HORZRES)) / GetDeviceCaps(printer.get(), LOGPIXELSX);
    const double pageHeight =
        static_cast<double>(GetDeviceCaps(printer.get(), VERTRES)) / GetDeviceCaps(printer.get(), LOGPIXELSY);
    const double scale = std::min(pageWidth / width, pageHeight / height);
    const double drawnWidth = width * scale;
    const double drawnHeight = height * scale;
    Gdiplus::GpImageAttributes* made = nullptr;
    if (gray) gp::GdipCreateImageAttributes(&made);
    const owners::GpImageAttributes attributes(made);
    if (attributes) {
      gp::GdipSetImageAttributesColorMatrix(attributes.get(), Gdiplus::ColorAdjustTypeDefault, TRUE, &kGrayMatrix,
                                            nullptr, Gdiplus::ColorMatrixFlagsDefault);
    }
    gp::GdipDrawImageRectRect(graphics.get(), image.get(), static_cast<float>((pageWidth - drawnWidth) / 2),
                              static_cast<float>((pageHeight - drawnHeight) / 2), static_cast<float>(drawnWidth),
                              static_cast<float>(drawnHeight), 0, 0, static_cast<float>(width),
                              static_cast<float>(height), Gdiplus::UnitPixel, attributes.get(), nullptr, nullptr);
  }
  EndPage(printer.get());
  EndDoc(printer.get());
}

LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_HOTKEY:
      PrintScreen();
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR arguments, int) {
  const owners::GdiplusSession gdiplus;
  const bool landscape = TakeOption(arguments, "landscape");
  gray = TakeOption(arguments, "gray");
  allScreens = TakeOption(arguments, "all");
  printerName = *arguments ? arguments : DefaultPrinter();
  if (landscape) landscapeSettings = LandscapeSettings(printerName);
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = Procedure;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = kWindowClass;
  RegisterClassA(&windowClass);
  const HWND window =
      CreateWindowExA(0, kWindowClass, kWindowClass, WS_OVERLAPPED, 0, 0, 0, 0, nullptr, nullptr, instance, nullptr);
  if (!window || !RegisterHotKey(window, kHotKeyId, MOD_CONTROL | MOD_SHIFT, VK_SNAPSHOT)) return 1;
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
  UnregisterHotKey(nullptr, kHotKeyId);
  return 0;
}
