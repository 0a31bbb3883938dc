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
// stays whole when anything fails. Returns false on failure (nothing changed then).
bool writeFileAtomically(const std::string& path, std::string_view bytes);

// A Windows-1252 text file as UTF-8 lines (CR LF or LF ends, each cut to kMaxLineLength
// characters); nullopt when the file cannot be opened.
std::optional<std::vector<std::string>> readTextLines(const std::string& path);

// UTF-8 lines written as Windows-1252 with CR LF after every line, atomically.
bool writeTextLines(const std::string& path, const std::vector<std::string>& lines);

bool fileExists(const std::string& path);
bool removeFile(const std::string& path);

// `dir` joined to `name` with the platform's separator (no double separator).
std::string joinPath(std::string_view dir, std::string_view name);

// Folder of the running executable, without a trailing separator.
const std::string& programDirectory();

// The process-wide working directory: the current directory on first use, unless set before.
const std::string& workingDirectory();
void setWorkingDirectory(std::string dir);

}  // namespace fondaris::core
