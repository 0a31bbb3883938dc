#pragma once

#include <exception>
#include <filesystem>
#include <memory>

#include "tests/support/temp_folder.h"

namespace fondaris::bench {

// A folder of this process's own, removed at exit: benchmarks run side by side never share
// files. Empty when it could not be made, so a benchmark can stop with an error instead.
inline const std::filesystem::path& privateFolder() {
  static const std::filesystem::path none;
  static const std::unique_ptr<test_support::TempFolder> folder =
      []() -> std::unique_ptr<test_support::TempFolder> {
    try {
      return std::make_unique<test_support::TempFolder>("fondaris_bench");
    } catch (const std::exception&) {
      return nullptr;
    }
  }();
  return folder ? folder->path() : none;
}

}  // namespace fondaris::bench
