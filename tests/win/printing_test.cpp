// The printer object and PrintSheet against real print queues: each queue
// turns a job into a PDF file in a folder of its own.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "base/owners.h"
#include "core/languages/localised_error.h"
#include "core/output/gray_pixels.h"
#include "core/output/paper_colors.h"
#include "services/output/page_file.h"
#include "services/output/page_picture.h"
#include "services/output/print_shot.h"
#include "services/output/printer.h"
#include "tests/support/temporary_folder.h"
#include "tests/win/test_window.h"

namespace {

namespace fs = std::filesystem;

constexpr auto kJobLimit = std::chrono::seconds(90);
constexpr auto kDialogLimit = std::chrono::seconds(30);
constexpr DWORD kPollStepMs = 50;
constexpr double kScreenPpi = 96.0;
constexpr UINT kReenter = WM_APP + 1;
constexpr int kPrinterCombo = 0x470;  // the printer list of the set-up dialog template

template <typename Condition>
bool WaitUntil(Condition condition, std::chrono::milliseconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (!condition()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    Sleep(kPollStepMs);
  }
  return true;
}

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

std::vector<std::string> Queues() {
  std::vector<std::string> queues;
  std::istringstream list(Environment("VORLANE_QUEUES"));
  for (std::string queue; std::getline(list, queue, ',');) queues.push_back(queue);
  return queues;
}

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
  return text;
}

std::string Upper(std::string text) {
  for (char& c : text) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
  return text;
}

// The queue's PDF folder as the program sees the Unix file system.
fs::path PdfFolder(const std::string& queue) { return fs::path("Z:" + Environment("VORLANE_PDF_DIR")) / queue; }

std::vector<fs::path> Pdfs(const std::string& queue) {
  std::vector<fs::path> found;
  std::error_code ignored;
  for (const auto& entry : fs::directory_iterator(PdfFolder(queue), ignored)) {
    if (entry.path().extension() == ".pdf") found.push_back(entry.path());
  }
  return found;
}

std::string Contents(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// The page count of a PDF's page tree, once the file is complete; -1 when
// there is none.
int PageCount(const fs::path& pdf) {
  std::string text;
  if (!WaitUntil([&] { return (text = Contents(pdf)).find("%%EOF") != std::string::npos; }, kJobLimit)) return -1;
  const size_t tree = text.find("/Type /Pages");
  const size_t count = text.find("/Count ", tree == std::string::npos ? 0 : tree);
  return count == std::string::npos ? -1 : std::atoi(text.c_str() + count + 7);
}

// A small bitmap in the screen's format, filled with one colour.
owners::Bitmap KnownBitmap(int width, int height) {
  const owners::WindowDc screen(nullptr, GetDC(nullptr));
  owners::Bitmap bitmap(CreateCompatibleBitmap(screen.get(), width, height));
  owners::MemoryDc dc(CreateCompatibleDC(screen.get()));
  owners::Selection selected(dc.get(), bitmap.get());
  owners::Brush red(CreateSolidBrush(RGB(220, 20, 20)));
  const RECT all{0, 0, width, height};
  FillRect(dc.get(), &all, red.get());
  return bitmap;
}

// Where the PostScript driver put an image on the page, in dots, and the
// pixels the image itself has.
struct PlacedImage {
  int x = 0, y = 0, width = 0, height = 0;
  int pixelsWide = 0, pixelsHigh = 0;
};

std::optional<PlacedImage> ImageIn(const fs::path& postscript) {
  static const std::regex placed(
      R"((-?\d+) (-?\d+) translate\n(\d+) (\d+) scale\n<<\n /ImageType 1\n /Width (\d+)\n /Height (\d+)\n)");
  const std::string text = Contents(postscript);
  std::smatch found;
  if (!std::regex_search(text, found, placed)) return std::nullopt;
  return PlacedImage{std::stoi(found[1]), std::stoi(found[2]), std::stoi(found[3]),
                     std::stoi(found[4]), std::stoi(found[5]), std::stoi(found[6])};
}

// One shot printed alone, on a sheet of its own.
void PrintAlone(Printer& printer, owners::Bitmap shot, const std::string& title, const Preferences& preferences) {
  std::vector<KeptShot> sheet;
  sheet.emplace_back(std::move(shot), title, SYSTEMTIME{}, std::vector<ScreenRect>{});
  PrintSheet(printer, sheet, 1, preferences, kScreenPpi);
}

Preferences PrintTo(const std::string& printer) {
  Preferences preferences;
  preferences.PrintPrinter = printer;
  preferences.PrintPagePosition = 4;
  return preferences;
}

class Printing : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { gdiplus_ = new owners::GdiplusSession; }
  static void TearDownTestSuite() {
    delete gdiplus_;
    gdiplus_ = nullptr;
  }
  void SetUp() override {
    queues_ = Queues();
    if (queues_.size() < 2) GTEST_SKIP() << "needs two print queues: run under tests/testenv.py";
    startCount_ = owners::liveCount;
  }

  // Prints one shot and waits for its PDF in the queue's folder; gives that PDF.
  fs::path ExpectOneJobIn(const std::string& queue, Printer& printer, const Preferences& preferences) {
    return ExpectOneJobFrom(queue, printer, [&] { PrintAlone(printer, KnownBitmap(96, 48), "", preferences); });
  }

  // Runs print, which prints one job, and waits for its PDF in the queue's folder; gives that PDF.
  fs::path ExpectOneJobFrom(const std::string& queue, const Printer& printer, const std::function<void()>& print) {
    const std::vector<fs::path> earlier = Pdfs(queue);
    const size_t before = earlier.size();
    print();
    EXPECT_FALSE(printer.Printing());
    if (!WaitUntil([&] { return Pdfs(queue).size() > before; }, kJobLimit)) {
      ADD_FAILURE() << "no PDF in " << queue;
      return {};
    }
    const std::vector<fs::path> pdfs = Pdfs(queue);
    EXPECT_EQ(pdfs.size(), before + 1);
    fs::path added;
    for (const fs::path& pdf : pdfs) {
      if (std::ranges::find(earlier, pdf) == earlier.end()) added = pdf;
    }
    EXPECT_NE(added.filename().string().find("Vorlane"), std::string::npos) << "the job is named after the program";
    return added;
  }

  std::vector<std::string> queues_;
  int startCount_ = 0;
  static inline owners::GdiplusSession* gdiplus_ = nullptr;
};

