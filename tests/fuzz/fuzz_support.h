#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "core/files.h"
#include "tests/support/temp_folder.h"

namespace fondaris::fuzz {

inline std::string_view asText(const std::uint8_t* data, std::size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

// A folder of this process's own: the parsers under test read files, not memory.
inline const std::string& scratchFolder() {
  static const test_support::TempFolder folder("fondaris_fuzz");
  static const std::string path = folder.str();
  return path;
}

// Writes the input as `name` in the scratch folder and answers its path.
inline std::string scratchFile(const std::string& name, std::string_view bytes) {
  // A plain write: the atomic one syncs to disk and would slow every run down.
  const std::string path = core::joinPath(scratchFolder(), name);
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out.flush()) __builtin_trap();
  return path;
}

// Splits "first\nsecond\nrest" as a target's several inputs.
inline std::string_view takeLine(std::string_view& input) {
  const std::size_t end = input.find('\n');
  const std::string_view line = input.substr(0, end);
  input = end == std::string_view::npos ? std::string_view() : input.substr(end + 1);
  return line;
}

}  // namespace fondaris::fuzz

// A broken expectation is a finding like a crash.
#define FUZZ_CHECK(condition)           \
  do {                                  \
    if (!(condition)) __builtin_trap(); \
  } while (0)
