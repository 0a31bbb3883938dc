#include <stdlib.h>
#include <sys/wait.h>

#include <stdexcept>
#include <vector>

#include "tests/support/system.h"

namespace fondaris::test_support {

std::filesystem::path makeOwnFolder(const std::string& prefix) {
  // mkdtemp: mode 0700 and a name no other process has.
  std::string pattern = (std::filesystem::temp_directory_path() / (prefix + "_XXXXXX")).string();
  std::vector<char> buffer(pattern.begin(), pattern.end());
  buffer.push_back('\0');
  if (::mkdtemp(buffer.data()) == nullptr)
    throw std::runtime_error("mkdtemp failed for " + pattern);
  return buffer.data();
}

int exitCodeOf(int systemStatus) {
  return WIFEXITED(systemStatus) ? WEXITSTATUS(systemStatus) : -1;
}

void setVariable(const std::string& name, const std::optional<std::string>& value) {
  if (value)
    ::setenv(name.c_str(), value->c_str(), 1);
  else
    ::unsetenv(name.c_str());
}

}  // namespace fondaris::test_support