// A window whose message, dispatched by the abort procedure while a job is
// open, tries to print a second shot.
struct Reentry {
  Printer* printer = nullptr;
  bool called = false;
  bool jobWasOpen = false;
  std::string error;
};

LRESULT CALLBACK ReentryProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != kReenter) return DefWindowProcW(window, message, wParam, lParam);
  auto* reentry = reinterpret_cast<Reentry*>(lParam);
  reentry->called = true;
  reentry->jobWasOpen = reentry->printer->Printing();
  try {
    PrintAlone(*reentry->printer, KnownBitmap(8, 8), "", PrintTo(""));
  } catch (const std::runtime_error& error) {
    reentry->error = error.what();
  }
  return 0;
}

// Answers the set-up dialog once it shows: picks a printer and confirms, or cancels.
struct DialogAnswer {
  int pick = -1;  // index in the dialog's printer list; -1 leaves it
  bool confirm = false;
  bool seen = false;
};
DialogAnswer* answer = nullptr;

void CALLBACK AnswerDialog(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND dialog = test_window::VisibleDialog();
  if (!dialog || answer->seen) return;
  answer->seen = true;
  KillTimer(nullptr, timer);
  if (answer->pick >= 0) {
    HWND combo = GetDlgItem(dialog, kPrinterCombo);
    SendMessageA(combo, CB_SETCURSEL, answer->pick, 0);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(kPrinterCombo, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
  }
  PostMessageA(dialog, WM_COMMAND, answer->confirm ? IDOK : IDCANCEL, 0);
}

bool RunSetupDialog(Printer& printer, int index, DialogAnswer& reply) {
  answer = &reply;
  SetTimer(nullptr, 0, kPollStepMs, AnswerDialog);
  const bool confirmed = printer.SetupDialog(nullptr, index);
  answer = nullptr;
  return confirmed;
}

}  // namespace

TEST_F(Printing, TheListHoldsTheQueuesInTheSystemsOrderTakenOnce) {
  int enumerations = 0;
  Printer printer([&] {
    ++enumerations;
    return EnumerateInstalledPrinters();
  });
  EXPECT_EQ(printer.PrinterNames(), queues_);
  printer.IndexOfPrinter(queues_[1]);
  printer.SelectIndex(1);
  printer.SelectIndex(-1);
  printer.SelectedPrinterName();
  EXPECT_EQ(printer.PrinterNames().size(), queues_.size());
  EXPECT_EQ(enumerations, 1);
}

