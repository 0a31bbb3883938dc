// Files on POSIX systems: permission bits, owners and symbolic links decide what may be written.
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <random>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "core/platform/platform.h"

namespace fondaris::core::platform {

namespace fs = std::filesystem;

std::filesystem::path nativePath(std::string_view utf8) {
  return fs::path(utf8);
}

std::string utf8Path(const std::filesystem::path& path) {
  return path.string();
}

namespace {

bool writeAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

// A folder other users may write (like /tmp): what stands there may have been planted.
bool isShared(const struct stat& folder) {
  return (folder.st_mode & (S_ISVTX | S_IWGRP | S_IWOTH)) != 0;
}

fs::path folderOf(const fs::path& path) {
  return path.has_parent_path() ? path.parent_path() : fs::path(".");
}

// An entry (not followed) that another user put into a shared folder: writing through such a
// link or over such a file would hand him the customer's data. A link made by the folder's
// owner counts as trusted, as the kernel's own rule has it; a file never does, since a replaced
// file keeps its permission bits and would stay readable to him.
bool takenByOther(const fs::path& path, const struct stat& entry) {
  if (entry.st_uid == ::geteuid()) return false;
  struct stat info {};
  if (::stat(folderOf(path).c_str(), &info) != 0 || !isShared(info)) return false;
  return !(S_ISLNK(entry.st_mode) && entry.st_uid == info.st_uid);
}

// The file a name finally refers to: symbolic links are followed (relative ones from the
// link's folder), so writing replaces the target and the link stays a link. Every step is
// checked, so that no link or file of another user in a shared folder is followed or replaced.
Result<std::string, FileError> resolveLinks(const std::string& path) {
  fs::path p(path);
  for (int hops = 0; hops < 40; ++hops) {
    struct stat entry {};
    if (::lstat(p.c_str(), &entry) != 0) break;  // not there yet: created as our own
    if (takenByOther(p, entry)) return Failure{FileError::TakenByOther};
    if (!S_ISLNK(entry.st_mode)) break;
    std::error_code ec;
    const fs::path target = fs::read_symlink(p, ec);
    if (ec) break;
    p = target.is_absolute() ? target : p.parent_path() / target;
  }
  return p.string();
}

// Devices and pipes are written as they are: renaming a file over them would replace them.
bool writeToSpecialFile(const std::string& path, std::string_view bytes) {
  // Non-blocking open: a pipe nobody reads fails instead of waiting forever.
  const int fd = ::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;
  ::fcntl(fd, F_SETFL, 0);
  const bool ok = writeAll(fd, bytes);
  return ::close(fd) == 0 && ok;
}

// Without a temporary file beside the target (a folder the user may not write, a file he may)
// the file is rewritten in place; should that fail halfway, its old content (when readable)
// is put back.
bool writeInPlace(const std::string& path, std::string_view bytes) {
  const auto old = readFileBytes(path);
  const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
  if (fd < 0) return false;
  bool ok = writeAll(fd, bytes) && ::ftruncate(fd, static_cast<off_t>(bytes.size())) == 0 &&
            ::fsync(fd) == 0;
  if (!ok && old && ::lseek(fd, 0, SEEK_SET) == 0 && writeAll(fd, *old))
    (void)!::ftruncate(fd, static_cast<off_t>(old->size()));
  if (::close(fd) != 0) ok = false;
  return ok;
}

// A new file beside `target`, opened for writing; -1 when the folder takes none.
int createTemporaryBeside(const fs::path& target, std::string& tmpPath) {
  const fs::path dir = folderOf(target);
  // Cut long names so that the suffix still fits the file system's name limit.
  const std::string stem = target.filename().string().substr(0, 200);
  std::random_device rd;
  for (int attempt = 0; attempt < 10; ++attempt) {
    tmpPath = (dir / (stem + ".tmp" + std::to_string(rd() % 1000000))).string();
    // Offers, forms data and the agent's file hold personal data: readable by their user alone.
    const int fd = ::open(tmpPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

}  // namespace

bool isSharedFolder(const std::string& folder) {
  struct stat info {};
  return ::stat(folder.c_str(), &info) == 0 && isShared(info);
}

bool takenByOther(const std::string& path) {
  return !resolveLinks(path).has_value();
}

namespace {

FileResult writtenOr(bool written, FileError error) {
  if (written) return {};
  return Failure{error};
}

}  // namespace

FileResult replaceFile(const std::string& path, std::string_view bytes) {
  const auto resolved = resolveLinks(path);
  if (!resolved) return Failure{resolved.error()};
  const std::string& real = *resolved;
  struct stat st {};
  const bool exists = ::stat(real.c_str(), &st) == 0;
  // A read-only target stays untouched, for root too (a rename would replace it regardless).
  if (exists && ((st.st_mode & 0222) == 0 || ::access(real.c_str(), W_OK) != 0))
    return Failure{FileError::ReadOnly};
  if (exists && S_ISDIR(st.st_mode)) return Failure{FileError::NotAFile};
  if (exists && !S_ISREG(st.st_mode))
    return writtenOr(writeToSpecialFile(real, bytes), FileError::CannotWrite);

  std::string tmp;
  const int fd = createTemporaryBeside(fs::path(real), tmp);
  if (fd < 0) return writtenOr(exists && writeInPlace(real, bytes), FileError::CannotWrite);
  bool ok = writeAll(fd, bytes);
  if (ok && exists) {
    // The replacement keeps the old file's owner (where allowed) and permission bits.
    (void)!::fchown(fd, st.st_uid, st.st_gid);
    ok = ::fchmod(fd, st.st_mode & 07777) == 0;
  } else if (ok) {
    ok = ::fchmod(fd, 0600) == 0;  // whatever the umask took away
  }
  if (ok && ::fsync(fd) != 0) ok = false;
  if (::close(fd) != 0) ok = false;
  if (ok && std::rename(tmp.c_str(), real.c_str()) != 0) ok = false;
  if (!ok) ::unlink(tmp.c_str());
  return writtenOr(ok, FileError::CannotWrite);
}

bool sameFile(const std::string& a, const std::string& b) {
  struct stat sa {
  }, sb{};
  return ::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
         sa.st_ino == sb.st_ino;
}

bool mayWriteFolder(const std::string& folder) {
  return ::access(folder.c_str(), W_OK | X_OK) == 0;
}

}  // namespace fondaris::core::platform
