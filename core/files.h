#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/result.h"

namespace fondaris::core {

// Why a file operation failed. The callers above core turn it into their own message.
enum class FileError {
  Missing,       // there is no such file
  CannotOpen,    // it exists but cannot be opened (permissions, a folder, a pipe nobody reads)
  CannotRead,    // opened, but reading it failed
  ReadOnly,      // a target that may not be written; it stays untouched
  NotAFile,      // a folder stands where a file should be written
  CannotWrite,   // writing, syncing or renaming failed; the old file stays whole
  CannotRemove,  // it exists but could not be removed
  TakenByOther,  // another user's link or file at the name in a shared folder; left untouched
};
using FileResult = Result<void, FileError>;

// Longest line the program's text files hold; longer lines are cut here, the rest of such a
// line is dropped so that the following lines keep their places.
inline constexpr std::size_t kMaxLineLength = 1023;

// Whole file as raw bytes.
Result<std::string, FileError> readFileBytes(const std::string& path);

// Writes to a temporary file in the same folder and renames it over `path`, so the old file
// stays whole when anything fails. A replaced file keeps its permission bits; a symbolic link
// keeps being a link and its target is written. Where the folder takes no temporary file but
// the file itself may be written, the file is rewritten in place (its old content restored if
// that fails). A read-only target is refused, also for root. In a folder other users may write
// (sticky, group- or world-writable, like /tmp) a link or file at the name that another user
// owns is neither followed nor replaced: TakenByOther (see takenByOther in files.cpp).
FileResult writeFileAtomically(const std::string& path, std::string_view bytes);

// A folder other users may write: sticky, group- or world-writable.
bool isSharedFolder(const std::string& folder);
// Writing `path` would follow or replace another user's link or file in a shared folder, which
// writeFileAtomically refuses.
bool takenByOther(const std::string& path);

// Lines ended by CR LF, LF or a lone CR, mixed as they come; no empty line after the last end.
std::vector<std::string_view> splitLines(std::string_view text);
// Drops every leading UTF-8 byte order mark (editors that add one to a file that already has
// one leave several); true when there was one.
bool skipByteOrderMarks(std::string_view& text);

// A Windows-1252 text file as UTF-8 lines (see splitLines, each cut to kMaxLineLength
// characters). A file that starts with UTF-8 byte order marks is read as UTF-8 instead, without
// them. The one place where marks are dropped.
Result<std::vector<std::string>, FileError> readTextLines(const std::string& path);
// The same for a file's bytes already in memory.
std::vector<std::string> textLines(std::string_view bytes);

// UTF-8 lines written as Windows-1252 with CR LF after every line, atomically.
FileResult writeTextLines(const std::string& path, const std::vector<std::string>& lines);

bool fileExists(const std::string& path);
// Both names lead to the same existing file (device and inode, links followed).
bool sameFile(const std::string& a, const std::string& b);
FileResult removeFile(const std::string& path);

// `dir` joined to `name` with the platform's separator (no double separator).
std::string joinPath(std::string_view dir, std::string_view name);

// Folder of the running executable, without a trailing separator.
const std::string& programDirectory();

// The process-wide working directory: the current directory on first use, unless set before.
const std::string& workingDirectory();
void setWorkingDirectory(std::string dir);

}  // namespace fondaris::core
