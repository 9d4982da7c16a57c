// The watermark drawn onto real GDI+ bitmaps and checked pixel by pixel, and
// the date and time texts against the locale functions.
//
// The prefix must map "Arial" and "Microsoft Sans Serif" to "Liberation Sans"
// under HKCU\Software\Wine\Fonts\Replacements, as Windows has both fonts and
// GDI+'s generic sans-serif family looks for them.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "base/owners.h"
#include "services/output/stamp_watermark.h"
#include "tests/win/test_owners.h"

namespace gp = Gdiplus::DllExports;

namespace {

constexpr UINT kWidth = 400;
constexpr UINT kHeight = 300;
constexpr int kMargin = 10;
constexpr int kFontSize = 24;
constexpr Gdiplus::ARGB kWhite = 0xFFFFFFFFu;
// A channel this far below white counts as ink; anti-aliasing leaves fainter
// traces at glyph edges that say nothing about placement.
constexpr int kInkLevel = 240;

struct Rgb {
  int red;
  int green;
  int blue;
};

Rgb Channels(uint32_t argb) {
  return {static_cast<int>(argb >> 16 & 0xFF), static_cast<int>(argb >> 8 & 0xFF), static_cast<int>(argb & 0xFF)};
}

bool IsInk(uint32_t argb) {
  const Rgb c = Channels(argb);
  return std::min({c.red, c.green, c.blue}) < kInkLevel;
}

// What was drawn: the inked pixels and their bounding box (inclusive).
struct Ink {
  int count = 0;
  long darkness = 0;
  int left = INT_MAX;
  int top = INT_MAX;
  int right = -1;
  int bottom = -1;
  uint32_t strongest = kWhite;  // the pixel farthest from white
  bool any() const { return count > 0; }
};

// A white 32-bit ARGB bitmap with a graphics context on it, as PrintSheet
// makes from a captured shot.
class Canvas {
 public:
  Canvas(UINT width, UINT height) : width_(width), height_(height) {
    Gdiplus::GpBitmap* bitmap = nullptr;
    gp::GdipCreateBitmapFromScan0(static_cast<INT>(width), static_cast<INT>(height), 0, PixelFormat32bppARGB, nullptr,
                                  &bitmap);
    bitmap_.reset(bitmap);
    Gdiplus::GpGraphics* graphics = nullptr;
    gp::GdipGetImageGraphicsContext(bitmap_.get(), &graphics);
    graphics_.reset(graphics);
    gp::GdipGraphicsClear(graphics_.get(), kWhite);
  }

  bool ready() const { return bitmap_ && graphics_; }
  Gdiplus::GpGraphics* graphics() const { return graphics_.get(); }

  std::vector<uint32_t> Pixels() const {
    gp::GdipFlush(graphics_.get(), Gdiplus::FlushIntentionSync);
    std::vector<uint32_t> pixels(static_cast<size_t>(width_) * height_);
    Gdiplus::GpRect all(0, 0, static_cast<INT>(width_), static_cast<INT>(height_));
    Gdiplus::BitmapData data{};
    if (gp::GdipBitmapLockBits(bitmap_.get(), &all, Gdiplus::ImageLockModeRead, PixelFormat32bppARGB, &data) !=
        Gdiplus::Ok) {
      ADD_FAILURE() << "the bitmap's pixels cannot be read";
      return pixels;
    }
    for (UINT y = 0; y < height_; ++y) {
      const auto* row = reinterpret_cast<const uint32_t*>(static_cast<const BYTE*>(data.Scan0) + y * data.Stride);
      std::copy(row, row + width_, pixels.begin() + static_cast<ptrdiff_t>(y * width_));
    }
    gp::GdipBitmapUnlockBits(bitmap_.get(), &data);
    return pixels;
  }

