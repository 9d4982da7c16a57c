#pragma once
// A preference store in memory, with the registry's read rules: an absent
// value, or an empty text, gives the fallback. It records its reads and writes.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "core/settings/preferences.h"

class MapStore : public PreferenceStore {
 public:
  std::map<std::string, std::string> texts;
  std::map<std::string, int32_t> numbers;
  std::vector<std::string> reads;
  std::vector<std::string> writes;

  std::string ReadString(const std::string& name, const std::string& fallback) override {
    reads.push_back(name);
    auto found = texts.find(name);
    return found == texts.end() || found->second.empty() ? fallback : found->second;
  }
  int32_t ReadInteger(const std::string& name, int32_t fallback) override {
    reads.push_back(name);
    auto found = numbers.find(name);
    return found == numbers.end() ? fallback : found->second;
  }
  void WriteString(const std::string& name, const std::string& text) override {
    writes.push_back(name);
    texts[name] = text;
  }
  void WriteInteger(const std::string& name, int32_t value) override {
    writes.push_back(name);
    numbers[name] = value;
  }
};