TEST_F(Printing, NamesAreMatchedWithoutRegardToCaseAndUnknownOnesMeanTheDefault) {
  Printer printer;
  const struct {
    std::string name;
    int index;
  } cases[] = {
      {queues_[0], 0},        {queues_[1], 1}, {Lower(queues_[1]), 1},  {Upper(queues_[1]), 1},
      {Lower(queues_[0]), 0}, {"", -1},        {"No such printer", -1}, {queues_[1] + " ", -1},
  };
  for (const auto& example : cases) EXPECT_EQ(printer.IndexOfPrinter(example.name), example.index) << example.name;

  EXPECT_EQ(printer.SelectedIndex(), -1);
  EXPECT_EQ(printer.SelectedPrinterName(), queues_[0]) << "the default printer";
  printer.SelectIndex(1);
  EXPECT_EQ(printer.SelectedPrinterName(), queues_[1]);
  EXPECT_THROW(printer.SelectIndex(2), std::runtime_error);
  EXPECT_EQ(printer.SelectedIndex(), 1);
}

TEST_F(Printing, AShotBecomesOneJobOnTheDefaultPrinterAndReleasesEverything) {
  {
    Printer printer;
    ExpectOneJobIn(queues_[0], printer, PrintTo("Not installed anywhere"));
    EXPECT_EQ(printer.SelectedIndex(), -1);
  }
  EXPECT_EQ(owners::liveCount, startCount_);
}

TEST_F(Printing, AShotGoesToTheNamedPrinterInAnyLetterCase) {
  {
    Printer printer;
    ExpectOneJobIn(queues_[1], printer, PrintTo(Upper(queues_[1])));
    EXPECT_EQ(printer.SelectedIndex(), 1);
  }
  EXPECT_EQ(owners::liveCount, startCount_);
}

TEST_F(Printing, FailingShotsReportTheirErrorReleaseEverythingAndLeaveNoJobOpen) {
  const struct {
    std::vector<std::string> list;
    std::string printPrinter;
    std::string error;
  } cases[] = {
      // Removed after the list was taken.
      {{"Vorlane removed queue"}, "Vorlane removed queue", kPrinterNotValidError},
      // Not named and the default printer not in the list.
      {{"Vorlane removed queue"}, "", kNoDefaultPrinterError},
      {{}, queues_[0], kNoDefaultPrinterError},
  };
  for (const auto& example : cases) {
    Printer printer([&] { return example.list; });
    try {
      PrintAlone(printer, KnownBitmap(16, 16), "title", PrintTo(example.printPrinter));
      ADD_FAILURE() << "printed to " << example.printPrinter;
    } catch (const std::runtime_error& error) {
      EXPECT_EQ(std::string(error.what()), example.error) << example.printPrinter;
    }
    EXPECT_FALSE(printer.Printing());
    EXPECT_EQ(owners::liveCount, startCount_) << example.printPrinter;
  }
}

TEST_F(Printing, WhileAJobIsOpenNoOtherCanStartNorTheSelectionChange) {
  Printer printer;
  printer.BeginDoc("Vorlane");
  ASSERT_TRUE(printer.Printing());
  const int countWithJob = owners::liveCount;
  for (auto attempt : {+[](Printer& p) { p.SelectIndex(1); }, +[](Printer& p) { p.BeginDoc("Vorlane"); },
                       +[](Printer& p) { p.SetupDialog(nullptr, 0); }}) {
    try {
      attempt(printer);
      ADD_FAILURE() << "allowed while printing";
    } catch (const std::runtime_error& error) {
      EXPECT_EQ(std::string(error.what()), English(TextId::PrintingInProgress));
    }
  }
  EXPECT_EQ(owners::liveCount, countWithJob);
  printer.AbortDoc();
  EXPECT_FALSE(printer.Printing());
  EXPECT_EQ(owners::liveCount, startCount_);
}

