// The least a program can do to print the screen on a hot key: on
// Ctrl+Shift+Print Screen one BitBlt of the screen, one GDI+ copy of it and
// one scaled draw onto a page of the default printer. The benchmark compares
// Vorlane's hot-key-to-spooler time with this one's.
// Usage: reference_print [PRINTER]
// It ends on WM_CLOSE to its hidden window of class "VorlaneReferencePrint".
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "base/owners.h"

namespace {

namespace gp = Gdiplus::DllExports;

constexpr const char* kWindowClass = "VorlaneReferencePrint";
constexpr int kHotKeyId = 1;
constexpr const char* kDocumentName = "Vorlane";

std::string printerName;

std::string DefaultPrinter() {
  DWORD size = 0;
  GetDefaultPrinterA(nullptr, &size);
  std::vector<char> name(size + 1);
  if (!GetDefaultPrinterA(name.data(), &size)) return {};
  return name.data();
}

owners::Bitmap GrabScreen(int width, int height) {
  const owners::WindowDc screen(nullptr, GetDC(nullptr));
  owners::Bitmap bitmap(CreateCompatibleBitmap(screen.get(), width, height));
  const owners::MemoryDc target(CreateCompatibleDC(screen.get()));
  const owners::Selection selected(target.get(), bitmap.get());
  BitBlt(target.get(), 0, 0, width, height, screen.get(), 0, 0, SRCCOPY);
  return bitmap;
}

// Fitted into the printable area and centred, with the quality Vorlane
// scales with: the same page, made with nothing else around it.
void PrintScreen() {
  const int width = GetSystemMetrics(SM_CXSCREEN);
  const int height = GetSystemMetrics(SM_CYSCREEN);
  const owners::Bitmap shot = GrabScreen(width, height);
  Gdiplus::GpBitmap* copy = nullptr;
  gp::GdipCreateBitmapFromHBITMAP(shot.get(), nullptr, &copy);
  const owners::GpBitmap image(copy);

  const owners::PrinterDc printer(CreateDCA(nullptr, printerName.c_str(), nullptr, nullptr));
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
    gp::GdipDrawImageRect(graphics.get(), image.get(), static_cast<float>((pageWidth - drawnWidth) / 2),
                          static_cast<float>((pageHeight - drawnHeight) / 2), static_cast<float>(drawnWidth),
                          static_cast<float>(drawnHeight));
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
  printerName = *arguments ? arguments : DefaultPrinter();
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
