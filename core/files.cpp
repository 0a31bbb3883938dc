#include "core/files.h"

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

std::optional<std::string> readFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream buf;
  buf << in.rdbuf();
  if (in.bad()) return std::nullopt;
  return std::move(buf).str();
}

bool writeFileAtomically(const std::string& path, std::string_view bytes) {
  const fs::path target(path);
  const fs::path dir = target.has_parent_path() ? target.parent_path() : fs::path(".");
  std::random_device rd;
  const std::string tmp =
      (dir / (target.filename().string() + ".tmp" + std::to_string(rd() % 1000000))).string();
  const int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  std::size_t done = 0;
  bool ok = true;
  while (ok && done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n <= 0)
      ok = false;
    else
      done += static_cast<std::size_t>(n);
  }
  if (ok && ::fsync(fd) != 0) ok = false;
  if (::close(fd) != 0) ok = false;
  // A read-only target stays untouched, for root too (a rename would replace it regardless).
  struct stat st {};
  if (ok && ::stat(path.c_str(), &st) == 0 &&
      ((st.st_mode & 0222) == 0 || ::access(path.c_str(), W_OK) != 0))
    ok = false;
  if (ok && std::rename(tmp.c_str(), path.c_str()) != 0) ok = false;
  if (!ok) ::unlink(tmp.c_str());
  return ok;
}

std::optional<std::vector<std::string>> readTextLines(const std::string& path) {
  auto bytes = readFileBytes(path);
  if (!bytes) return std::nullopt;
  std::vector<std::string> lines;
  std::string_view rest(*bytes);
  while (!rest.empty()) {
    std::size_t end = rest.find('\n');
    std::string_view line = rest.substr(0, end);
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.size() > kMaxLineLength) line = line.substr(0, kMaxLineLength);
    lines.push_back(cp1252ToUtf8(line));
  }
  return lines;
}

bool writeTextLines(const std::string& path, const std::vector<std::string>& lines) {
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

bool removeFile(const std::string& path) {
  std::error_code ec;
  return fs::remove(path, ec);
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
