// Hot-key registration and the system's key names against the real system.
#include "services/capture/hot_keys.h"

#include <gtest/gtest.h>

#include <vector>

#include "base/owners.h"
#include "core/settings/hot_key_settings.h"
#include "tests/win/test_window.h"

namespace {

void PressKeys(const std::vector<WORD>& keys) {
  std::vector<INPUT> inputs;
  for (WORD key : keys) {
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    inputs.push_back(input);
  }
  for (auto key = keys.rbegin(); key != keys.rend(); ++key) {
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = *key;
    input.ki.dwFlags = KEYEVENTF_KEYUP;
    inputs.push_back(input);
  }
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

class HotKeys : public ::testing::Test {
 protected:
  void SetUp() override {
    main_.reset(test_window::Make());
    other_.reset(test_window::Make());
    ASSERT_TRUE(main_) << "no window: run on a display";
    ASSERT_TRUE(other_);
  }
  void TearDown() override {
    UnregisterHotKeys(main_.get());
    UnregisterHotKey(other_.get(), kOtherId);
  }

  // Whether the other window can take a combination, which it cannot while
  // the main window holds it.
  bool OtherCanTake(const HotKey& hotKey) {
    bool taken = RegisterHotKey(other_.get(), kOtherId, hotKey.Modifiers, hotKey.Key) != FALSE;
    if (taken) UnregisterHotKey(other_.get(), kOtherId);
    return taken;
  }

  void Register(const HotKey& entire, const HotKey& active, const HotKey& region = {}) {
    const HotKeyRegistration hotKeys[] = {{kHotKeys[0].id, entire, "entire refused"},
                                          {kHotKeys[1].id, active, "active refused"},
                                          {kHotKeys[2].id, region, "region refused"}};
    RegisterHotKeys(main_.get(), hotKeys, [this, &hotKeys](size_t place, const std::string& text) {
      EXPECT_EQ(hotKeys[place].refusedText, text);
      reports_.push_back(text);
    });
  }

  static constexpr int kOtherId = 7;
  owners::Window main_;
  owners::Window other_;
  std::vector<std::string> reports_;
};

}  // namespace

TEST_F(HotKeys, EveryDefinitionIsRegisteredAndRemoved) {
  const HotKey entire{MOD_CONTROL | MOD_SHIFT, VK_F9};
  const HotKey active{MOD_ALT | MOD_SHIFT, VK_F9};
  const HotKey region{MOD_SHIFT, VK_F9};
  Register(entire, active, region);
  EXPECT_TRUE(reports_.empty());
  for (const HotKey& each : {entire, active, region}) EXPECT_FALSE(OtherCanTake(each)) << each.Modifiers;

  UnregisterHotKeys(main_.get());
  for (const HotKey& each : {entire, active, region}) EXPECT_TRUE(OtherCanTake(each)) << each.Modifiers;
}

TEST_F(HotKeys, CombinationHeldElsewhereIsRefusedAndReportedTheOthersStillRegister) {
  const HotKey entire{MOD_CONTROL | MOD_SHIFT, VK_F10};
  const HotKey active{MOD_ALT | MOD_SHIFT, VK_F10};
  const HotKey region{MOD_SHIFT, VK_F10};
  const struct {
    HotKey held;
    const char* report;
    std::vector<HotKey> registered;
  } cases[] = {
      {entire, "entire refused", {active, region}},
      {region, "region refused", {entire, active}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.report);
    reports_.clear();
    ASSERT_TRUE(RegisterHotKey(other_.get(), kOtherId, c.held.Modifiers, c.held.Key));
    Register(entire, active, region);
    EXPECT_EQ(reports_, std::vector<std::string>{c.report});
    for (const HotKey& each : c.registered) EXPECT_FALSE(OtherCanTake(each)) << each.Modifiers;
    UnregisterHotKeys(main_.get());
    UnregisterHotKey(other_.get(), kOtherId);
  }
}

TEST_F(HotKeys, EqualDefinitionsRefuseTheLaterOnes) {
  const HotKey same{MOD_CONTROL | MOD_ALT, VK_F11};
  Register(same, same, same);
  EXPECT_EQ(reports_, (std::vector<std::string>{"active refused", "region refused"}));
}

TEST_F(HotKeys, RefusalOfNoneIsReportedOnlyWithAModifier) {
  // The other window holds "None" alone and "None" with Ctrl.
  ASSERT_TRUE(RegisterHotKey(other_.get(), kOtherId, 0, 0));
  ASSERT_TRUE(RegisterHotKey(other_.get(), kOtherId + 1, MOD_CONTROL, 0));
  Register({0, 0}, {MOD_CONTROL, 0});
  UnregisterHotKey(other_.get(), kOtherId + 1);
  EXPECT_FALSE(UnregisterHotKey(main_.get(), kHotKeys[0].id)) << "the system did not refuse";
  EXPECT_EQ(reports_, std::vector<std::string>{"active refused"});
}

TEST_F(HotKeys, PressingARegisteredCombinationSendsItsIdentifier) {
  Register({MOD_CONTROL | MOD_SHIFT, VK_F8}, {MOD_ALT | MOD_SHIFT, VK_F7}, {MOD_SHIFT, VK_F6});
  ASSERT_TRUE(reports_.empty());
  PressKeys({VK_CONTROL, VK_SHIFT, VK_F8});
  EXPECT_TRUE(test_window::Receive(main_.get(), WM_HOTKEY, kHotKeys[0].id));
  PressKeys({VK_MENU, VK_SHIFT, VK_F7});
  EXPECT_TRUE(test_window::Receive(main_.get(), WM_HOTKEY, kHotKeys[1].id));
  PressKeys({VK_SHIFT, VK_F6});
  EXPECT_TRUE(test_window::Receive(main_.get(), WM_HOTKEY, kHotKeys[2].id));
}

TEST(SystemKeyNames, AgreeWithTheUsEnglishNamesForCharacterKeys) {
  struct Case {
    uint8_t key;
    const char* name;
  } cases[] = {
      {0xBA, ";"}, {0xBB, "="}, {0xBC, ","},  {0xBD, "-"}, {0xBE, "."}, {0xBF, "/"},
      {0xC0, "`"}, {0xDB, "["}, {0xDC, "\\"}, {0xDD, "]"}, {0xDE, "'"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(SystemKeyNameOf(c.key), c.name);
  }
  for (char letter = 'A'; letter <= 'Z'; ++letter) {
    EXPECT_EQ(SystemKeyNameOf(static_cast<uint8_t>(letter)), std::string(1, letter));
  }
  for (char digit = '0'; digit <= '9'; ++digit) {
    EXPECT_EQ(SystemKeyNameOf(static_cast<uint8_t>(digit)), std::string(1, digit));
  }
}

TEST(SystemKeyNames, KeyWithoutScanCodeHasNoName) { EXPECT_EQ(SystemKeyNameOf(0), ""); }

TEST(SystemKeyNames, ListItemsResolveThroughTheSystem) {
  struct Case {
    const char* item;
    int32_t code;
  } cases[] = {
      {"Q", 0x51}, {"7", 0x37}, {"F5", 0x74}, {"Del", 0x2E}, {";", 0xBA},
      {"-", 0xBD}, {".", 0xBE}, {"`", 0xC0},  {"[", 0xDB},   {"Pause", 0x13},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.item);
    int32_t code = ItemToKeyCode(c.item, SystemKeyNameOf, SameTextInUserLocale);
    EXPECT_EQ(code, c.code);
    auto item = KeyCodeToItem(code, SystemKeyNameOf);
    ASSERT_TRUE(item.has_value());
    EXPECT_STREQ(kKeyNames[*item], c.item);
  }
}

TEST(SystemKeyNames, LocaleComparisonIgnoresCase) {
  EXPECT_TRUE(SameTextInUserLocale("Num Del", "num DEL"));
  EXPECT_TRUE(SameTextInUserLocale("", ""));
  EXPECT_FALSE(SameTextInUserLocale("Num Del", "Num Del "));
  EXPECT_FALSE(SameTextInUserLocale("A", "B"));
}