  // The ink inside [0, right) x [0, bottom) or, with outside set, beyond it.
  Ink Measure(int right, int bottom, bool outside = false) const {
    const std::vector<uint32_t> pixels = Pixels();
    Ink ink;
    long strongest = 0;
    for (int y = 0; y < static_cast<int>(height_); ++y) {
      for (int x = 0; x < static_cast<int>(width_); ++x) {
        const bool inside = x < right && y < bottom;
        const uint32_t pixel = pixels[static_cast<size_t>(y) * width_ + static_cast<size_t>(x)];
        if (inside == outside || !IsInk(pixel)) continue;
        const Rgb c = Channels(pixel);
        const long distance = 3 * 255 - c.red - c.green - c.blue;
        ++ink.count;
        ink.darkness += distance;
        ink.left = std::min(ink.left, x);
        ink.top = std::min(ink.top, y);
        ink.right = std::max(ink.right, x);
        ink.bottom = std::max(ink.bottom, y);
        if (distance > strongest) {
          strongest = distance;
          ink.strongest = pixel;
        }
      }
    }
    return ink;
  }
  Ink Measure() const { return Measure(static_cast<int>(width_), static_cast<int>(height_)); }

  // Mean x of the ink in the top quarter of its box minus that in the bottom
  // quarter: near zero for upright strokes, positive for slanted ones.
  double Slant() const {
    const Ink box = Measure();
    const std::vector<uint32_t> pixels = Pixels();
    const int quarter = (box.bottom - box.top + 1) / 4;
    auto meanX = [&](int from, int to) {
      double sum = 0;
      int count = 0;
      for (int y = from; y < to; ++y) {
        for (int x = box.left; x <= box.right; ++x) {
          if (IsInk(pixels[static_cast<size_t>(y) * width_ + static_cast<size_t>(x)])) {
            sum += x;
            ++count;
          }
        }
      }
      return count ? sum / count : 0.0;
    };
    return meanX(box.top, box.top + quarter) - meanX(box.bottom + 1 - quarter, box.bottom + 1);
  }

  // Bands of inked rows separated by blank rows: the lines of text.
  int Lines() const {
    const std::vector<uint32_t> pixels = Pixels();
    int lines = 0;
    bool inLine = false;
    for (UINT y = 0; y < height_; ++y) {
      const auto row = pixels.begin() + static_cast<ptrdiff_t>(y * width_);
      const bool inked = std::any_of(row, row + width_, IsInk);
      if (inked && !inLine) ++lines;
      inLine = inked;
    }
    return lines;
  }

 private:
  UINT width_;
  UINT height_;
  owners::GpBitmap bitmap_;
  owners::GpGraphics graphics_;
};

// The moment the stamped shots were taken.
constexpr SYSTEMTIME kTaken = {2024, 6, 1, 14, 16, 30, 5, 0};

Preferences Watermark(const std::string& text, int32_t location = 0) {
  Preferences p;
  p.WatermarkMake = true;
  p.WatermarkText = text;
  p.WatermarkFontName = "Liberation Sans";
  p.WatermarkFontSize = kFontSize;
  p.WatermarkLocation = location;
  return p;
}

// Stamps an image of the given size (the canvas may be larger, to catch ink
// drawn beyond the image) and checks that every GDI+ object was released.
void Stamp(const Canvas& canvas, const Preferences& preferences, UINT width = kWidth, UINT height = kHeight,
           const std::string& title = "") {
  ASSERT_TRUE(canvas.ready());
  const int live = owners::liveCount;
  StampWatermark(canvas.graphics(), width, height, title, kTaken, preferences);
  EXPECT_EQ(owners::liveCount, live) << "a GDI+ object outlived the stamp";
}

class WatermarkStamp : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { session_ = std::make_unique<owners::GdiplusSession>(); }
  static void TearDownTestSuite() { session_.reset(); }

  static void ExpectInsideMargins(const Ink& ink) {
    EXPECT_GE(ink.left, kMargin);
    EXPECT_GE(ink.top, kMargin);
    EXPECT_LT(ink.right, static_cast<int>(kWidth) - kMargin);
    EXPECT_LT(ink.bottom, static_cast<int>(kHeight) - kMargin);
  }

