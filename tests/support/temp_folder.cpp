#include "tests/support/temp_folder.h"

#include "tests/support/system.h"

namespace fondaris::test_support {

namespace fs = std::filesystem;

TempFolder::TempFolder(const std::string& prefix) : path_(makeOwnFolder(prefix)) {}

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