TEST_F(Printing, AShotRequestedFromTheAbortProcedureFailsAndTheOpenJobCompletes) {
  {
    owners::Window window(test_window::Make(
        {.className = "VorlaneReentry", .procedure = ReentryProc, .style = 0, .place = {}, .parent = HWND_MESSAGE}));
    ASSERT_TRUE(window);
    Printer printer;
    Reentry reentry;
    reentry.printer = &printer;
    PostMessageA(window.get(), kReenter, 0, reinterpret_cast<LPARAM>(&reentry));
    ExpectOneJobIn(queues_[0], printer, PrintTo(""));
    ASSERT_TRUE(reentry.called) << "the abort procedure did not dispatch the waiting message";
    EXPECT_TRUE(reentry.jobWasOpen);
    EXPECT_EQ(reentry.error, English(TextId::PrintingInProgress));
  }
  EXPECT_EQ(owners::liveCount, startCount_);
}

TEST_F(Printing, TheSetupDialogChangesThePrinterOnlyWhenConfirmed) {
  Printer printer;
  DialogAnswer cancel{1, false};
  EXPECT_FALSE(RunSetupDialog(printer, 0, cancel));
  EXPECT_TRUE(cancel.seen);
  EXPECT_EQ(printer.SelectedIndex(), 0);

  DialogAnswer keep{-1, true};
  EXPECT_TRUE(RunSetupDialog(printer, -1, keep));
  EXPECT_EQ(printer.SelectedPrinterName(), queues_[0]);

  DialogAnswer pickSecond{1, true};
  EXPECT_TRUE(RunSetupDialog(printer, 0, pickSecond));
  EXPECT_EQ(printer.SelectedIndex(), 1);
  EXPECT_EQ(owners::liveCount, startCount_);
}

TEST_F(Printing, TheSetupDialogNeedsAPrinter) {
  Printer printer([] { return std::vector<std::string>{"Vorlane removed queue"}; });
  try {
    printer.SetupDialog(nullptr, -1);
    ADD_FAILURE() << "a dialog without a printer";
  } catch (const std::runtime_error& error) {
    EXPECT_EQ(std::string(error.what()), kNoDefaultPrinterError);
  }
  EXPECT_EQ(owners::liveCount, startCount_);
}

TEST_F(Printing, CopiesTheDriverCannotMakeArePagesOfTheOneJob) {
  const struct {
    const char* name;
    Printer::CopiesQuery driverCopies;
    int pages;
  } cases[] = {
      // The PostScript driver makes them: the job carries the count, and the queue prints one page.
      {"driver copies", DriverCopies, 1},
      {"no driver copies", [](const std::string&) { return 1; }, 3},
      {"too few driver copies", [](const std::string&) { return 2; }, 3},
  };
  EXPECT_GE(DriverCopies(queues_[0]), kPrintCopiesMax);
  for (const auto& example : cases) {
    SCOPED_TRACE(example.name);
    {
      Printer printer(EnumerateInstalledPrinters, example.driverCopies);
      Preferences preferences = PrintTo(queues_[0]);
      preferences.PrintCopies = 3;
      EXPECT_EQ(PageCount(ExpectOneJobIn(queues_[0], printer, preferences)), example.pages);
    }
    EXPECT_EQ(owners::liveCount, startCount_);
  }
}

constexpr int kQuadrant = 10;

// Four quadrants of 10 x 10 pixels painted over a 20 x 20 bitmap: red, green / blue, yellow.
owners::Bitmap Quadrants(owners::Bitmap bitmap) {
  constexpr int kHalf = kQuadrant;
  const owners::MemoryDc dc(CreateCompatibleDC(nullptr));
  const owners::Selection selected(dc.get(), bitmap.get());
  const COLORREF colours[] = {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255), RGB(255, 255, 0)};
  for (int i = 0; i < 4; ++i) {
    const owners::Brush brush(CreateSolidBrush(colours[i]));
    const RECT quadrant{(i % 2) * kHalf, (i / 2) * kHalf, (i % 2 + 1) * kHalf, (i / 2 + 1) * kHalf};
    FillRect(dc.get(), &quadrant, brush.get());
  }
  return bitmap;
}

owners::Bitmap QuadrantBitmap() { return Quadrants(KnownBitmap(2 * kQuadrant, 2 * kQuadrant)); }

