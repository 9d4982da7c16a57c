// The registry operations and the preference accessors against the real
// registry of the test prefix.
#include "services/settings/registry.h"

#include <gtest/gtest.h>

#include <string>

#include "base/owners.h"
#include "core/settings/policies.h"

namespace {

constexpr const char* kScratch = "Software\\VorlaneTests\\Scratch";

class Registry : public ::testing::Test {
 protected:
  void SetUp() override { Clean(); }
  void TearDown() override { Clean(); }
  static void Clean() {
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\VorlaneTests");
    RegDeleteTreeA(HKEY_CURRENT_USER, "SOFTWARE\\Telmaric");
    RegDeleteKeyValueA(HKEY_CURRENT_USER, kRunKey, kRunValue);
  }
  // Stores raw bytes of any type, as another program might have.
  static void Put(const char* name, DWORD type, const void* data, DWORD size) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kPreferencesKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    owners::Key owned(key);
    ASSERT_EQ(RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size), ERROR_SUCCESS);
  }
  static bool KeyExists(const char* path) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
  }
};

}  // namespace

TEST_F(Registry, AbsentKeyAndAbsentValueGiveDefaultsAndCreateNothing) {
  EXPECT_FALSE(RegistryValueExists(HKEY_CURRENT_USER, kScratch, "Missing"));
  EXPECT_EQ(RegistryReadString(HKEY_CURRENT_USER, kScratch, "Missing"), "");
  EXPECT_EQ(RegistryReadDword(HKEY_CURRENT_USER, kScratch, "Missing"), 0);
  EXPECT_FALSE(RegistryReadData(HKEY_CURRENT_USER, kScratch, "Missing").has_value());
  EXPECT_FALSE(RegistryDeleteValue(HKEY_CURRENT_USER, kScratch, "Missing"));
  EXPECT_EQ(ReadPrefInteger("TimerDelay", 1), 1);
  EXPECT_EQ(ReadPrefString("WatermarkText", "%DATE% %TIME%"), "%DATE% %TIME%");
  EXPECT_FALSE(KeyExists("SOFTWARE\\Telmaric"));

  Put("Other", REG_DWORD, "\1\0\0\0", 4);
  EXPECT_EQ(ReadPrefInteger("TimerDelay", 1), 1);
}

TEST_F(Registry, WritesCreateTheKeyWithItsParentsAndReadBack) {
  EXPECT_TRUE(RegistryWriteString(HKEY_CURRENT_USER, "Software\\VorlaneTests\\A\\B", "Text", "hello"));
  EXPECT_EQ(RegistryReadString(HKEY_CURRENT_USER, "Software\\VorlaneTests\\A\\B", "Text"), "hello");
  EXPECT_TRUE(RegistryWriteDword(HKEY_CURRENT_USER, kScratch, "Number", -5));
  EXPECT_EQ(RegistryReadDword(HKEY_CURRENT_USER, kScratch, "Number"), -5);
  EXPECT_FALSE(RegistryWriteData(HKEY_CURRENT_USER, kScratch, "Negative", REG_BINARY, "x", -1));
  EXPECT_FALSE(RegistryValueExists(HKEY_CURRENT_USER, kScratch, "Negative"));
  EXPECT_TRUE(RegistryDeleteValue(HKEY_CURRENT_USER, kScratch, "Number"));
  EXPECT_FALSE(RegistryValueExists(HKEY_CURRENT_USER, kScratch, "Number"));
}

TEST_F(Registry, StringsAreWrittenInUtf16WithTheirTerminatorCounted) {
  RegistryWriteString(HKEY_CURRENT_USER, kScratch, "Text", "abc");
  auto data = RegistryReadData(HKEY_CURRENT_USER, kScratch, "Text");
  ASSERT_TRUE(data.has_value());
  EXPECT_EQ(data->type, static_cast<DWORD>(REG_SZ));
  ASSERT_EQ(data->bytes.size(), 8u);
  EXPECT_EQ(data->bytes[6], 0);
  EXPECT_EQ(data->bytes[7], 0);
}

TEST_F(Registry, TextsInAnyScriptComeBackAsTheyWere) {
  for (const char* text :
       {"\u0395\u03bb\u03bb\u03b7\u03bd\u03b9\u03ba\u03ac", "\u5370\u8868\u6a5f \u4e00", "Printer \U0001F5A8",
        "J\u00fcrgen \u041f\u0440\u043e\u0433\u0440\u0430\u043c\u043c\u044b"}) {
    WritePrefString("PrintPrinter", text);
    EXPECT_EQ(ReadPrefString("PrintPrinter", ""), text);
  }
}

