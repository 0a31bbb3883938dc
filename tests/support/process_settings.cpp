#include "tests/support/process_settings.h"

#include <clocale>
#include <cstdlib>

#include "core/files.h"
#include "core/settings.h"
#include "tests/support/system.h"

namespace fondaris::test_support {

namespace {

constexpr const char* kVariables[] = {"USERNAME",
                                      "USER",
                                      "USERPROFILE",
                                      "HOME",
                                      "TMP",
                                      "TEMP",
                                      "TMPDIR",
                                      "XDG_DATA_HOME",
                                      "XDG_DOCUMENTS_DIR",
                                      "XDG_CONFIG_HOME",
                                      "APPDATA",
                                      "LC_ALL",
                                      "LC_NUMERIC",
                                      "LC_MONETARY",
                                      "LANG"};

}  // namespace

ProcessSettingsGuard::ProcessSettingsGuard()
    : workingDirectory_(core::workingDirectory()),
      currentPath_(std::filesystem::current_path()),
      notation_(core::notation()),
      locale_(std::setlocale(LC_ALL, nullptr)),
      hint_(core::regionalSettingsHint()) {
  for (const char* name : kVariables) {
    const char* value = std::getenv(name);
    environment_.emplace_back(name, value ? std::optional<std::string>(value) : std::nullopt);
  }
}

ProcessSettingsGuard::~ProcessSettingsGuard() {
  core::setWorkingDirectory(workingDirectory_);
  std::error_code ignored;
  std::filesystem::current_path(currentPath_, ignored);
  core::notation() = notation_;
  std::setlocale(LC_ALL, locale_.c_str());
  core::regionalSettingsHint() = hint_;
  for (const auto& [name, value] : environment_) setVariable(name, value);
}

}  // namespace fondaris::test_support