owners::Bitmap QuadrantSection(WORD bitsPerPixel, bool topRowFirst) {
  BITMAPINFO format{};
  const LONG side = 2 * kQuadrant;
  format.bmiHeader = {
      sizeof format.bmiHeader, side, topRowFirst ? -side : side, 1, bitsPerPixel, BI_RGB, 0, 0, 0, 0, 0};
  void* pixels = nullptr;
  return Quadrants(owners::Bitmap(CreateDIBSection(nullptr, &format, DIB_RGB_COLORS, &pixels, nullptr, 0)));
}

// A pixel of a colour picture, read from its rows.
COLORREF PixelOf(const PagePicture& picture, int x, int y) {
  const auto* pixel = static_cast<const BYTE*>(picture.RowsFrom(y, 1).bits) + 3 * x;
  return RGB(pixel[2], pixel[1], pixel[0]);
}

TEST(PagePictures, AShotOfAnyFormIsCopiedTopRowFirstAndReleased) {
  const int startCount = owners::liveCount;
  const struct {
    const char* name;
    owners::Bitmap (*make)();
  } cases[] = {
      {"in the screen's format", QuadrantBitmap},
      {"32 bits, top row first", [] { return QuadrantSection(32, true); }},
      {"32 bits, bottom row first", [] { return QuadrantSection(32, false); }},
      {"24 bits", [] { return QuadrantSection(24, false); }},
  };
  for (const auto& example : cases) {
    SCOPED_TRACE(example.name);
    {
      owners::Bitmap shot = example.make();
      ASSERT_TRUE(shot);
      const PagePicture picture = PagePicture::Of(std::move(shot));
      ASSERT_FALSE(picture.Empty());
      EXPECT_EQ(picture.Width(), 2 * kQuadrant);
      EXPECT_EQ(picture.Height(), 2 * kQuadrant);
      EXPECT_EQ(PixelOf(picture, 2, 2), RGB(255, 0, 0));
      EXPECT_EQ(PixelOf(picture, 2 * kQuadrant - 3, 2), RGB(0, 255, 0));
      EXPECT_EQ(PixelOf(picture, 2, 2 * kQuadrant - 3), RGB(0, 0, 255));
      EXPECT_EQ(PixelOf(picture, 2 * kQuadrant - 3, 2 * kQuadrant - 3), RGB(255, 255, 0));
    }
    EXPECT_EQ(owners::liveCount, startCount) << "the shot is released";
  }
}

// Every byte of a picture's rows.
std::vector<BYTE> BytesOf(const PagePicture& picture) {
  const PagePicture::Rows rows = picture.RowsFrom(0, picture.Height());
  const auto* first = static_cast<const BYTE*>(rows.bits);
  return {first, first + DibStride(picture.Width(), rows.header.info.biBitCount) * picture.Height()};
}

// A dark window with a light bar on the left half, a white one on the right.
owners::Bitmap DarkAndLightBitmap(int width, int height) {
  owners::Bitmap bitmap = KnownBitmap(width, height);
  const owners::MemoryDc dc(CreateCompatibleDC(nullptr));
  const owners::Selection selected(dc.get(), bitmap.get());
  const owners::Brush dark(CreateSolidBrush(RGB(0x1E, 0x1E, 0x1E)));
  const owners::Brush light(CreateSolidBrush(RGB(0xD4, 0xD4, 0xD4)));
  const owners::Brush white(CreateSolidBrush(RGB(255, 255, 255)));
  const RECT left{0, 0, width / 2, height}, bar{4, 4, width / 4, 8}, right{width / 2, 0, width, height};
  FillRect(dc.get(), &left, dark.get());
  FillRect(dc.get(), &bar, light.get());
  FillRect(dc.get(), &right, white.get());
  return bitmap;
}

