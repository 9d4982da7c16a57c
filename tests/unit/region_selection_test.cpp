#include "core/capture/region_selection.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace {

constexpr ScreenRect kScreen{0, 0, 1920, 1080};
constexpr ScreenRect kWindow{300, 200, 940, 680};
constexpr ScreenRect kDialog{500, 300, 700, 400};  // in front of the window
// Topmost first, the monitor last: a click on the bare desktop takes it.
const std::vector<ScreenRect> kTargets = {kDialog, kWindow, kScreen};
constexpr ScreenPoint kDragSize{4, 4};

// One thing the user does.
struct Step {
  enum Kind { Move, Press, Release, Nudge, Enter, Cancel } kind;
  ScreenPoint point{};  // where, or by how much for a nudge
};

Step MoveTo(int x, int y) { return {Step::Move, {x, y}}; }
Step PressAt(int x, int y) { return {Step::Press, {x, y}}; }
Step ReleaseAt(int x, int y) { return {Step::Release, {x, y}}; }
Step NudgeBy(int x, int y) { return {Step::Nudge, {x, y}}; }
const Step kEnter{Step::Enter};
const Step kCancel{Step::Cancel};

// The steps of holding an arrow key down the given number of times.
std::vector<Step> Repeat(int times, const Step& step) { return std::vector<Step>(static_cast<size_t>(times), step); }

std::vector<Step> Join(std::initializer_list<std::vector<Step>> parts) {
  std::vector<Step> all;
  for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

void Play(RegionSelection& selection, const std::vector<Step>& steps) {
  for (const Step& step : steps) {
    switch (step.kind) {
      case Step::Move:
        selection.Move(step.point);
        break;
      case Step::Press:
        selection.Press(step.point);
        break;
      case Step::Release:
        selection.Release(step.point);
        break;
      case Step::Nudge:
        selection.Nudge(step.point.x, step.point.y);
        break;
      case Step::Enter:
        selection.Enter();
        break;
      case Step::Cancel:
        selection.Cancel();
        break;
    }
  }
}

using State = RegionSelection::State;

}  // namespace

TEST(RegionSelection, ASpanHoldsBothCornerPixels) {
  const struct {
    ScreenPoint from, to;
    ScreenRect span;
  } cases[] = {
      {{100, 100}, {500, 400}, {100, 100, 501, 401}},
      {{500, 400}, {100, 100}, {100, 100, 501, 401}},
      {{500, 100}, {100, 400}, {100, 100, 501, 401}},
      {{7, 9}, {7, 9}, {7, 9, 8, 10}},
      {{0, 0}, {1919, 1079}, kScreen},
      {{-1280, 20}, {10, 30}, {-1280, 20, 11, 31}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.from.x << "," << c.from.y << " to " << c.to.x << "," << c.to.y);
    EXPECT_EQ(SpanOf(c.from, c.to), c.span);
  }
}

TEST(RegionSelection, TheTopmostTargetHoldingThePixelIsFound) {
  const struct {
    ScreenPoint pixel;
    std::optional<size_t> found;
  } cases[] = {
      {{600, 350}, 0},   // the dialog, in front of the window
      {{350, 250}, 1},   // the window beside the dialog
      {{699, 399}, 0},   // the dialog's last pixel
      {{700, 399}, 1},   // one beyond it: the window
      {{600, 400}, 1},   // one below it: the window
      {{939, 679}, 1},   // the window's last pixel
      {{940, 679}, 2},   // one beyond it: the monitor
      {{10, 10}, 2},     // the bare desktop
      {{1920, 10}, {}},  // off every monitor
      {{-1, 10}, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.pixel.x << "," << c.pixel.y);
    EXPECT_EQ(TargetAt(kTargets, c.pixel), c.found);
  }
  EXPECT_EQ(TargetAt({}, {0, 0}), std::nullopt);
}