 private:
  static inline std::unique_ptr<owners::GdiplusSession> session_;
};

enum class Side { Near, Far };

}  // namespace

TEST_F(WatermarkStamp, EachLocationPutsTheTextAgainstTheMarginsOfItsCorner) {
  struct Case {
    int32_t location;
    Side horizontal;
    Side vertical;
  };
  const Case cases[] = {
      {0, Side::Near, Side::Near}, {1, Side::Far, Side::Near},   {2, Side::Near, Side::Far},  {3, Side::Far, Side::Far},
      {9, Side::Near, Side::Near}, {-1, Side::Near, Side::Near}, {4, Side::Near, Side::Near},
  };
  // GDI+ pads a line by a sixth of the em on each side, and glyphs have
  // bearings and descents: the ink lies within half an em of the margins.
  const int slack = kFontSize / 2;
  const int right = static_cast<int>(kWidth) - kMargin;
  const int bottom = static_cast<int>(kHeight) - kMargin;
  for (const auto& c : cases) {
    SCOPED_TRACE("location " + std::to_string(c.location));
    Canvas canvas(kWidth, kHeight);
    Stamp(canvas, Watermark("Wgy 12", c.location));
    const Ink ink = canvas.Measure();
    ASSERT_TRUE(ink.any());
    ExpectInsideMargins(ink);
    if (c.horizontal == Side::Near) {
      EXPECT_LT(ink.left, kMargin + slack);
      EXPECT_LT(ink.right, static_cast<int>(kWidth) / 2);
    } else {
      EXPECT_GE(ink.right, right - slack);
      EXPECT_GT(ink.left, static_cast<int>(kWidth) / 2);
    }
    if (c.vertical == Side::Near) {
      EXPECT_LT(ink.top, kMargin + slack);
      EXPECT_LT(ink.bottom, static_cast<int>(kHeight) / 2);
    } else {
      EXPECT_GE(ink.bottom, bottom - slack);
      EXPECT_GT(ink.top, static_cast<int>(kHeight) / 2);
    }
  }
}

TEST_F(WatermarkStamp, ColourAndTransparencyBlendOntoThePixels) {
  struct Case {
    int32_t colorRef;
    int32_t transparency;
    Rgb fullyCovered;  // white under the colour at alpha (255 - transparency) / 255
  };
  const Case cases[] = {
      {0x0000FF, 0, {255, 0, 0}},  // COLORREF red is drawn red
      {0xFF0000, 0, {0, 0, 255}},  // and COLORREF blue blue
      {0x0000FF, 128, {255, 128, 128}}, {0x00FF00, 64, {64, 255, 64}},
      {0x0000FF, 256, {255, 0, 0}},  // wraps round to opaque
  };
  const int tolerance = 4;
  for (const auto& c : cases) {
    SCOPED_TRACE("colour " + std::to_string(c.colorRef) + " transparency " + std::to_string(c.transparency));
    Canvas canvas(kWidth, kHeight);
    Preferences p = Watermark("HHH");
    p.WatermarkFontSize = 64;
    p.WatermarkFontStyle = 1;
    p.WatermarkFontColor = c.colorRef;
    p.WatermarkFontTransparency = c.transparency;
    Stamp(canvas, p);
    const Ink ink = canvas.Measure();
    ASSERT_TRUE(ink.any());
    const Rgb strongest = Channels(ink.strongest);
    EXPECT_NEAR(strongest.red, c.fullyCovered.red, tolerance);
    EXPECT_NEAR(strongest.green, c.fullyCovered.green, tolerance);
    EXPECT_NEAR(strongest.blue, c.fullyCovered.blue, tolerance);
  }
}

