#include <windows.h>

#include <random>
#include <stdexcept>

#include "core/platform/platform.h"
#include "tests/support/system.h"

namespace fondaris::test_support {

std::filesystem::path makeOwnFolder(const std::string& prefix) {
  // The user's own temporary folder; CreateDirectoryW fails on a name that is taken.
  const std::filesystem::path base = std::filesystem::temp_directory_path();
  std::random_device rd;
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::filesystem::path folder =
        base / core::platform::nativePath(prefix + "_" + std::to_string(rd() % 1000000));
    if (::CreateDirectoryW(folder.c_str(), nullptr)) return folder;
  }
  throw std::runtime_error("no temporary folder for " + prefix);
}

int exitCodeOf(int systemStatus) {
  return systemStatus;
}

void setVariable(const std::string& name, const std::optional<std::string>& value) {
  // Both the system's copy and the C library's, which std::getenv reads.
  const std::wstring wideName = core::platform::nativePath(name).wstring();
  const std::wstring wideValue = value ? core::platform::nativePath(*value).wstring() : L"";
  ::SetEnvironmentVariableW(wideName.c_str(), value ? wideValue.c_str() : nullptr);
  ::_wputenv_s(wideName.c_str(), wideValue.c_str());
}

}  // namespace fondaris::test_support
