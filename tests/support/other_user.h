#pragma once

#include <sys/types.h>

#include <filesystem>
#include <optional>

namespace fondaris::test_support {

// The user "nobody", to own what "another user" planted. Only root can give files away: empty
// when not root (or there is no such user), and the test skips.
std::optional<uid_t> otherUser();

// A folder like /tmp: sticky, every user may write.
void makeSharedFolder(const std::filesystem::path& folder);

// Hands the entry (a link itself, not its target) to `user`; false when that failed.
bool giveTo(const std::filesystem::path& entry, uid_t user);

}  // namespace fondaris::test_support