TEST_F(WatermarkStamp, FullTransparencyDrawsNothing) {
  Canvas canvas(kWidth, kHeight);
  Preferences p = Watermark("HHH");
  p.WatermarkFontColor = 0x0000FF;
  p.WatermarkFontTransparency = 255;
  Stamp(canvas, p);
  EXPECT_EQ(canvas.Measure().count, 0);
}

TEST_F(WatermarkStamp, StyleBitsMakeBoldAndItalic) {
  struct Measured {
    long darkness;
    double slant;
  };
  auto draw = [](int32_t style) {
    Canvas canvas(kWidth, kHeight);
    Preferences p = Watermark("IIIII");
    p.WatermarkFontSize = 64;
    p.WatermarkFontStyle = style;
    Stamp(canvas, p);
    return Measured{canvas.Measure().darkness, canvas.Slant()};
  };
  const Measured regular = draw(0);
  ASSERT_GT(regular.darkness, 0);
  EXPECT_LT(std::abs(regular.slant), 1.0);

  struct Case {
    int32_t style;
    bool bold;
    bool italic;
  };
  const Case cases[] = {{1, true, false}, {2, false, true}, {3, true, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE("style " + std::to_string(c.style));
    const Measured m = draw(c.style);
    const double weight = static_cast<double>(m.darkness) / static_cast<double>(regular.darkness);
    if (c.bold) {
      EXPECT_GT(weight, 1.25);
    } else {
      EXPECT_LT(weight, 1.15);
    }
    if (c.italic) {
      EXPECT_GT(m.slant, 3.0);
    } else {
      EXPECT_LT(std::abs(m.slant), 1.0);
    }
  }
}

TEST_F(WatermarkStamp, StyleBitsBeyondBoldAndItalicStillDraw) {
  for (int32_t style : {4, 8, 15}) {
    SCOPED_TRACE("style " + std::to_string(style));
    Canvas canvas(kWidth, kHeight);
    Preferences p = Watermark("Styled");
    p.WatermarkFontStyle = style;
    Stamp(canvas, p);
    const Ink ink = canvas.Measure();
    EXPECT_TRUE(ink.any());
    ExpectInsideMargins(ink);
  }
}

TEST_F(WatermarkStamp, LongTextWrapsAndIsClippedToTheMargins) {
  auto repeat = [](const char* word, int times) {
    std::string text;
    for (int i = 0; i < times; ++i) text += word;
    return text;
  };
  const std::string words = repeat("word ", 30);
  const std::string flood = repeat("word ", 400);
  const std::string unbroken = repeat("W", 300);

  struct Case {
    const char* name;
    const std::string& text;
    int32_t location;
    int minimumLines;  // 0: whether anything shows is not fixed
    bool fillsHeight;
  };
  // Where GDI+ puts a block taller than the rectangle when it is aligned to
  // the bottom differs between its builds; fixed is only that nothing
  // leaves the rectangle.
  const Case cases[] = {
      {"words", words, 0, 3, false},
      {"words at the bottom right", words, 3, 3, false},
      {"flood", flood, 0, 8, true},
      {"flood at the right", flood, 1, 8, true},
      {"one unbroken word", unbroken, 0, 2, false},
      {"flood from the bottom", flood, 2, 0, false},
      {"flood from the bottom right", flood, 3, 0, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Canvas canvas(kWidth, kHeight);
    Stamp(canvas, Watermark(c.text, c.location));
    const Ink ink = canvas.Measure();
    if (c.minimumLines == 0 && !ink.any()) continue;
    ASSERT_TRUE(ink.any());
    ExpectInsideMargins(ink);
    EXPECT_GE(canvas.Lines(), c.minimumLines);
    if (c.minimumLines > 0) {
      // Full lines reach across most of the rectangle.
      EXPECT_GT(ink.right - ink.left, static_cast<int>(kWidth) / 2);
    }
    if (c.fillsHeight) {
      EXPECT_LT(ink.top, kMargin + kFontSize);
      EXPECT_GT(ink.bottom, static_cast<int>(kHeight) - kMargin - kFontSize);
    }
  }
}

TEST_F(WatermarkStamp, EmptyExpandedTextDrawsNothing) {
  struct Case {
    const char* text;
    const char* title;
  };
  const Case cases[] = {{"", ""}, {"", "Editor"}, {"%WINDOW%", ""}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    Canvas canvas(kWidth, kHeight);
    Stamp(canvas, Watermark(c.text), kWidth, kHeight, c.title);
    EXPECT_EQ(canvas.Measure().count, 0);
  }
}

TEST_F(WatermarkStamp, ImagesTooSmallForTheMarginsGetNoInkOutsideThem) {
  struct Case {
    UINT width;
    UINT height;
  };
  const Case cases[] = {{10, 10}, {20, 5}, {20, 20}, {5, 300}, {400, 20}, {21, 21}, {0, 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height));
    Canvas canvas(kWidth, kHeight);
    Stamp(canvas, Watermark("Wide watermark text"), c.width, c.height);
    EXPECT_EQ(canvas.Measure(static_cast<int>(c.width), static_cast<int>(c.height), true).count, 0);
  }
  for (const auto& c : {Case{10, 10}, Case{20, 5}}) {
    Canvas tiny(c.width, c.height);
    Stamp(tiny, Watermark("Wide watermark text"), c.width, c.height);
    EXPECT_EQ(tiny.Measure().count, 0);
  }
}

// PrintSheet hands on an empty graphics when the shot image could not be made.
TEST_F(WatermarkStamp, NoGraphicsIsNoCrash) {
  const int live = owners::liveCount;
  StampWatermark(nullptr, kWidth, kHeight, "Editor", kTaken, Watermark("%DATE% %WINDOW%"));
  EXPECT_EQ(owners::liveCount, live);
}

TEST_F(WatermarkStamp, AFontThatCannotBeMadeFallsBackToSansSerif) {
  const char* names[] = {"MS Sans Serif", "", "No Such Font 4711", "DejaVu Sans", "Liberation Sans"};
  for (const char* name : names) {
    SCOPED_TRACE(name);
    Canvas canvas(kWidth, kHeight);
    Preferences p = Watermark("Fallback 12:00");
    p.WatermarkFontName = name;
    Stamp(canvas, p);
    const Ink ink = canvas.Measure();
    EXPECT_GT(ink.count, 50) << "no watermark; does the prefix have the font replacements?";
    ExpectInsideMargins(ink);
  }
}

TEST_F(WatermarkStamp, RepeatedFallbackStampsStayBalanced) {
  Canvas canvas(kWidth, kHeight);
  Preferences p = Watermark("x");
  p.WatermarkFontName = "MS Sans Serif";
  for (int i = 0; i < 300; ++i) Stamp(canvas, p);
  EXPECT_TRUE(canvas.Measure().any());
}

// The fallback deletes the generic family it was given; that must leave the
// generic family GDI+ hands out next usable.
TEST_F(WatermarkStamp, DeletingAGenericFamilyLeavesTheNextOneUsable) {
  Gdiplus::GpFontFamily* first = nullptr;
  Gdiplus::GpFontFamily* second = nullptr;
  ASSERT_EQ(gp::GdipGetGenericFontFamilySansSerif(&first), Gdiplus::Ok);
  ASSERT_EQ(gp::GdipGetGenericFontFamilySansSerif(&second), Gdiplus::Ok);
  owners::GpFontFamily kept(second);
  gp::GdipDeleteFontFamily(first);
  Gdiplus::GpFont* font = nullptr;
  EXPECT_EQ(gp::GdipCreateFont(kept.get(), 12.0f, 0, Gdiplus::UnitPixel, &font), Gdiplus::Ok);
  owners::GpFont ownedFont(font);
  WCHAR name[LF_FACESIZE] = {};
  EXPECT_EQ(gp::GdipGetFamilyName(kept.get(), name, LANG_NEUTRAL), Gdiplus::Ok);
  EXPECT_NE(name[0], L'\0');
}

TEST(WatermarkDateTime, FetchDoublesTheBufferOnlyWhileItIsTooSmall) {
  struct Case {
    int textLength;                  // characters without the terminator
    DWORD failure;                   // the error when the buffer is large enough, 0 for success
    std::vector<int> expectedCalls;  // buffer lengths offered
    bool empty;
  };
  const Case cases[] = {
      {0, 0, {100}, true},
      {10, 0, {100}, false},
      {99, 0, {100}, false},
      {100, 0, {100, 200}, false},
      {250, 0, {100, 200, 400}, false},
      {10, ERROR_INVALID_PARAMETER, {100}, true},
      {150, ERROR_INVALID_FLAGS, {100, 200}, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.textLength);
    const std::string text(static_cast<size_t>(c.textLength), 'd');
    std::vector<int> calls;
    const std::string fetched = FetchLocaleText([&](wchar_t* buffer, int length) {
      calls.push_back(length);
      if (length < c.textLength + 1) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
      }
      if (c.failure) {
        SetLastError(c.failure);
        return 0;
      }
      std::copy(text.begin(), text.end(), buffer);
      buffer[c.textLength] = L'\0';
      return c.textLength + 1;
    });
    EXPECT_EQ(calls, c.expectedCalls);
    EXPECT_EQ(fetched, c.empty ? std::string() : text);
  }
}

