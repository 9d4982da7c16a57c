#include <cstdio>
#include <cstdlib>

#include "tests/fuzz/fuzz_properties.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string broken = fuzz::CheckNumberInput(std::string_view(reinterpret_cast<const char*>(data), size));
  if (!broken.empty()) {
    std::fprintf(stderr, "number field: %s\n", broken.c_str());
    std::abort();
  }
  return 0;
}
