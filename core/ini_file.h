#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/files.h"
#include "core/notation.h"

namespace fondaris::core {

// A sectioned key/value file ("[Section]", "Key=Value"), Windows-1252 on disk. Section and key
// names match without regard to case, the first occurrence wins on reading, and everything
// else in the file (comments, blank lines, unknown keys) is kept when it is written back.
// The file lives in memory: reads and writes are cheap, `save` writes it whole and atomically.
class IniFile {
 public:
  IniFile() = default;
  explicit IniFile(std::string path) : path_(std::move(path)) {}

  // Reads the file; on failure the file in memory is empty.
  FileResult load();
  // Writes the whole file atomically; on failure the old file stays.
  FileResult save() const;
  // Forgets the content, as opening a file for writing empties it.
  void clear();
  // Text as read by load(): byte order marks were dropped there, so the text is taken as it
  // is and text() gives it back unchanged.
  void parse(std::string_view utf8Text);
  std::string text() const;  // UTF-8, CR LF line ends

  const std::string& path() const { return path_; }
  void setPath(std::string path) { path_ = std::move(path); }

  bool hasKey(std::string_view section, std::string_view key) const;
  std::string readString(std::string_view section, std::string_view key,
                         std::string_view defaultValue) const;
  // Signed 32-bit decimal; the default when missing or not an integer.
  int readInteger(std::string_view section, std::string_view key, int defaultValue) const;
  // A plain number in the current notation; the default when missing, empty or not a number.
  double readFloat(std::string_view section, std::string_view key, double defaultValue) const;

  void writeString(std::string_view section, std::string_view key, std::string_view value);
  void writeInteger(std::string_view section, std::string_view key, int value);
  // Up to 15 significant digits in the current notation.
  void writeFloat(std::string_view section, std::string_view key, double value);

 private:
  struct Line {
    std::string text;  // the line as read (or as written for new entries)
    std::string key;   // entry lines only: the key, trimmed; empty for other lines
  };
  struct Section {
    std::string name;  // empty for the lines before the first section
    std::vector<Line> lines;
  };

  const Section* findSection(std::string_view name) const;
  const Line* findEntry(std::string_view section, std::string_view key) const;

  std::string path_;
  std::vector<Section> sections_;
};

}  // namespace fondaris::core