// Printed again, a shot is the same picture, packed or not, its windows
// judged as before; its watermark tells when it was taken, not when it is
// printed.
TEST(PagePictures, AKeptShotIsFinishedAlikeEachTimeWithTheTimeItWasTaken) {
  const owners::GdiplusSession gdiplus;
  const int startCount = owners::liveCount;
  {
    Preferences stamped, gray, plain, light, ink;
    stamped.WatermarkMake = true;
    stamped.WatermarkText = "%DATE% %TIME% %WINDOW%";
    stamped.WatermarkFontName = "Liberation Sans";
    gray = stamped;
    gray.PrintGrayscale = true;
    light.PrintColors = static_cast<int32_t>(PaperColors::LightBackground);
    ink.PrintColors = static_cast<int32_t>(PaperColors::BlackAndWhite);
    const std::vector<ScreenRect> windows = {{0, 0, 120, 60}, {120, 0, 240, 60}};
    KeptShot shot(DarkAndLightBitmap(240, 60), "Editor", {2024, 3, 2, 5, 9, 15, 0, 0}, windows);
    const KeptShot later(DarkAndLightBitmap(240, 60), "Editor", {2024, 3, 2, 5, 21, 45, 30, 0}, windows);
    const Preferences* options[] = {&plain, &stamped, &gray, &light, &ink, &plain};
    std::vector<std::vector<BYTE>> first;
    for (const Preferences* option : options) first.push_back(BytesOf(FinishedPicture(shot, *option)));
    EXPECT_NE(first[1], first[0]) << "no watermark";
    EXPECT_NE(BytesOf(FinishedPicture(later, stamped)), first[1]) << "the watermark does not tell the shot's time";
    EXPECT_EQ(first[2].size(), DibStride(240, 8) * 60) << "not in gray";
    EXPECT_EQ(first[4].size(), DibStride(240, 1) * 60) << "not in one bit a pixel";
    EXPECT_EQ(first[5], first[0]) << "the colours for paper went into the pixels kept";
    {
      // Each window judged on its own: the dark one turned light, the white one left alone.
      const PagePicture onPaper = FinishedPicture(shot, light);
      EXPECT_EQ(PixelOf(onPaper, 60, 30), RGB(255, 255, 255));
      EXPECT_NE(PixelOf(onPaper, 10, 6), RGB(0xD4, 0xD4, 0xD4));
      EXPECT_EQ(PixelOf(onPaper, 180, 30), RGB(255, 255, 255));
    }
    shot.Pack();
    ASSERT_TRUE(shot.Packed());
    // What was made above went into pictures of their own, not into the pixels kept.
    for (size_t i = 0; i < std::size(options); ++i) EXPECT_EQ(BytesOf(FinishedPicture(shot, *options[i])), first[i]);
  }
  EXPECT_EQ(owners::liveCount, startCount);
}

// A sheet of two cells with every choice of colours on paper: two pictures,
// of one bit a pixel in black and white. Large enough not to go inline.
TEST_F(Printing, ASheetOfTwoCellsTakesEveryChoiceOfColoursOnPaper) {
  Printer printer;
  for (const PaperColors colors : {PaperColors::AsOnScreen, PaperColors::LightBackground, PaperColors::BlackAndWhite}) {
    SCOPED_TRACE(static_cast<int>(colors));
    Preferences preferences = PrintTo(queues_[0]);
    preferences.PrintColors = static_cast<int32_t>(colors);
    std::vector<KeptShot> sheet;
    for (const int width : {960, 800}) {
      sheet.emplace_back(DarkAndLightBitmap(width, 300), "", SYSTEMTIME{},
                         std::vector<ScreenRect>{{0, 0, width / 2, 300}, {width / 2, 0, width, 300}});
    }
    const fs::path pdf =
        ExpectOneJobFrom(queues_[0], printer, [&] { PrintSheet(printer, sheet, 2, preferences, kScreenPpi); });
    ASSERT_EQ(PageCount(pdf), 1);
    const std::string text = Contents(pdf);
    const auto count = [&text](const char* pattern) {
      const std::regex found(pattern);
      return std::distance(std::sregex_iterator(text.begin(), text.end(), found), std::sregex_iterator());
    };
    EXPECT_EQ(count(R"(/Subtype\s*/Image)"), 2);
    EXPECT_EQ(count(R"(/BitsPerComponent\s*1\b)"), colors == PaperColors::BlackAndWhite ? 2 : 0);
  }
  EXPECT_EQ(owners::liveCount, startCount_);
}

