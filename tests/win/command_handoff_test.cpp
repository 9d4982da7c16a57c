// Handing a command line's option to the running copy's window.
#include "services/commands/command_handoff.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "tests/win/test_window.h"

namespace {

constexpr DWORD kShortLimitMs = 300;

std::string handed;  // what the taking window was given

LRESULT CALLBACK TakingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_COPYDATA) return DefWindowProcW(window, message, wParam, lParam);
  handed = HandedOption(*reinterpret_cast<const COPYDATASTRUCT*>(lParam));
  return handed.empty() ? FALSE : TRUE;
}

// Answers every option with what it was made to answer.
template <LRESULT answer>
LRESULT CALLBACK AnsweringProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return message == WM_COPYDATA ? answer : DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

TEST(CommandHandOff, TheRunningCopysWindowIsGivenTheOptionsName) {
  AnnounceCommandWindow();
  const HWND window = test_window::Make({"VorlaneTakingWindow", TakingProcedure});
  ASSERT_NE(window, nullptr);
  handed.clear();
  EXPECT_EQ(HandToRunningCopy("VorlaneTakingWindow", "preferences", false, kHandOffLimitMs), HandOff::Taken);
  EXPECT_EQ(handed, "preferences");
  // The window answered, but this process, which it belongs to, does not end.
  EXPECT_EQ(HandToRunningCopy("VorlaneTakingWindow", "exit", true, kShortLimitMs), HandOff::NotTaken);
  EXPECT_EQ(handed, "exit");
  DestroyWindow(window);
}

TEST(CommandHandOff, NoWindowNoAnswerInTimeOrARefusalIsToldApart) {
  AnnounceCommandWindow();
  EXPECT_EQ(HandToRunningCopy("VorlaneNoSuchWindow", "screen", false, kShortLimitMs), HandOff::NotTaken);

  struct Row {
    const char* windowClass;
    WNDPROC procedure;
    HandOff expected;
  };
  const Row rows[] = {
      {"VorlaneAnsweringFalse", AnsweringProcedure<FALSE>, HandOff::NotTaken},
      {"VorlaneAnsweringRefused", AnsweringProcedure<kOptionRefused>, HandOff::Refused},
      {"VorlaneAnsweringOther", AnsweringProcedure<kOptionRefused + 1>, HandOff::NotTaken},
  };
  for (const Row& row : rows) {
    const HWND answering = test_window::Make({row.windowClass, row.procedure});
    ASSERT_NE(answering, nullptr);
    EXPECT_EQ(HandToRunningCopy(row.windowClass, "screen", false, kShortLimitMs), row.expected) << row.windowClass;
    DestroyWindow(answering);
  }

  // A window whose thread takes no messages, as a copy that hangs.
  HANDLE made = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  HANDLE release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  std::thread hanging([&] {
    const HWND window = test_window::Make({"VorlaneHangingWindow", TakingProcedure});
    SetEvent(made);
    WaitForSingleObject(release, INFINITE);
    DestroyWindow(window);
  });
  WaitForSingleObject(made, INFINITE);
  handed.clear();
  EXPECT_EQ(HandToRunningCopy("VorlaneHangingWindow", "screen", false, kShortLimitMs), HandOff::NotTaken);
  SetEvent(release);
  hanging.join();
  CloseHandle(made);
  CloseHandle(release);
}

TEST(CommandHandOff, OnlyAMessageTaggedAsAnOptionCarriesOne) {
  char text[] = "screen";
  struct Row {
    COPYDATASTRUCT data;
    std::string expected;
  };
  const Row rows[] = {
      {{kHandedOptionTag, 6, text}, "screen"},
      {{kHandedOptionTag, 3, text}, "scr"},  // the length counts, not a terminator
      {{kHandedOptionTag, 0, text}, ""},
      {{kHandedOptionTag, 6, nullptr}, ""},
      {{kHandedOptionTag + 1, 6, text}, ""},
      {{0, 6, text}, ""},
  };
  for (const Row& row : rows) EXPECT_EQ(HandedOption(row.data), row.expected) << row.data.dwData;
}
