#include "core/files.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "core/cp1252.h"

namespace fondaris::core {

namespace fs = std::filesystem;

Result<std::string, FileError> readFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    std::error_code ec;
    return Failure{fs::exists(path, ec) ? FileError::CannotOpen : FileError::Missing};
  }
  std::ostringstream buf;
  buf << in.rdbuf();
  if (in.bad()) return Failure{FileError::CannotRead};
  return std::move(buf).str();
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

FileResult writeFileAtomically(const std::string& path, std::string_view bytes) {
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

std::vector<std::string_view> splitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const std::size_t end = text.find_first_of("\r\n");
    lines.push_back(text.substr(0, end));
    if (end == std::string_view::npos) break;
    std::size_t next = end + 1;
    if (text[end] == '\r' && next < text.size() && text[next] == '\n') ++next;
    text.remove_prefix(next);
  }
  return lines;
}

bool skipByteOrderMarks(std::string_view& text) {
  constexpr std::string_view kBom = "\xEF\xBB\xBF";
  bool skipped = false;
  while (text.starts_with(kBom)) {
    text.remove_prefix(kBom.size());
    skipped = true;
  }
  return skipped;
}

Result<std::vector<std::string>, FileError> readTextLines(const std::string& path) {
  auto bytes = readFileBytes(path);
  if (!bytes) return Failure{bytes.error()};
  return textLines(*bytes);
}

std::vector<std::string> textLines(std::string_view bytes) {
  std::string_view rest(bytes);
  // A file saved as UTF-8 by an editor: its text is taken over in the program's code page.
  std::string converted;
  if (skipByteOrderMarks(rest)) {
    converted = utf8ToCp1252(rest);
    rest = converted;
  }
  std::vector<std::string> lines;
  for (std::string_view line : splitLines(rest)) {
    if (line.size() > kMaxLineLength) line = line.substr(0, kMaxLineLength);
    lines.push_back(cp1252ToUtf8(line));
  }
  return lines;
}

FileResult writeTextLines(const std::string& path, const std::vector<std::string>& lines) {
  std::string out;
  for (const auto& l : lines) {
    out += utf8ToCp1252(l);
    out += "\r\n";
  }
  return writeFileAtomically(path, out);
}

bool fileExists(const std::string& path) {
  std::error_code ec;
  return fs::is_regular_file(path, ec);
}

bool sameFile(const std::string& a, const std::string& b) {
  struct stat sa {
  }, sb{};
  return ::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
         sa.st_ino == sb.st_ino;
}

FileResult removeFile(const std::string& path) {
  std::error_code ec;
  if (fs::remove(path, ec)) return {};
  return Failure{ec ? FileError::CannotRemove : FileError::Missing};
}

std::string joinPath(std::string_view dir, std::string_view name) {
  std::string out(dir);
  const char sep = static_cast<char>(fs::path::preferred_separator);
  if (!out.empty() && out.back() != sep) out.push_back(sep);
  if (!name.empty() && name.front() == sep && !out.empty()) name.remove_prefix(1);
  out.append(name);
  return out;
}

const std::string& programDirectory() {
  static const std::string dir = [] {
    std::error_code ec;
    fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (ec) return fs::current_path(ec).string();
    return exe.parent_path().string();
  }();
  return dir;
}

namespace {
std::string& workingDirectoryStore() {
  static std::string dir;
  return dir;
}
}  // namespace

const std::string& workingDirectory() {
  std::string& dir = workingDirectoryStore();
  if (dir.empty()) {
    std::error_code ec;
    dir = fs::current_path(ec).string();
  }
  return dir;
}

void setWorkingDirectory(std::string dir) {
  workingDirectoryStore() = std::move(dir);
}

}  // namespace fondaris::core