TEST(WatermarkDateTime, FetchGivesUpOnAFormatterThatNeverFits) {
  int calls = 0;
  const std::string fetched = FetchLocaleText([&calls](wchar_t*, int) {
    ++calls;
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  });
  EXPECT_EQ(fetched, "");
  EXPECT_GT(calls, 1);
  EXPECT_LT(calls, 32);
}

TEST(WatermarkDateTime, TextsOfAFixedMomentAreTheLocaleFunctionsTexts) {
  const SYSTEMTIME moments[] = {
      {2024, 2, 4, 29, 12, 5, 9, 0},
      {1999, 12, 5, 31, 23, 59, 59, 999},
      {2000, 1, 6, 1, 0, 0, 0, 0},
      {2038, 1, 2, 19, 3, 14, 7, 500},
  };
  for (const auto& moment : moments) {
    SCOPED_TRACE(std::to_string(moment.wYear) + "-" + std::to_string(moment.wMonth) + "-" +
                 std::to_string(moment.wDay));
    char date[256] = {};
    char time[256] = {};
    ASSERT_GT(GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &moment, nullptr, date, sizeof date), 0);
    ASSERT_GT(GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &moment, nullptr, time, sizeof time), 0);
    const DateTimeTexts texts = FormatDateAndTime(moment);
    EXPECT_EQ(texts.date, date);
    EXPECT_EQ(texts.time, time);
  }
}

