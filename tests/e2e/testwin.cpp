// A window with known content for the end-to-end tests: four solid quadrants
// (red, green / blue, yellow) so that a printed page can be checked by colour
// and position. Usage:
//   testwin X Y WIDTH HEIGHT TITLE [popup] [plain] [white] [random] [hue] [editor] [document] [darknoise]
// The size is the whole window's, frame included; "popup" makes it frameless,
// "plain" paints it a light grey instead, "white" white, "random" fills it
// with pixels of random colours, the same at every start, that no page can
// compress, and "hue" with one full colour whose hue turns round once in
// kHueTurnMs, so that shots taken at different moments differ, in order.
// "editor" draws lines of code in a dark editor's colours, "document" lines
// of text on white in a document's, and "darknoise" random pixels on three
// in four of the dark editor's.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <random>
#include <vector>

namespace {

const COLORREF kQuadrants[4] = {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255), RGB(255, 255, 0)};
const COLORREF kPlain = RGB(200, 200, 200);
const COLORREF kWhite = RGB(255, 255, 255);
bool plain = false;
bool white = false;
bool random = false;
bool hue = false;
bool darkNoise = false;
constexpr ULONGLONG kHueTurnMs = 32000;
constexpr UINT kHueRepaintMs = 50;

// The colour of the hue at this moment, at full saturation and value.
COLORREF HueNow() {
  const double sixths = static_cast<double>(GetTickCount64() % kHueTurnMs) * 6 / kHueTurnMs;
  const int sector = static_cast<int>(sixths);
  const auto rising = static_cast<BYTE>(255 * (sixths - sector));
  const auto falling = static_cast<BYTE>(255 - rising);
  const COLORREF sectors[6] = {RGB(255, rising, 0),  RGB(falling, 255, 0), RGB(0, 255, rising),
                               RGB(0, falling, 255), RGB(rising, 0, 255),  RGB(255, 0, falling)};
  return sectors[sector];
}

// Lines of text on a background, each line in the next of the colours.
struct Theme {
  COLORREF background;
  std::vector<COLORREF> colours;
  std::vector<const wchar_t*> lines;
};
const Theme kEditor{RGB(0x1E, 0x1E, 0x1E),
                    {RGB(0xD4, 0xD4, 0xD4), RGB(0x56, 0x9C, 0xD6), RGB(0xCE, 0x91, 0x78), RGB(0x6A, 0x99, 0x55)},
                    {L"def print_page(shot, printer):", L"    for window in shot.windows:",
                     L"        page.draw(window, colours=\"light background\")",
                     L"    # Dark screens print light, each colour as clear as it was."}};
const Theme kDocument{
    RGB(255, 255, 255),
    {RGB(0, 0, 0), RGB(0x05, 0x63, 0xC1), RGB(0xC0, 0, 0), RGB(0x76, 0x76, 0x76), RGB(0xE6, 0x95, 0x00)},
    {L"A page comes out of the printer with nothing to click.", L"Read the guide: Saving ink and paper",
     L"Printing the screen", L"Dark windows print light; light ones print as they are.",
     L"Note: the watermark keeps its colour."}};
const Theme* theme = nullptr;

void PaintText(HDC dc, const RECT& client, const Theme& shown) {
  HBRUSH brush = CreateSolidBrush(shown.background);
  FillRect(dc, &client, brush);
  DeleteObject(brush);
  HFONT font = CreateFontW(-15, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                           CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, FIXED_PITCH, L"DejaVu Sans Mono");
  HGDIOBJ before = SelectObject(dc, font);
  SetBkMode(dc, TRANSPARENT);
  for (size_t line = 0; 22 * line + 34 <= static_cast<size_t>(client.bottom); ++line) {
    const wchar_t* text = shown.lines[line % shown.lines.size()];
    SetTextColor(dc, shown.colours[line % shown.colours.size()]);
    TextOutW(dc, 12, static_cast<int>(12 + 22 * line), text, static_cast<int>(std::wcslen(text)));
  }
  SelectObject(dc, before);
  DeleteObject(font);
}

