#include "core/shell.h"

#include "core/files.h"
#include "core/platform/platform.h"

namespace fondaris::core {

OpenResult SystemShell::open(const std::string& path) {
  if (!fileExists(path)) return OpenResult::NotFound;
  return platform::openWithAssociatedProgram(path);
}

}  // namespace fondaris::core