// What an earlier version stored: texts written through the code page's functions.
TEST_F(Registry, AValueWrittenInTheAnsiCodePageReadsBackUnchanged) {
  if (GetACP() != 1252) GTEST_SKIP() << "the bytes below are those of code page 1252";
  Put("WatermarkText", REG_SZ, "Caf\xE9 \xA9 %DATE%", 14);
  EXPECT_EQ(ReadPrefString("WatermarkText", ""), "Caf\u00e9 \u00a9 %DATE%");
}

TEST_F(Registry, IntegersOfAnotherTypeOrSizeReadAsZero) {
  Put("TimerDelay", REG_SZ, "5", 2);
  Put("TimerInterval", REG_BINARY, "\7\0\0\0", 4);
  Put("TimerNumberOfShots", REG_DWORD, "\7\0", 2);
  Put("PrintPagePosition", REG_DWORD, "\2\0\0\0\xff\xff", 6);
  EXPECT_EQ(ReadPrefInteger("TimerDelay", 1), 0);
  EXPECT_EQ(ReadPrefInteger("TimerInterval", 1), 0);
  EXPECT_EQ(ReadPrefInteger("TimerNumberOfShots", 1), 0);
  EXPECT_EQ(ReadPrefInteger("PrintPagePosition", 4), 2);
}

TEST_F(Registry, TextsOfAnotherTypeOrEmptyReadAsTheDefault) {
  Put("WatermarkText", REG_SZ, "", 1);
  Put("Language", REG_DWORD, "\1\0\0\0", 4);
  Put("PrintPrinter", REG_EXPAND_SZ, "Queue\0", 6);
  EXPECT_EQ(ReadPrefString("WatermarkText", "%DATE% %TIME%"), "%DATE% %TIME%");
  EXPECT_EQ(ReadPrefString("Language", "English"), "English");
  EXPECT_EQ(ReadPrefString("PrintPrinter", "Default"), "Default");
}

TEST_F(Registry, TextsEndAtTheirFirstNul) {
  Put("Unterminated", REG_SZ, "abc", 3);
  Put("Embedded", REG_SZ, "ab\0cd\0", 6);
  EXPECT_EQ(ReadPrefString("Unterminated", "x"), "abc");
  EXPECT_EQ(ReadPrefString("Embedded", "x"), "ab");
}

TEST_F(Registry, AVeryLongTextIsReadWhole) {
  const std::string text(100000, 'w');
  EXPECT_TRUE(RegistryWriteString(HKEY_CURRENT_USER, kPreferencesKey, "WatermarkText", text));
  EXPECT_EQ(ReadPrefString("WatermarkText", "%DATE% %TIME%"), text);
}

TEST_F(Registry, ThePreferencesKeyKeepsItsTrailingBackslash) {
  EXPECT_EQ(std::string(kPreferencesKey), "SOFTWARE\\Telmaric\\Vorlane\\Preferences\\");
  WritePrefInteger("TimerDelay", 9);
  EXPECT_TRUE(KeyExists("Software\\Telmaric\\Vorlane\\Preferences"));
  EXPECT_EQ(RegistryReadDword(HKEY_CURRENT_USER, "Software\\Telmaric\\Vorlane\\Preferences", "TimerDelay"), 9);
}

TEST_F(Registry, SavePreferencesWritesTheStoreTypes) {
  RegistryPreferenceStore store;
  Preferences p = DefaultPreferences("Queue A");
  p.WatermarkMake = true;
  SavePreferences(store, p);
  auto make = RegistryReadData(HKEY_CURRENT_USER, kPreferencesKey, "WatermarkMake");
  ASSERT_TRUE(make.has_value());
  EXPECT_EQ(make->type, static_cast<DWORD>(REG_DWORD));
  EXPECT_EQ(RegistryReadDword(HKEY_CURRENT_USER, kPreferencesKey, "WatermarkMake"), 1);
  auto printer = RegistryReadData(HKEY_CURRENT_USER, kPreferencesKey, "PrintPrinter");
  ASSERT_TRUE(printer.has_value());
  EXPECT_EQ(printer->type, static_cast<DWORD>(REG_SZ));

  Preferences loaded = LoadPreferences(store, [] { return std::string("unused"); });
  EXPECT_TRUE(loaded.WatermarkMake);
  EXPECT_EQ(loaded.PrintPrinter, "Queue A");
}