// Pixels of random colours, 32 bits each, top row first; made once per size.
void PaintRandom(HDC dc, int width, int height) {
  static std::vector<uint32_t> pixels;
  const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
  if (pixels.size() != count) {
    std::mt19937 generator(20260101);
    pixels.resize(count);
    for (uint32_t& pixel : pixels) {
      const uint32_t drawn = generator();
      // On dark noise, one pixel in four shows the editor's background: the background of a photo on it.
      pixel = darkNoise && drawn >> 30 == 0 ? 0x1E1E1E : drawn & 0xFFFFFF;
    }
  }
  BITMAPINFO info{};
  info.bmiHeader = {sizeof info.bmiHeader, width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  SetDIBitsToDevice(dc, 0, 0, width, height, 0, 0, 0, height, pixels.data(), &info, DIB_RGB_COLORS);
}

LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(window, &paint);
      RECT client;
      GetClientRect(window, &client);
      if (random || darkNoise) {
        PaintRandom(dc, client.right, client.bottom);
        EndPaint(window, &paint);
        return 0;
      }
      if (hue) {
        HBRUSH brush = CreateSolidBrush(HueNow());
        FillRect(dc, &client, brush);
        DeleteObject(brush);
        EndPaint(window, &paint);
        return 0;
      }
      if (theme) {
        PaintText(dc, client, *theme);
        EndPaint(window, &paint);
        return 0;
      }
      const int halfWidth = client.right / 2;
      const int halfHeight = client.bottom / 2;
      for (int i = 0; i < 4; ++i) {
        RECT part{(i % 2) * halfWidth, (i / 2) * halfHeight, (i % 2) ? client.right : halfWidth,
                  (i / 2) ? client.bottom : halfHeight};
        HBRUSH brush = CreateSolidBrush(white ? kWhite : plain ? kPlain : kQuadrants[i]);
        FillRect(dc, &part, brush);
        DeleteObject(brush);
      }
      EndPaint(window, &paint);
      return 0;
    }
    case WM_TIMER:
      InvalidateRect(window, nullptr, FALSE);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

// The title comes in whatever script: the arguments are taken as the system has them.
// Its place and size are physical pixels at every DPI.
int main() {
  SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
  int argc = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (argc < 6) {
    std::fputs(
        "usage: testwin X Y WIDTH HEIGHT TITLE [popup] [plain] [white] [random] [hue] [editor] [document] "
        "[darknoise]\n",
        stderr);
    return 2;
  }
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = Procedure;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.lpszClassName = L"VorlaneTestWindow";
  RegisterClassW(&windowClass);
  bool popup = false;
  for (int i = 6; i < argc; ++i) {
    popup = popup || std::wcscmp(argv[i], L"popup") == 0;
    plain = plain || std::wcscmp(argv[i], L"plain") == 0;
    white = white || std::wcscmp(argv[i], L"white") == 0;
    random = random || std::wcscmp(argv[i], L"random") == 0;
    hue = hue || std::wcscmp(argv[i], L"hue") == 0;
    darkNoise = darkNoise || std::wcscmp(argv[i], L"darknoise") == 0;
    if (std::wcscmp(argv[i], L"editor") == 0) theme = &kEditor;
    if (std::wcscmp(argv[i], L"document") == 0) theme = &kDocument;
  }
  HWND window =
      CreateWindowExW(popup ? WS_EX_TOPMOST : 0, L"VorlaneTestWindow", argv[5],
                      popup ? WS_POPUP : WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, _wtoi(argv[1]), _wtoi(argv[2]),
                      _wtoi(argv[3]), _wtoi(argv[4]), nullptr, nullptr, windowClass.hInstance, nullptr);
  if (hue) SetTimer(window, 1, kHueRepaintMs, nullptr);
  ShowWindow(window, SW_SHOW);
  UpdateWindow(window);
  SetForegroundWindow(window);
  std::printf("%#llx\n", static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(window)));
  std::fflush(stdout);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return 0;
}
