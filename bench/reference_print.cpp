// The least a program can do to print the screen on a hot key: on
// Ctrl+Shift+Print Screen one BitBlt of the screen, one GDI+ copy of it and
// one scaled draw onto a page of the default printer. GDI+ resamples the
// shot to the printer's resolution: this measures what that costs. The
// benchmark compares Vorlane's hot-key-to-spooler time with this one's.
// Usage: reference_print [direct] [landscape] [gray] [all] [PRINTER]
// "direct" does the least for a page at the shot's own resolution instead:
// one BitBlt into a 24-bit device-independent bitmap, the form the printer
// driver takes without converting it, and one StretchDIBits of it, without
// GDI+. "landscape" prints on a landscape page, through device
// settings taken once at the start; "gray" draws through a gray colour
// matrix, or with "direct" sends 8-bit gray pixels; "all" takes the virtual
// screen, every monitor, in one BitBlt instead of the primary.
// It ends on WM_CLOSE to its hidden window of class "VorlaneReferencePrint".
#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>
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
bool direct = false;
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

// A device-independent bitmap: its header, with the gray scale for 8 bits a pixel, and its pixels.
struct Picture {
  struct {
    BITMAPINFOHEADER info;
    RGBQUAD colors[256];
  } header{};
  owners::Bitmap section;
  uint8_t* bits = nullptr;
  const BITMAPINFO* Info() const { return reinterpret_cast<const BITMAPINFO*>(&header); }
};

Picture MakePicture(int width, int height, WORD bitsPerPixel) {
  Picture picture;
  picture.header.info = {sizeof picture.header.info, width, -height, 1, bitsPerPixel, BI_RGB, 0, 0, 0, 0, 0};
  if (bitsPerPixel == 8) {
    picture.header.info.biClrUsed = 256;
    for (int level = 0; level < 256; ++level) {
      const auto value = static_cast<BYTE>(level);
      picture.header.colors[level] = {value, value, value, 0};
    }
  }
  void* bits = nullptr;
  picture.section.reset(CreateDIBSection(nullptr, picture.Info(), DIB_RGB_COLORS, &bits, nullptr, 0));
  picture.bits = static_cast<uint8_t*>(bits);
  return picture;
}

Picture GrabPicture(int left, int top, int width, int height) {
  Picture picture = MakePicture(width, height, 24);
  const owners::WindowDc screen(nullptr, GetDC(nullptr));
  const owners::MemoryDc target(CreateCompatibleDC(screen.get()));
  const owners::Selection selected(target.get(), picture.section.get());
  BitBlt(target.get(), 0, 0, width, height, screen.get(), left, top, SRCCOPY);
  GdiFlush();
  if (!gray) return picture;
  Picture grayPicture = MakePicture(width, height, 8);
  const int colourStride = (width * 3 + 3) & ~3;
  const int grayStride = (width + 3) & ~3;
  for (int y = 0; y < height; ++y) {
    const uint8_t* colour = picture.bits + static_cast<size_t>(y) * colourStride;
    uint8_t* row = grayPicture.bits + static_cast<size_t>(y) * grayStride;
    for (int x = 0; x < width; ++x, colour += 3)
      row[x] = (299 * colour[2] + 587 * colour[1] + 114 * colour[0] + 500) / 1000;
  }
  return grayPicture;
}

// The screen's own pixels, fitted and centred by the device.
void DrawDirect(HDC printer, int left, int top, int width, int height) {
  const Picture picture = GrabPicture(left, top, width, height);
  const double pageWidth = GetDeviceCaps(printer, HORZRES);
  const double pageHeight = GetDeviceCaps(printer, VERTRES);
  const double scale = std::min(pageWidth / width, pageHeight / height);
  const int drawnWidth = static_cast<int>(std::lround(width * scale));
  const int drawnHeight = static_cast<int>(std::lround(height * scale));
  StretchDIBits(printer, static_cast<int>(std::lround((pageWidth - drawnWidth) / 2)),
                static_cast<int>(std::lround((pageHeight - drawnHeight) / 2)), drawnWidth, drawnHeight, 0, 0, width,
                height, picture.bits, picture.Info(), DIB_RGB_COLORS, SRCCOPY);
}

// Fitted into the printable area and centred, with the quality Vorlane
// scaled with before it gave the driver the shot's own pixels: the same
// page, made with nothing else around it.
void DrawResampled(HDC printer, int left, int top, int width, int height) {
  const owners::Bitmap shot = GrabScreen(left, top, width, height);
  Gdiplus::GpBitmap* copy = nullptr;
  gp::GdipCreateBitmapFromHBITMAP(shot.get(), nullptr, &copy);
  const owners::GpBitmap image(copy);
  {
    Gdiplus::GpGraphics* page = nullptr;
    gp::GdipCreateFromHDC(printer, &page);
    const owners::GpGraphics graphics(page);
    gp::GdipSetPageUnit(graphics.get(), Gdiplus::UnitInch);
    gp::GdipSetInterpolationMode(graphics.get(), Gdiplus::InterpolationModeHighQuality);
    const double pageWidth = static_cast<double>(GetDeviceCaps(printer, HORZRES)) / GetDeviceCaps(printer, LOGPIXELSX);
    const double pageHeight = static_cast<double>(GetDeviceCaps(printer, VERTRES)) / GetDeviceCaps(printer, LOGPIXELSY);
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
}

void PrintScreen() {
  const int left = allScreens ? GetSystemMetrics(SM_XVIRTUALSCREEN) : 0;
  const int top = allScreens ? GetSystemMetrics(SM_YVIRTUALSCREEN) : 0;
  const int width = GetSystemMetrics(allScreens ? SM_CXVIRTUALSCREEN : SM_CXSCREEN);
  const int height = GetSystemMetrics(allScreens ? SM_CYVIRTUALSCREEN : SM_CYSCREEN);
  const auto* settings =
      landscapeSettings.empty() ? nullptr : reinterpret_cast<const DEVMODEA*>(landscapeSettings.data());
  const owners::PrinterDc printer(CreateDCA(nullptr, printerName.c_str(), nullptr, settings));
  if (!printer) return;
  DOCINFOA document{};
  document.cbSize = sizeof document;
  document.lpszDocName = kDocumentName;
  StartDocA(printer.get(), &document);
  StartPage(printer.get());
  if (direct) {
    DrawDirect(printer.get(), left, top, width, height);
  } else {
    DrawResampled(printer.get(), left, top, width, height);
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
  direct = TakeOption(arguments, "direct");
  // The direct page needs no GDI+ at all.
  std::optional<owners::GdiplusSession> gdiplus;
  if (!direct) gdiplus.emplace();
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
