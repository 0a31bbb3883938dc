#pragma once

#include <filesystem>
#include <optional>
#include <string>

// What the test support needs from the system, one source per system (system_posix.cpp,
// system_windows.cpp).
namespace fondaris::test_support {

// A new folder under the system's temporary folder that no other process has, open to this
// user alone; throws when none can be made.
std::filesystem::path makeOwnFolder(const std::string& prefix);

// The exit code in what std::system answers; -1 when the command did not end by itself.
int exitCodeOf(int systemStatus);

// Sets an environment variable of this process, or removes it (nullopt).
void setVariable(const std::string& name, const std::optional<std::string>& value);

}  // namespace fondaris::test_support