TEST(PagePictures, APictureOverTheEdgeShowsTheRightPartWhereTheWholeWouldBe) {
  const owners::MemoryDc page(CreateCompatibleDC(nullptr));
  // A memory device context measures as the screen does: its page is the screen's size.
  const int width = GetDeviceCaps(page.get(), HORZRES);
  const int height = GetDeviceCaps(page.get(), VERTRES);
  const double dpi = GetDeviceCaps(page.get(), LOGPIXELSX);
  ASSERT_EQ(dpi, GetDeviceCaps(page.get(), LOGPIXELSY));
  const owners::Bitmap paper = KnownBitmap(width, height);
  const owners::Selection selected(page.get(), paper.get());
  PagePicture picture = PagePicture::Of(QuadrantBitmap());
  constexpr int kDrawn = 200;  // ten dots a pixel
  const struct {
    const char* name;
    int left, top;  // of the whole picture, in dots
    POINT inside[2];
    COLORREF colour[2];
  } cases[] = {
      // Only the right half is on the page.
      {"over the left edge", -150, 100, {{25, 150}, {25, 250}}, {RGB(0, 255, 0), RGB(255, 255, 0)}},
      // Only the top rows are on the page: the top left corner shows.
      {"over the bottom right corner",
       width - 120,
       height - 50,
       {{width - 70, height - 25}, {width - 5, height - 25}},
       {RGB(255, 0, 0), RGB(0, 255, 0)}},
  };
  for (const auto& example : cases) {
    SCOPED_TRACE(example.name);
    const PageRect place{example.left / dpi, example.top / dpi, kDrawn / dpi, kDrawn / dpi};
    DrawPicture(page.get(), picture, place, PageScaling::ByDevice);
    for (int i = 0; i < 2; ++i) {
      EXPECT_EQ(GetPixel(page.get(), example.inside[i].x, example.inside[i].y), example.colour[i]) << i;
    }
  }
}

TEST(PageFiles, EachIsNewNoneIsReplacedAndAnUnusableFolderIsNamed) {
  const TemporaryFolder folder("pages");
  const std::string pages = folder.path() + "Seiten \xc3\xbc\\made\\";
  std::vector<std::string> made;
  {
    // A series within one second: three names, each new; the folders above are made too.
    PageFile first = NewPageFile(pages, ".pdf");
    PageFile second = NewPageFile(pages, ".pdf");
    PageFile third = NewPageFile(pages, ".pdf");
    for (PageFile* file : {&first, &second, &third}) {
      made.push_back(file->Path());
      file->Keep();
    }
  }
  ASSERT_EQ(made.size(), 3u);
  for (const std::string& path : made) EXPECT_TRUE(std::filesystem::exists(TemporaryFolder::Path(path))) << path;
  // Made within the same second or across the turn of one; either way a series counts up.
  const bool sameSecond = made[0].substr(0, made[0].size() - 4) + " (2).pdf" == made[1];
  if (sameSecond) {
    EXPECT_EQ(made[0].substr(0, made[0].size() - 4) + " (3).pdf", made[2]);
  }

  // Every name already taken by a file of someone else's: the file found there keeps its contents.
  const std::string taken = made[0];
  { std::ofstream(TemporaryFolder::Path(taken), std::ios::binary) << "theirs"; }
  const std::string another = NewPageFile(pages, ".pdf").Path();
  EXPECT_NE(another, taken);
  std::ifstream kept(TemporaryFolder::Path(taken), std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), "theirs");
  EXPECT_FALSE(std::filesystem::exists(TemporaryFolder::Path(another))) << "a page file not kept is removed again";

  // Below a file no folder can be made: the message names the folder.
  const std::string blocked = taken + "\\pages";
  try {
    NewPageFile(blocked, ".pdf");
    ADD_FAILURE() << "no error for " << blocked;
  } catch (const LocalisedError& error) {
    EXPECT_NE(std::string(error.what()).find("\"" + blocked + "\""), std::string::npos) << error.what();
  }
}

// Every file and folder below a root, as paths relative to it.
std::set<std::string> TreeBelow(const std::string& root) {
  std::set<std::string> tree;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(TemporaryFolder::Path(root))) {
    tree.insert(std::filesystem::relative(entry.path(), TemporaryFolder::Path(root)).string());
  }
  return tree;
}

