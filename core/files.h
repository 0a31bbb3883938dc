#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace fondaris::core {

// Longest line the program's text files hold; longer lines are cut here, the rest of such a
// line is dropped so that the following lines keep their places.
inline constexpr std::size_t kMaxLineLength = 1023;

// Whole file as raw bytes; nullopt when it cannot be opened or read.
std::optional<std::string> readFileBytes(const std::string& path);

// Writes to a temporary file in the same folder and renames it over `path`, so the old file
// stays whole when anything fails. A replaced file keeps its permission bits; a symbolic link
// keeps being a link and its target is written. Where the folder takes no temporary file but
// the file itself may be written, the file is rewritten in place (its old content restored if
// that fails). A read-only target is refused, also for root. Returns false on failure.
bool writeFileAtomically(const std::string& path, std::string_view bytes);

// Lines ended by CR LF, LF or a lone CR, mixed as they come; no empty line after the last end.
std::vector<std::string_view> splitLines(std::string_view text);
// Drops every leading UTF-8 byte order mark (editors that add one to a file that already has
// one leave several); true when there was one.
bool skipByteOrderMarks(std::string_view& text);

// A Windows-1252 text file as UTF-8 lines (see splitLines, each cut to kMaxLineLength
// characters); nullopt when the file cannot be opened. A file that starts with UTF-8 byte
// order marks is read as UTF-8 instead, without them. The one place where marks are dropped.
std::optional<std::vector<std::string>> readTextLines(const std::string& path);
// The same for a file's bytes already in memory.
std::vector<std::string> textLines(std::string_view bytes);

// UTF-8 lines written as Windows-1252 with CR LF after every line, atomically.
bool writeTextLines(const std::string& path, const std::vector<std::string>& lines);

bool fileExists(const std::string& path);
// Both names lead to the same existing file (device and inode, links followed).
bool sameFile(const std::string& a, const std::string& b);
bool removeFile(const std::string& path);

// `dir` joined to `name` with the platform's separator (no double separator).
std::string joinPath(std::string_view dir, std::string_view name);

// Folder of the running executable, without a trailing separator.
const std::string& programDirectory();

// The process-wide working directory: the current directory on first use, unless set before.
const std::string& workingDirectory();
void setWorkingDirectory(std::string dir);

}  // namespace fondaris::core
