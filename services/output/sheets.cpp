#include "services/output/sheets.h"

#include <algorithm>
#include <utility>

namespace {

// A count the list does not offer, which no stored setting or policy gives,
// prints each shot alone.
int32_t CellsFor(int32_t shotsPerPage) {
  return std::ranges::find(kShotsPerPageChoices, shotsPerPage) != std::end(kShotsPerPageChoices) ? shotsPerPage : 1;
}

}  // namespace

Sheets::Sheets(Printer& printer, const Preferences& settings, double screenPpi)
    : printer_(printer), settings_(settings), screenPpi_(screenPpi) {}

void Sheets::PrintAlone(KeptShot shot) {
  std::vector<KeptShot> sheet;
  sheet.push_back(std::move(shot));
  Print(std::move(sheet), 1);
}

void Sheets::AddToSeries(KeptShot shot) {
  if (filling_.empty()) fillingCells_ = CellsFor(settings_.PrintShotsPerPage);
  filling_.push_back(std::move(shot));
  if (filling_.size() < static_cast<size_t>(fillingCells_)) {
    // Packed while the sheet waits for its next shot, not on the way to a page.
    filling_.back().Pack();
    return;
  }
  Print(std::exchange(filling_, {}), fillingCells_);
}

void Sheets::EndSeries() {
  if (!filling_.empty()) Print(std::exchange(filling_, {}), fillingCells_);
}

void Sheets::LetGoOfLastPage() {
  if (!printer_.Printing()) last_.clear();
}

void Sheets::PrintAgain() {
  // While this job is open neither a new sheet (Print) nor a new shot
  // (LetGoOfLastPage) touches last_.
  PrintSheet(printer_, last_, lastCells_, settings_, screenPpi_);
}

// A sheet that failed is kept too: once the printer or the folder is put
// right, Print again brings it out. One refused only because another job is
// open never was a page.
void Sheets::Print(std::vector<KeptShot> shots, int32_t cells) {
  try {
    PrintSheet(printer_, shots, cells, settings_, screenPpi_);
  } catch (...) {
    if (!printer_.Printing()) Keep(std::move(shots), cells);
    throw;
  }
  Keep(std::move(shots), cells);
}

// Packed once the job is in the spooler, so that the page does not wait for it.
void Sheets::Keep(std::vector<KeptShot> shots, int32_t cells) {
  for (KeptShot& shot : shots) shot.Pack();
  last_ = std::move(shots);
  lastCells_ = cells;
}
