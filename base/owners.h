#pragma once
// Scoped owners for every Win32 handle and GDI+ object the program makes.
// Each owner stores exactly what it must release, cannot be copied, and
// releases on every path. Shared system objects (stock objects, icons from
// LoadIcon) are never put in an owner.
#include <windows.h>

#include <gdiplus.h>

#include <utility>

namespace owners {

// Number of owners currently holding something. Tests compare it before and
// after an operation to prove that every path released what it made.
inline int liveCount = 0;

template <typename Handle, auto Release>
class Owner {
 public:
  Owner() = default;
  explicit Owner(Handle handle) { reset(handle); }
  ~Owner() { reset(); }
  Owner(const Owner&) = delete;
  Owner& operator=(const Owner&) = delete;
  Owner(Owner&& other) noexcept : handle_(std::exchange(other.handle_, Handle{})) {}
  Owner& operator=(Owner&& other) noexcept {
    if (this != &other) {
      reset();
      handle_ = std::exchange(other.handle_, Handle{});
    }
    return *this;
  }

  Handle get() const { return handle_; }
  explicit operator bool() const { return handle_ != Handle{}; }

  // Gives up ownership without releasing.
  Handle release() {
    if (handle_ != Handle{}) --liveCount;
    return std::exchange(handle_, Handle{});
  }

  void reset(Handle handle = Handle{}) {
    if (handle_ != Handle{}) {
      Release(handle_);
      --liveCount;
    }
    handle_ = handle;
    if (handle_ != Handle{}) ++liveCount;
  }

