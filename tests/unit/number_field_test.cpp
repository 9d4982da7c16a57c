#include "core/settings/number_field.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
constexpr int32_t kMin = std::numeric_limits<int32_t>::min();

// An edit control with its selection, wired to the change rule: typing
// replaces the selection, then the field normalises its text.
struct Field {
  std::string text;
  size_t selectionStart = 0;
  size_t selectionLength = 0;

  void Change(std::string newText, size_t caret) {
    const NumberFieldText tidy = NormaliseNumberText(newText, caret);
    text = tidy.text;
    selectionStart = tidy.selectAll ? 0 : tidy.caret;
    selectionLength = tidy.selectAll ? text.size() : 0;
  }
  void Type(char c) {
    Change(text.substr(0, selectionStart) + c + text.substr(selectionStart + selectionLength), selectionStart + 1);
  }
  void Backspace() {
    if (selectionLength > 0) {
      Change(text.substr(0, selectionStart) + text.substr(selectionStart + selectionLength), selectionStart);
    } else if (selectionStart > 0) {
      Change(text.substr(0, selectionStart - 1) + text.substr(selectionStart), selectionStart - 1);
    }
  }
  void Leave() { text = LeaveNumberText(text); }
};

}  // namespace

TEST(ParseInteger, ReadsWholeTextsAsSigned32BitIntegers) {
  const struct {
    const char* text;
    std::optional<int32_t> expected;
  } cases[] = {
      {"0", 0},
      {"7", 7},
      {"007", 7},
      {"+12", 12},
      {"-5", -5},
      {"-0", 0},
      {"   42", 42},
      {"\t42", 42},
      {"2147483647", kMax},
      {"-2147483648", kMin},
      {"0000000000002147483647", kMax},
      {"$1F", 31},
      {"$1f", 31},
      {"0x1F", 31},
      {"0X1f", 31},
      {"$a", 10},
      {"0xa", 10},
      {"$A", 10},
      {"-$10", -16},
      {"+0x10", 16},
      {"$7FFFFFFF", kMax},
      {"-$80000000", kMin},
      {" -0x80000000", kMin},
      {"$0", 0},
      {"0x00000000000000000001", 1},
      {"", std::nullopt},
      {" ", std::nullopt},
      {"-", std::nullopt},
      {"+", std::nullopt},
      {"$", std::nullopt},
      {"0x", std::nullopt},
      {"-0x", std::nullopt},
      {"x1", std::nullopt},
      {"42 ", std::nullopt},
      {"4 2", std::nullopt},
      {"- 5", std::nullopt},
      {"--5", std::nullopt},
      {"+-5", std::nullopt},
      {"5-", std::nullopt},
      {"1.5", std::nullopt},
      {"1e3", std::nullopt},
      {"12a", std::nullopt},
      {"$1G", std::nullopt},
      {"0x-5", std::nullopt},
      {"$$1", std::nullopt},
      {"0b101", std::nullopt},
      {"\xEF\xBC\x91", std::nullopt},  // a full-width digit
      {"2147483648", std::nullopt},
      {"-2147483649", std::nullopt},
      {"99999999999999999999999", std::nullopt},
      {"-99999999999999999999999", std::nullopt},
      {"$80000000", std::nullopt},
      {"$FFFFFFFF", std::nullopt},
      {"-$80000001", std::nullopt},
      {"0x100000000", std::nullopt},
      {"$FFFFFFFFFFFFFFFFFFFF", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseInteger(c.text), c.expected) << '"' << c.text << '"';
}

TEST(ParseInteger, FallbackAppliesOnlyToTextsThatAreNoInteger) {
  EXPECT_EQ(IntegerOr("12", 1), 12);
  EXPECT_EQ(IntegerOr("0", 1), 0);
  EXPECT_EQ(IntegerOr("", 1), 1);
  EXPECT_EQ(IntegerOr("abc", 0), 0);
  EXPECT_EQ(IntegerOr("2147483648", 1), 1);
}

TEST(NumberField, ChangeGivesTheDecimalFormOrZeroSelected) {
  const struct {
    const char* text;
    size_t caret;
    const char* expected;
    size_t expectedCaret;
    bool selectAll;
  } cases[] = {
      {"7", 1, "7", 1, false},
      {"007", 3, "7", 1, false},
      {"0012", 2, "12", 2, false},
      {"", 0, "0", 0, true},
      {"0", 1, "0", 1, true},
      {"-5", 2, "-5", 2, false},
      {"-0", 2, "0", 1, true},
      {"$1F", 3, "31", 2, false},
      {" 15", 3, "15", 2, false},
      {"2147483647", 10, "2147483647", 10, false},
      {"2147483648", 10, "0", 1, true},
      {"21474836470", 11, "0", 1, true},
      {"-2147483649", 11, "0", 1, true},
      {"12a", 3, "0", 1, true},
      {"-", 1, "0", 1, true},
      {"0x", 2, "0", 1, true},
  };
  for (const auto& c : cases) {
    const NumberFieldText field = NormaliseNumberText(c.text, c.caret);
    EXPECT_EQ(field.text, c.expected) << c.text;
    EXPECT_EQ(field.caret, c.expectedCaret) << c.text;
    EXPECT_EQ(field.selectAll, c.selectAll) << c.text;
    // The rule settles: applied to its own result it changes nothing.
    EXPECT_EQ(NormaliseNumberText(field.text, field.caret).text, field.text) << c.text;
  }
}

TEST(NumberField, LeavingTurnsZeroAndNonIntegersIntoOne) {
  const struct {
    const char* text;
    const char* expected;
  } cases[] = {
      {"0", "1"},
      {"", "1"},
      {"-0", "1"},
      {"$0", "1"},
      {"abc", "1"},
      {"2147483648", "1"},
      {"1", "1"},
      {"7", "7"},
      {"-5", "-5"},
      {"999", "999"},
      {"2147483647", "2147483647"},
  };
  for (const auto& c : cases) EXPECT_EQ(LeaveNumberText(c.text), c.expected) << c.text;
}

TEST(NumberField, TypingZeroZeroSevenIntoAnEmptiedFieldLeavesSeven) {
  Field delay;
  delay.Change("", 0);
  EXPECT_EQ(delay.text, "0");
  EXPECT_EQ(delay.selectionLength, 1u);
  for (char c : std::string("007")) delay.Type(c);
  EXPECT_EQ(delay.text, "7");
  EXPECT_EQ(delay.selectionStart, 1u);
  EXPECT_EQ(delay.selectionLength, 0u);
  delay.Type('5');
  EXPECT_EQ(delay.text, "75");
}

TEST(NumberField, DeletingEveryDigitLeavesZeroSelectedAndLeavingMakesItOne) {
  Field shots{"125", 3, 0};
  for (int i = 0; i < 3; ++i) shots.Backspace();
  EXPECT_EQ(shots.text, "0");
  EXPECT_EQ(shots.selectionStart, 0u);
  EXPECT_EQ(shots.selectionLength, 1u);
  shots.Leave();
  EXPECT_EQ(shots.text, "1");
}
