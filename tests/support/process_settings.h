#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/notation.h"

namespace fondaris::test_support {

// Restores on destruction every process-wide setting tests change: the working folder (the
// program's and the process's own, which the contract form moves), the core notation, the C locale,
// the regional settings hint and the environment variables the program reads (user name, home and
// user folders, temporary folders, locale names).
class ProcessSettingsGuard {
 public:
  ProcessSettingsGuard();
  ~ProcessSettingsGuard();
  ProcessSettingsGuard(const ProcessSettingsGuard&) = delete;
  ProcessSettingsGuard& operator=(const ProcessSettingsGuard&) = delete;

 private:
  std::string workingDirectory_;
  std::filesystem::path currentPath_;
  core::Notation notation_;
  std::string locale_;
  bool hint_;
  std::vector<std::pair<std::string, std::optional<std::string>>> environment_;
};

}  // namespace fondaris::test_support