 private:
  Handle handle_{};
};

inline void CloseKey(HKEY key) { RegCloseKey(key); }
inline void DeleteGdiObject(HGDIOBJ object) { DeleteObject(object); }
inline void DeleteDc(HDC dc) { DeleteDC(dc); }
inline void CloseKernelHandle(HANDLE handle) { CloseHandle(handle); }
inline void DestroyMenuHandle(HMENU menu) { DestroyMenu(menu); }
inline void DestroyIconHandle(HICON icon) { DestroyIcon(icon); }
inline void DestroyWindowHandle(HWND window) { DestroyWindow(window); }
inline void FreeGlobal(HGLOBAL memory) { GlobalFree(memory); }
inline void CloseFind(HANDLE find) { FindClose(find); }
inline void ClosePrinterHandle(HANDLE printer) { ClosePrinter(printer); }

using Key = Owner<HKEY, CloseKey>;
using Bitmap = Owner<HBITMAP, DeleteGdiObject>;
using Font = Owner<HFONT, DeleteGdiObject>;
using Brush = Owner<HBRUSH, DeleteGdiObject>;
using MemoryDc = Owner<HDC, DeleteDc>;   // CreateCompatibleDC
using PrinterDc = Owner<HDC, DeleteDc>;  // CreateDCA on a printer
using Menu = Owner<HMENU, DestroyMenuHandle>;
using Icon = Owner<HICON, DestroyIconHandle>;  // LoadImage without LR_SHARED
using Window = Owner<HWND, DestroyWindowHandle>;
using GlobalMemory = Owner<HGLOBAL, FreeGlobal>;
// FindFirstFileA fails with INVALID_HANDLE_VALUE, not NULL: store only a handle it succeeded with.
using FindHandle = Owner<HANDLE, CloseFind>;
// CreateFileW also fails with INVALID_HANDLE_VALUE: store only a handle it succeeded with.
using KernelHandle = Owner<HANDLE, CloseKernelHandle>;
using PrinterHandle = Owner<HANDLE, ClosePrinterHandle>;  // OpenPrinterA

namespace gp = Gdiplus::DllExports;
inline void DisposeImage(Gdiplus::GpImage* image) { gp::GdipDisposeImage(image); }
inline void DisposeBitmap(Gdiplus::GpBitmap* bitmap) { gp::GdipDisposeImage(bitmap); }
inline void DeleteGraphics(Gdiplus::GpGraphics* graphics) { gp::GdipDeleteGraphics(graphics); }
inline void DeleteSolidFill(Gdiplus::GpSolidFill* brush) { gp::GdipDeleteBrush(brush); }
inline void DeleteFont(Gdiplus::GpFont* font) { gp::GdipDeleteFont(font); }
inline void DeleteFontFamily(Gdiplus::GpFontFamily* family) { gp::GdipDeleteFontFamily(family); }
inline void DeleteStringFormat(Gdiplus::GpStringFormat* format) { gp::GdipDeleteStringFormat(format); }
inline void DisposeImageAttributes(Gdiplus::GpImageAttributes* attributes) {
  gp::GdipDisposeImageAttributes(attributes);
}

using GpImage = Owner<Gdiplus::GpImage*, DisposeImage>;
using GpBitmap = Owner<Gdiplus::GpBitmap*, DisposeBitmap>;
using GpGraphics = Owner<Gdiplus::GpGraphics*, DeleteGraphics>;
using GpSolidFill = Owner<Gdiplus::GpSolidFill*, DeleteSolidFill>;
using GpFont = Owner<Gdiplus::GpFont*, DeleteFont>;
using GpFontFamily = Owner<Gdiplus::GpFontFamily*, DeleteFontFamily>;
using GpStringFormat = Owner<Gdiplus::GpStringFormat*, DeleteStringFormat>;
using GpImageAttributes = Owner<Gdiplus::GpImageAttributes*, DisposeImageAttributes>;

inline void ReleaseStream(IStream* stream) { stream->Release(); }
using Stream = Owner<IStream*, ReleaseStream>;  // SHCreateMemStream

template <typename Interface>
void ReleaseInterface(Interface* object) {
  object->Release();
}
template <typename Interface>
using Com = Owner<Interface*, ReleaseInterface<Interface>>;  // CoCreateInstance and the like

inline void FreeTaskMemory(wchar_t* text) { CoTaskMemFree(text); }
using TaskText = Owner<wchar_t*, FreeTaskMemory>;  // texts the shell allocates for the caller

// A device context borrowed from a window (GetDC / GetWindowDC): released
// with ReleaseDC, which needs the window as well.
class WindowDc {
 public:
  WindowDc(HWND window, HDC dc) : window_(window), dc_(dc) {
    if (dc_) ++liveCount;
  }
  ~WindowDc() {
    if (dc_) {
      ReleaseDC(window_, dc_);
      --liveCount;
    }
  }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  HDC get() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

// The device context of one WM_PAINT: BeginPaint now, EndPaint at scope end.
class PaintDc {
 public:
  explicit PaintDc(HWND window) : window_(window), dc_(BeginPaint(window, &paint_)) {
    if (dc_) ++liveCount;
  }
  ~PaintDc() {
    EndPaint(window_, &paint_);
    if (dc_) --liveCount;
  }
  PaintDc(const PaintDc&) = delete;
  PaintDc& operator=(const PaintDc&) = delete;
  HDC get() const { return dc_; }

 private:
  HWND window_;
  PAINTSTRUCT paint_{};
  HDC dc_;
};

// Selects an object into a device context and restores the previous one.
class Selection {
 public:
  Selection(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
  ~Selection() {
    if (previous_) SelectObject(dc_, previous_);
  }
  Selection(const Selection&) = delete;
  Selection& operator=(const Selection&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

// GDI+ is started for the whole run and shut down last, and only when it
// started: a failed start leaves nothing to shut down.
class GdiplusSession {
 public:
  GdiplusSession() {
    Gdiplus::GdiplusStartupInput input;  // version 1, no callback, background thread on
    status_ = Gdiplus::GdiplusStartup(&token_, &input, nullptr);
  }
  ~GdiplusSession() {
    if (started()) Gdiplus::GdiplusShutdown(token_);
  }
  GdiplusSession(const GdiplusSession&) = delete;
  GdiplusSession& operator=(const GdiplusSession&) = delete;

  bool started() const { return status_ == Gdiplus::Ok; }

 private:
  ULONG_PTR token_ = 0;
  Gdiplus::Status status_ = Gdiplus::GenericError;
};

}  // namespace owners