TEST(WatermarkDateTime, TheWindowTitleIsTakenLiterallyAndTheShotsTimeStamped) {
  const SYSTEMTIME taken = {2024, 2, 4, 29, 12, 5, 9, 0};
  const DateTimeTexts texts = FormatDateAndTime(taken);
  ASSERT_FALSE(texts.date.empty() || texts.time.empty());
  EXPECT_EQ(WatermarkTextAt("%WINDOW% %DATE% %TIME%", "Report %DATE% %TIME%", taken),
            "Report %DATE% %TIME% " + texts.date + " " + texts.time);
}

TEST(WatermarkDateTime, AMomentTheLocaleCannotFormatGivesEmptyTexts) {
  const SYSTEMTIME impossible = {2024, 13, 0, 40, 25, 61, 61, 0};
  const DateTimeTexts texts = FormatDateAndTime(impossible);
  EXPECT_EQ(texts.date, "");
  EXPECT_EQ(texts.time, "");
}

namespace {

// Formats no default locale uses, so that the texts show where they came
// from. Wine reads the user's formats once per process, hence the child run.
constexpr const char* kInternational = "Control Panel\\International";
constexpr const char* kChildVariable = "VORLANE_WATERMARK_LOCALE_CHILD";
struct LocaleValue {
  const char* name;
  const char* format;
};
constexpr LocaleValue kLocaleFormats[] = {{"sShortDate", "yyyy/MM/dd"}, {"sTimeFormat", "HH.mm.ss"}};

// Sets values under the user's International key and puts the old ones back.
class LocaleOverride {
 public:
  LocaleOverride() {
    HKEY key = nullptr;
    RegCreateKeyExA(HKEY_CURRENT_USER, kInternational, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &key, nullptr);
    key_.reset(key);
    for (const auto& value : kLocaleFormats) {
      char old[256] = {};
      DWORD size = sizeof old;
      const bool existed =
          RegGetValueA(key_.get(), nullptr, value.name, RRF_RT_REG_SZ, nullptr, old, &size) == ERROR_SUCCESS;
      saved_.push_back({value.name, existed, old});
      RegSetValueExA(key_.get(), value.name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.format),
                     static_cast<DWORD>(strlen(value.format) + 1));
    }
  }
  ~LocaleOverride() {
    for (const auto& value : saved_) {
      if (value.existed) {
        RegSetValueExA(key_.get(), value.name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.text.c_str()),
                       static_cast<DWORD>(value.text.size() + 1));
      } else {
        RegDeleteValueA(key_.get(), value.name);
      }
    }
  }
  LocaleOverride(const LocaleOverride&) = delete;
  LocaleOverride& operator=(const LocaleOverride&) = delete;

 private:
  struct Saved {
    const char* name;
    bool existed;
    std::string text;
  };
  owners::Key key_;
  std::vector<Saved> saved_;
};

}  // namespace

