#include "core/ini_file.h"

#include <algorithm>

#include "core/cp1252.h"
#include "core/files.h"

namespace fondaris::core {

namespace {

std::string_view trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

bool sameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
           return lower(x) == lower(y);
         });
}

// "[Name]" → Name; empty optional-like result via bool.
bool sectionName(std::string_view line, std::string& name) {
  line = trim(line);
  if (line.size() < 2 || line.front() != '[') return false;
  const auto close = line.find(']');
  if (close == std::string_view::npos) return false;
  name = std::string(trim(line.substr(1, close - 1)));
  return true;
}

std::string_view valueOf(std::string_view line) {
  return trim(line.substr(line.find('=') + 1));
}

}  // namespace

void IniFile::clear() {
  sections_.clear();
}

FileResult IniFile::load() {
  clear();
  auto lines = readTextLines(path_);
  if (!lines) return Failure{lines.error()};
  std::string text;
  for (const auto& l : *lines) text.append(l).push_back('\n');
  parse(text);
  return {};
}

void IniFile::parse(std::string_view utf8Text) {
  clear();
  sections_.push_back({"", {}});
  for (std::string_view line : splitLines(utf8Text)) {
    std::string name;
    if (sectionName(line, name)) {
      sections_.push_back({std::move(name), {{std::string(line), ""}}});
      continue;
    }
    Line l{std::string(line), ""};
    const auto eq = line.find('=');
    const auto first = line.find_first_not_of(" \t");
    if (eq != std::string_view::npos && first != std::string_view::npos && line[first] != ';')
      l.key = std::string(trim(line.substr(0, eq)));
    sections_.back().lines.push_back(std::move(l));
  }
}

std::string IniFile::text() const {
  std::string out;
  for (const auto& s : sections_)
    for (const auto& l : s.lines) out.append(l.text).append("\r\n");
  return out;
}

FileResult IniFile::save() const {
  return writeFileAtomically(path_, utf8ToCp1252(text()));
}

const IniFile::Section* IniFile::findSection(std::string_view name) const {
  for (const auto& s : sections_)
    if (!s.lines.empty() && !s.name.empty() && sameName(s.name, name)) return &s;
  return nullptr;
}

const IniFile::Line* IniFile::findEntry(std::string_view section, std::string_view key) const {
  const Section* s = findSection(section);
  if (!s) return nullptr;
  for (const auto& l : s->lines)
    if (!l.key.empty() && sameName(l.key, key)) return &l;
  return nullptr;
}

bool IniFile::hasKey(std::string_view section, std::string_view key) const {
  return findEntry(section, key) != nullptr;
}

std::string IniFile::readString(std::string_view section, std::string_view key,
                                std::string_view defaultValue) const {
  const Line* l = findEntry(section, key);
  return std::string(l ? valueOf(l->text) : defaultValue);
}

int IniFile::readInteger(std::string_view section, std::string_view key, int defaultValue) const {
  const Line* l = findEntry(section, key);
  int v = 0;
  return l && parseStrictInt(std::string(valueOf(l->text)), v) ? v : defaultValue;
}

double IniFile::readFloat(std::string_view section, std::string_view key,
                          double defaultValue) const {
  const Line* l = findEntry(section, key);
  double v = 0;
  return l && parseStrictFloat(std::string(valueOf(l->text)), v) ? v : defaultValue;
}

void IniFile::writeString(std::string_view section, std::string_view key, std::string_view value) {
  // Line breaks would split the entry; a value is one line.
  std::string clean(value);
  std::replace_if(
      clean.begin(), clean.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
  if (const Line* found = findEntry(section, key)) {
    auto& l = const_cast<Line&>(*found);
    l.text = l.key + "=" + clean;
    return;
  }
  Section* s = const_cast<Section*>(findSection(section));
  if (!s) {
    if (sections_.empty()) sections_.push_back({"", {}});
    sections_.push_back({std::string(section), {{"[" + std::string(section) + "]", ""}}});
    s = &sections_.back();
  }
  // New keys go after the section's last non-blank line.
  auto pos = s->lines.end();
  while (pos != s->lines.begin() + 1 && trim(std::prev(pos)->text).empty()) --pos;
  s->lines.insert(pos, Line{std::string(key) + "=" + clean, std::string(key)});
}

void IniFile::writeInteger(std::string_view section, std::string_view key, int value) {
  writeString(section, key, std::to_string(value));
}

void IniFile::writeFloat(std::string_view section, std::string_view key, double value) {
  writeString(section, key, formatFloat(value));
}

}  // namespace fondaris::core
