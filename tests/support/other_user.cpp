#include "tests/support/other_user.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fondaris::test_support {

std::optional<uid_t> otherUser() {
  if (::geteuid() != 0) return std::nullopt;
  const passwd* user = ::getpwnam("nobody");
  if (user == nullptr) return std::nullopt;
  return user->pw_uid;
}

void makeSharedFolder(const std::filesystem::path& folder) {
  std::filesystem::create_directories(folder);
  ::chmod(folder.c_str(), 01777);  // the umask would take the write bits away from mkdir
}

bool giveTo(const std::filesystem::path& entry, uid_t user) {
  return ::lchown(entry.c_str(), user, static_cast<gid_t>(-1)) == 0;
}

}  // namespace fondaris::test_support