TEST(PageFiles, AFolderThatCannotBeMadeWholeLeavesNothingBehind) {
  const TemporaryFolder folder("deep");
  const std::string level(60, 'd');
  const struct {
    const char* name;
    std::string folder;
  } cases[] = {
      {"five levels of 60 letters: too long a path",
       folder.path() + level + "\\" + level + "\\" + level + "\\" + level + "\\" + level},
      {"a last level no folder can be named", folder.path() + "made\\also made\\not|made"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::set<std::string> before = TreeBelow(folder.path());
    EXPECT_THROW(NewPageFile(c.folder, ".pdf"), LocalisedError);
    EXPECT_EQ(TreeBelow(folder.path()), before);
  }
}

TEST_F(Printing, TheDeviceGetsTheShotsOwnPixelsWhereGdiplusDrewTheResampledOnes) {
  const TemporaryFolder folder("pages");
  const struct {
    const char* name;
    int width, height;
    bool fit;
    int position;
    PaperTurn turn;
    double ppi;
    int bits;                    // a pixel's, in the picture sent
    int pixelsWide, pixelsHigh;  // what the device gets of the shot
  } cases[] = {
      {"fitted, wide, bottom right", 96, 48, true, 8, PaperTurn::AsPrinterIsSet, kScreenPpi, 24, 96, 48},
      {"fitted, tall, top left, landscape", 48, 96, true, 0, PaperTurn::Landscape, kScreenPpi, 24, 48, 96},
      {"fitted, centred, in gray", 96, 48, true, 4, PaperTurn::Portrait, kScreenPpi, 8, 96, 48},
      {"fitted, centred, in black and white", 96, 48, true, 4, PaperTurn::Portrait, kScreenPpi, 1, 96, 48},
      // Centred at natural size, both edges fall on half a dot.
      {"natural size, centred", 32, 16, false, 4, PaperTurn::AsPrinterIsSet, kScreenPpi, 24, 32, 16},
      {"natural size, top right", 4, 4, false, 2, PaperTurn::AsPrinterIsSet, kScreenPpi, 24, 4, 4},
      {"natural size, bottom left, landscape", 100, 60, false, 6, PaperTurn::Landscape, kScreenPpi, 24, 100, 60},
      // GDI+ drew only what lies on the paper; the device gets the pixels under it.
      {"natural size, wider than the page", 900, 20, false, 4, PaperTurn::AsPrinterIsSet, kScreenPpi, 24, 794, 20},
  };
  int file = 0;
  Printer printer;
  for (const auto& example : cases) {
    SCOPED_TRACE(example.name);
    {
      PagePicture picture = PagePicture::Of(KnownBitmap(example.width, example.height));
      if (example.bits <= 8) picture = picture.GrayCopy();
      if (example.bits == 1) picture = picture.InkCopy({});
      std::optional<PlacedImage> placed[2];
      RECT paper{};
      for (const PageScaling scaling : {PageScaling::ByDevice, PageScaling::ByProgram}) {
        const std::string output = folder.path() + std::to_string(++file) + ".ps";
        PrintJob job(printer, "Vorlane", {example.turn, 1, output});
        EXPECT_EQ(ScalingFor(job.dc()), PageScaling::ByDevice) << "the PostScript driver stretches pictures";
        paper = {0, 0, GetDeviceCaps(job.dc(), HORZRES), GetDeviceCaps(job.dc(), VERTRES)};
        const PageRect place = PlacePicture(job.dc(), picture, {}, example.fit, example.position, example.ppi);
        DrawPicture(job.dc(), picture, place, scaling);
        job.End();
        placed[scaling == PageScaling::ByProgram] = ImageIn(TemporaryFolder::Path(output));
        if (scaling == PageScaling::ByDevice) {
          const bool oneBit =
              Contents(TemporaryFolder::Path(output)).find(" /BitsPerComponent 1\n") != std::string::npos;
          EXPECT_EQ(oneBit, example.bits == 1);
        }
      }
      const auto& [byDevice, byProgram] = placed;
      ASSERT_TRUE(byDevice && byProgram);
      // The same dots of the paper, to the dot.
      const auto onPaper = [&](const PlacedImage& image) {
        RECT drawn{image.x, image.y, image.x + image.width, image.y + image.height};
        IntersectRect(&drawn, &drawn, &paper);
        return std::vector<LONG>{drawn.left, drawn.top, drawn.right, drawn.bottom};
      };
      EXPECT_EQ(onPaper(*byDevice), onPaper(*byProgram));
      EXPECT_EQ(byDevice->pixelsWide, example.pixelsWide);
      EXPECT_EQ(byDevice->pixelsHigh, example.pixelsHigh);
      // GDI+ made a pixel for each dot.
      EXPECT_EQ(byProgram->pixelsWide, byProgram->width);
      EXPECT_EQ(byProgram->pixelsHigh, byProgram->height);
    }
    EXPECT_EQ(owners::liveCount, startCount_);
  }
}
