#include "tests/support/test_output.h"

#include <filesystem>
#include <random>

namespace fondaris::test_support {

void keepForALook(const std::string& file, const std::string& name) {
  namespace fs = std::filesystem;
  const fs::path target = fs::path(FONDARIS_BUILD_DIR) / "test-output" / name;
  std::error_code ec;
  fs::create_directories(target.parent_path(), ec);
  // Copied beside the target under a name of its own, then renamed over it in one step.
  const fs::path partial = target.string() + "." + std::to_string(std::random_device{}()) + ".part";
  fs::copy_file(file, partial, fs::copy_options::overwrite_existing, ec);
  if (!ec) fs::rename(partial, target, ec);
  if (ec) fs::remove(partial, ec);
}

}  // namespace fondaris::test_support
