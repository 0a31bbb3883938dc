#include "tests/support/temp_folder.h"

#include <stdlib.h>

#include <stdexcept>
#include <vector>

namespace fondaris::test_support {

namespace fs = std::filesystem;

TempFolder::TempFolder(const std::string& prefix) {
  std::string pattern = (fs::temp_directory_path() / (prefix + "_XXXXXX")).string();
  std::vector<char> buffer(pattern.begin(), pattern.end());
  buffer.push_back('\0');
  if (::mkdtemp(buffer.data()) == nullptr)
    throw std::runtime_error("mkdtemp failed for " + pattern);
  path_ = buffer.data();
}

TempFolder::~TempFolder() {
  // Tests lock folders to see writes fail; open them again so everything can go.
  std::error_code ec;
  fs::permissions(path_, fs::perms::owner_all, ec);
  for (auto it = fs::recursive_directory_iterator(path_, ec);
       !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
    if (it->is_directory(ec) && !it->is_symlink(ec))
      fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
  }
  fs::remove_all(path_, ec);
}

}  // namespace fondaris::test_support
