#pragma once
// The sheets shots go out on: a shot alone at once, on a sheet of its own;
// the shots of a series PrintShotsPerPage to a sheet. The last sheet is kept,
// packed small in memory, to be printed again.
#include <cstdint>
#include <vector>

#include "core/settings/preferences.h"
#include "services/output/print_shot.h"
#include "services/output/printer.h"

class Sheets {
 public:
  // The printer and the settings in force are the caller's, and outlive this.
  Sheets(Printer& printer, const Preferences& settings, double screenPpi);

  void PrintAlone(KeptShot shot);
  // The sheet being filled goes out as soon as it holds the PrintShotsPerPage
  // shots it was begun for; until then its shots wait packed.
  void AddToSeries(KeptShot shot);
  // The sheet being filled goes out with the shots it holds.
  void EndSeries();

  // Whether a sheet was sent to the printer in this run and no shot taken since.
  bool CanPrintAgain() const { return !last_.empty(); }
  // A shot is about to be taken: the last sheet goes, so that it is not in
  // memory beside the new shot, whose sheet takes its place. Not while a job
  // is open, which may be printing that sheet again.
  void LetGoOfLastPage();
  // The last sheet sent once more, with its shots' own watermark times, on
  // the printer and with the page options in force now.
  void PrintAgain();

 private:
  void Print(std::vector<KeptShot> shots, int32_t cells);
  void Keep(std::vector<KeptShot> shots, int32_t cells);

  Printer& printer_;
  const Preferences& settings_;
  double screenPpi_;
  std::vector<KeptShot> filling_;
  int32_t fillingCells_ = 1;
  std::vector<KeptShot> last_;
  int32_t lastCells_ = 1;
};