TEST(RegionSelection, WhatTheUserDoesChoosesOrCancels) {
  const struct {
    const char* name;
    ScreenPoint pointer;  // where the pointer was when the overlay opened
    std::vector<Step> steps;
    State state;
    ScreenRect taken;
  } cases[] = {
      {"a drag",
       {0, 0},
       {PressAt(100, 100), MoveTo(300, 250), ReleaseAt(500, 400)},
       State::Taken,
       {100, 100, 501, 401}},
      {"a drag across the whole screen", {0, 0}, {PressAt(0, 0), ReleaseAt(1919, 1079)}, State::Taken, kScreen},
      {"a drag beyond the screen stops at its edge",
       {0, 0},
       {PressAt(1800, 1000), ReleaseAt(2500, 1500)},
       State::Taken,
       {1800, 1000, 1920, 1080}},
      {"a click takes the window", {0, 0}, {PressAt(350, 250), ReleaseAt(350, 250)}, State::Taken, kWindow},
      {"a click takes the window in front", {0, 0}, {PressAt(600, 350), ReleaseAt(600, 350)}, State::Taken, kDialog},
      {"a click on the bare desktop takes the monitor",
       {0, 0},
       {PressAt(50, 50), ReleaseAt(50, 50)},
       State::Taken,
       kScreen},
      {"a press that shakes by two pixels is still a click",
       {0, 0},
       {PressAt(350, 250), MoveTo(352, 248), ReleaseAt(348, 252)},
       State::Taken,
       kWindow},
      {"three pixels make a drag",
       {0, 0},
       {PressAt(350, 250), ReleaseAt(353, 250)},
       State::Taken,
       {350, 250, 354, 251}},
      {"three pixels down make a drag",
       {0, 0},
       {PressAt(350, 250), ReleaseAt(350, 247)},
       State::Taken,
       {350, 247, 351, 251}},
      {"a drag brought back to its start stays a drag",
       {0, 0},
       {PressAt(100, 100), MoveTo(200, 200), ReleaseAt(100, 100)},
       State::Taken,
       {100, 100, 101, 101}},
      {"a click is taken where it was pressed",
       {0, 0},
       {PressAt(299, 250), ReleaseAt(301, 250)},
       State::Taken,
       kScreen},
      {"a release without a press is not a click", {0, 0}, {ReleaseAt(350, 250)}, State::Choosing, {}},
      {"a click off every target takes nothing",
       {0, 0},
       {PressAt(1919, 1079), MoveTo(1930, 1100)},
       State::Choosing,
       {}},
      {"cancelled", {0, 0}, {MoveTo(350, 250), kCancel}, State::Cancelled, {}},
      {"cancelled during a drag", {0, 0}, {PressAt(100, 100), MoveTo(300, 300), kCancel}, State::Cancelled, {}},
      {"nothing counts after the choice",
       {0, 0},
       {PressAt(100, 100), ReleaseAt(500, 400), PressAt(0, 0), ReleaseAt(10, 10), kCancel},
       State::Taken,
       {100, 100, 501, 401}},
      {"keys: Enter, 40 long steps right, 30 down, Enter",
       {100, 100},
       Join({{kEnter}, Repeat(40, NudgeBy(kPointerLongStep, 0)), Repeat(30, NudgeBy(0, kPointerLongStep)), {kEnter}}),
       State::Taken,
       {100, 100, 501, 401}},
      {"keys: a single step is a drag",
       {100, 100},
       {kEnter, NudgeBy(kPointerStep, 0), kEnter},
       State::Taken,
       {100, 100, 102, 101}},
      {"keys: a single step down is a drag",
       {100, 100},
       {kEnter, NudgeBy(0, kPointerStep), kEnter},
       State::Taken,
       {100, 100, 101, 102}},
      {"a second press starts afresh, as a click",
       {0, 0},
       {PressAt(100, 100), MoveTo(300, 300), PressAt(350, 250), ReleaseAt(350, 250)},
       State::Taken,
       kWindow},
      {"keys: Enter twice is a click", {600, 350}, {kEnter, kEnter}, State::Taken, kDialog},
      {"keys: steps back to the start stay a drag",
       {100, 100},
       {kEnter, NudgeBy(kPointerStep, 0), NudgeBy(-kPointerStep, 0), kEnter},
       State::Taken,
       {100, 100, 101, 101}},
      {"keys: the pointer stops at the screen's edge",
       {5, 5},
       Join({{kEnter}, Repeat(3, NudgeBy(-kPointerLongStep, -kPointerLongStep)), {kEnter}}),
       State::Taken,
       {0, 0, 6, 6}},
      {"keys move the pointer the mouse left",
       {0, 0},
       {MoveTo(350, 250), kEnter, NudgeBy(10, 10), kEnter},
       State::Taken,
       {350, 250, 361, 261}},
      {"a press of the mouse ends with Enter",
       {0, 0},
       {PressAt(100, 100), MoveTo(500, 400), kEnter},
       State::Taken,
       {100, 100, 501, 401}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    RegionSelection selection(kScreen, kTargets, kDragSize, c.pointer);
    Play(selection, c.steps);
    EXPECT_EQ(selection.state(), c.state);
    if (c.state == State::Taken) {
      EXPECT_EQ(selection.Taken(), c.taken);
    }
  }
}

TEST(RegionSelection, WhatIsShownUndimmedFollowsThePointer) {
  // Two monitors of different heights: below the first lies a gap.
  const ScreenRect deskScreen{0, 0, 800, 400};
  const std::vector<ScreenRect> desk = {{0, 0, 300, 200}, {300, 0, 800, 400}};
  const struct {
    const char* name;
    ScreenRect screen;
    const std::vector<ScreenRect>& targets;
    std::vector<Step> steps;
    std::optional<ScreenRect> shown;
  } cases[] = {
      {"the window under the pointer", kScreen, kTargets, {MoveTo(350, 250)}, kWindow},
      {"the window in front", kScreen, kTargets, {MoveTo(600, 350)}, kDialog},
      {"the monitor under the bare desktop", kScreen, kTargets, {MoveTo(50, 50)}, kScreen},
      {"a press shows what a click would take", kScreen, kTargets, {PressAt(350, 250)}, kWindow},
      {"a press moved within the drag rectangle too",
       kScreen,
       kTargets,
       {PressAt(350, 250), MoveTo(352, 250)},
       kWindow},
      {"a drag shows its span",
       kScreen,
       kTargets,
       {PressAt(100, 100), MoveTo(500, 400)},
       ScreenRect{100, 100, 501, 401}},
      {"nothing once cancelled", kScreen, kTargets, {MoveTo(350, 250), kCancel}, std::nullopt},
      {"nothing over a gap between monitors", deskScreen, desk, {MoveTo(100, 300)}, std::nullopt},
      {"a click over a gap leaves the choice going on",
       deskScreen,
       desk,
       {PressAt(100, 300), ReleaseAt(100, 300), MoveTo(100, 100)},
       desk[0]},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    RegionSelection selection(c.screen, c.targets, kDragSize, {0, 0});
    Play(selection, c.steps);
    EXPECT_EQ(selection.Shown(), c.shown);
  }
}

TEST(RegionSelection, ThePointerStaysOnTheScreen) {
  const ScreenRect desk{-1280, 0, 1920, 1080};  // a second monitor left of the primary
  const struct {
    ScreenPoint start;
    ScreenPoint by;
    ScreenPoint end;
  } cases[] = {
      {{0, 0}, {-kPointerLongStep, 0}, {-10, 0}},
      {{-1275, 5}, {-kPointerLongStep, -kPointerLongStep}, {-1280, 0}},
      {{1915, 1075}, {kPointerLongStep, kPointerLongStep}, {1919, 1079}},
      {{1919, 1079}, {kPointerStep, 0}, {1919, 1079}},
      {{5000, -40}, {0, 0}, {1919, 0}},  // a pointer off the screen at the start is brought onto it
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.start.x << "," << c.start.y);
    RegionSelection selection(desk, {desk}, kDragSize, c.start);
    const ScreenPoint end = selection.Nudge(c.by.x, c.by.y);
    EXPECT_EQ(end.x, c.end.x);
    EXPECT_EQ(end.y, c.end.y);
    EXPECT_EQ(selection.Pointer().x, c.end.x);
  }
}

