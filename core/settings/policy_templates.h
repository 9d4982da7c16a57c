#pragma once
// The policy templates an administrator loads into the group policy editor:
// one definitions file (ADMX) and, for each language, one file of its texts
// (ADML). Both are made from the settings table and the text table, so that
// every setting is a policy of the same name and type.
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "core/languages/texts.h"

// What the templates say of a setting beyond the settings table, which
// gives the values an administrator may choose.
struct SettingPolicy {
  const char* setting;              // the setting's name, in the settings table's order
  TextId tab;                       // the title of its tab: the policy's category
  TextId caption;                   // its caption in the Preferences window
  std::optional<TextId> part{};     // which part of it, for settings that share a caption
  std::optional<TextId> note{};     // a sentence the explanation adds
  std::span<const TextId> items{};  // a list whose items the text table does not place on it
};

extern const std::span<const SettingPolicy> kSettingPolicies;

// A caption as a policy names it: without its mnemonic marks, and without
// the colon or the ellipsis that lead to its control.
std::string PolicyCaption(std::string_view caption);

// The definitions, the same for every language.
std::string PolicyDefinitions();

// One language's texts; version is the program's, which the templates
// apply to from then on.
std::string PolicyResources(const Texts& texts, std::string_view version);
