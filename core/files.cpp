#include "core/files.h"

#include <filesystem>
#include <fstream>
#include <sstream>

#include "core/cp1252.h"
#include "core/platform/platform.h"

namespace fondaris::core {

namespace fs = std::filesystem;

Result<std::string, FileError> readFileBytes(const std::string& path) {
  const fs::path native = platform::nativePath(path);
  std::ifstream in(native, std::ios::binary);
  if (!in) {
    std::error_code ec;
    return Failure{fs::exists(native, ec) ? FileError::CannotOpen : FileError::Missing};
  }
  std::ostringstream buf;
  buf << in.rdbuf();
  if (in.bad()) return Failure{FileError::CannotRead};
  return std::move(buf).str();
}

bool isSharedFolder(const std::string& folder) {
  return platform::isSharedFolder(folder);
}

bool takenByOther(const std::string& path) {
  return platform::takenByOther(path);
}

FileResult writeFileAtomically(const std::string& path, std::string_view bytes) {
  return platform::replaceFile(path, bytes);
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
  return fs::is_regular_file(platform::nativePath(path), ec);
}

bool sameFile(const std::string& a, const std::string& b) {
  return platform::sameFile(a, b);
}

FileResult removeFile(const std::string& path) {
  std::error_code ec;
  if (fs::remove(platform::nativePath(path), ec)) return {};
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
    const std::string exe = platform::executablePath();
    std::error_code ec;
    if (exe.empty()) return platform::utf8Path(fs::current_path(ec));
    return platform::utf8Path(platform::nativePath(exe).parent_path());
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
    dir = platform::utf8Path(fs::current_path(ec));
  }
  return dir;
}

void setWorkingDirectory(std::string dir) {
  workingDirectoryStore() = std::move(dir);
}

}  // namespace fondaris::core