TEST(WatermarkLocale, DateAndTimeFollowTheUsersFormats) {
  char program[MAX_PATH] = {};
  ASSERT_GT(GetModuleFileNameA(nullptr, program, MAX_PATH), 0u);
  std::string commandLine =
      std::string("\"") + program + "\" --gtest_also_run_disabled_tests --gtest_filter=WatermarkLocaleChild.*";

  DWORD exitCode = 1;
  {
    const LocaleOverride formats;
    SetEnvironmentVariableA(kChildVariable, "1");
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION child{};
    const BOOL started =
        CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &child);
    SetEnvironmentVariableA(kChildVariable, nullptr);
    ASSERT_TRUE(started);
    owners::KernelHandle process(child.hProcess);
    owners::KernelHandle thread(child.hThread);
    constexpr DWORD kChildLimitMs = 120000;
    ASSERT_EQ(WaitForSingleObject(process.get(), kChildLimitMs), WAIT_OBJECT_0);
    GetExitCodeProcess(process.get(), &exitCode);
  }
  EXPECT_EQ(exitCode, 0u) << "the child run with the user's formats failed";
}

// Run by the test above in a process that starts with the formats in place.
TEST(WatermarkLocaleChild, DISABLED_TextsComeFromOneReadingInTheUsersFormats) {
  char flag[8] = {};
  if (GetEnvironmentVariableA(kChildVariable, flag, sizeof flag) == 0) GTEST_SKIP() << "run by WatermarkLocale";

  const SYSTEMTIME fixed = {2023, 3, 6, 4, 5, 6, 7, 0};
  const DateTimeTexts texts = FormatDateAndTime(fixed);
  EXPECT_EQ(texts.date, "2023/03/04");
  EXPECT_EQ(texts.time, "05.06.07");

  // The date and the time of the shot's one moment, whenever it is printed.
  EXPECT_EQ(WatermarkTextAt("%DATE%|%TIME%|%WINDOW%", "Editor", fixed), "2023/03/04|05.06.07|Editor");
}