TEST(RegionSelection, TheSizeLabelGoesBesideWhatIsShownAndStaysOnTheScreen) {
  constexpr int kWidth = 80, kHeight = 20, kGap = 4;
  const struct {
    const char* name;
    ScreenRect shown;
    ScreenRect label;
  } cases[] = {
      {"below", {100, 100, 501, 401}, {100, 405, 180, 425}},
      {"below, touching the screen's bottom", {100, 100, 501, 1056}, {100, 1060, 180, 1080}},
      {"above when there is no room below", {100, 1000, 501, 1070}, {100, 976, 180, 996}},
      {"above, touching the screen's top", {100, 24, 501, 1070}, {100, 0, 180, 20}},
      {"inside when there is room neither below nor above", {100, 10, 501, 1070}, {100, 14, 180, 34}},
      {"inside the whole screen", kScreen, {0, 4, 80, 24}},
      {"moved left to stay on the screen", {1900, 100, 1920, 200}, {1840, 204, 1920, 224}},
      {"moved right onto the screen", {-50, 100, 20, 200}, {0, 204, 80, 224}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(PlaceLabel(c.shown, kWidth, kHeight, kGap, kScreen), c.label);
  }
}

TEST(RegionSelection, AWindowPartlyOffTheScreenIsTakenAsFarAsItShows) {
  const struct {
    const char* name;
    ScreenRect window;
    ScreenPoint click;
    ScreenRect taken;
  } cases[] = {
      {"off the bottom-right corner", {1800, 900, 2200, 1300}, {1900, 1000}, {1800, 900, 1920, 1080}},
      {"off the top-left corner", {-100, -50, 200, 150}, {0, 0}, {0, 0, 200, 150}},
      {"a maximised window's borders beyond every edge", {-8, -8, 1928, 1088}, {960, 540}, kScreen},
      {"wholly off the screen: the monitor behind the pointer", {1920, 0, 2400, 300}, {1919, 100}, kScreen},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    RegionSelection selection(kScreen, {c.window, kScreen}, kDragSize, c.click);
    EXPECT_EQ(selection.Shown(), c.taken);
    Play(selection, {PressAt(c.click.x, c.click.y), ReleaseAt(c.click.x, c.click.y)});
    EXPECT_EQ(selection.Taken(), c.taken);
  }
}