TEST_F(Registry, StartWithWindowsStoresTheBarePathAndRemovesIt) {
  EXPECT_FALSE(StartWithWindowsExists());
  const std::string path = "C:\\Program Files\\Vorlane Tool\\Vorlane.exe";
  AddStartWithWindows(path);
  EXPECT_TRUE(StartWithWindowsExists());
  EXPECT_EQ(RegistryReadString(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Run", "Vorlane"),
            path);
  RemoveStartWithWindows();
  EXPECT_FALSE(StartWithWindowsExists());
}

TEST_F(Registry, KeysAreClosedOnEveryPath) {
  const int before = owners::liveCount;
  RegistryReadString(HKEY_CURRENT_USER, kScratch, "Missing");
  RegistryWriteDword(HKEY_CURRENT_USER, kScratch, "Number", 1);
  RegistryReadDword(HKEY_CURRENT_USER, kScratch, "Number");
  RegistryValueExists(HKEY_CURRENT_USER, kScratch, "Number");
  RegistryDeleteValue(HKEY_CURRENT_USER, kScratch, "Number");
  EXPECT_EQ(owners::liveCount, before);
}

namespace {

class PolicyRegistry : public ::testing::Test {
 protected:
  void SetUp() override { Clean(); }
  void TearDown() override { Clean(); }
  static void Clean() {
    for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) RegDeleteTreeA(root, "SOFTWARE\\Policies\\Telmaric");
  }
  static void Put(HKEY root, const char* name, DWORD type, const void* data, DWORD size) {
    ASSERT_TRUE(RegistryWriteData(root, kPolicyKey, name, type, data, size));
  }
};

}  // namespace

TEST_F(PolicyRegistry, OnlyAValueOfTheTypeAskedForIsAPolicy) {
  struct Row {
    const char* name;
    DWORD type;
    const char* bytes;
    DWORD size;
    int32_t integer;   // read with the fallback -1
    std::string text;  // read with the fallback "none"
  };
  const Row rows[] = {
      {"Dword", REG_DWORD, "\x05\0\0\0", 4, 5, "none"},
      {"Negative", REG_DWORD, "\xFF\xFF\xFF\xFF", 4, -1, "none"},
      {"Short", REG_DWORD, "\x05\0\0", 3, -1, "none"},
      {"Qword", REG_QWORD, "\x05\0\0\0\0\0\0\0", 8, -1, "none"},
      {"Binary", REG_BINARY, "\x05\0\0\0", 4, -1, "none"},
      {"Text", REG_SZ, "C\0O\0N\0F\0\0\0", 10, -1, "CONF"},
      {"Empty", REG_SZ, "\0\0", 2, -1, "none"},
      {"Expandable", REG_EXPAND_SZ, "C\0\0\0", 4, -1, "none"},
  };
  for (const Row& row : rows) Put(HKEY_LOCAL_MACHINE, row.name, row.type, row.bytes, row.size);
  RegistryPolicyStore computer(HKEY_LOCAL_MACHINE);
  for (const Row& row : rows) {
    EXPECT_EQ(computer.ReadInteger(row.name, -1), row.integer) << row.name;
    EXPECT_EQ(computer.ReadString(row.name, "none"), row.text) << row.name;
  }
  EXPECT_EQ(computer.ReadInteger("Missing", 7), 7);
  // Vorlane writes no policy.
  computer.WriteInteger("Written", 1);
  computer.WriteString("Written", "x");
  EXPECT_FALSE(RegistryValueExists(HKEY_LOCAL_MACHINE, kPolicyKey, "Written"));
}

TEST_F(PolicyRegistry, TheComputersPolicyWinsOverTheUsersInTheRealRegistry) {
  ASSERT_TRUE(RegistryWriteString(HKEY_CURRENT_USER, kPolicyKey, "WatermarkText", "USER"));
  ASSERT_TRUE(RegistryWriteString(HKEY_LOCAL_MACHINE, kPolicyKey, "WatermarkText", "MACHINE"));
  ASSERT_TRUE(RegistryWriteDword(HKEY_CURRENT_USER, kPolicyKey, "PrintCopies", 4));
  ASSERT_TRUE(RegistryWriteString(HKEY_LOCAL_MACHINE, kPolicyKey, "PrintCopies", "9"));  // the wrong type
  RegistryPolicyStore computer(HKEY_LOCAL_MACHINE), user(HKEY_CURRENT_USER);
  Preferences record;
  const PoliciesInForce policies = ApplyPolicies(record, computer, user);
  EXPECT_EQ(record.WatermarkText, "MACHINE");
  EXPECT_EQ(record.PrintCopies, 4);
  EXPECT_TRUE(policies.Holds("WatermarkText") && policies.Holds("PrintCopies"));
  EXPECT_FALSE(policies.Holds("WatermarkMake"));
}
