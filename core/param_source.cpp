#include "core/param_source.h"

#include <charconv>
#include <cstdint>
#include <limits>
#include <map>

#include "core/cp1252.h"
#include "core/param_layout.h"

namespace fondaris::core {

namespace {

std::string_view trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) {
    s.remove_suffix(1);
  }
  return s;
}

// The line up to a '#' that does not stand inside quotes.
std::string_view withoutComment(std::string_view line) {
  bool quoted = false;
  for (std::size_t i = 0; i < line.size(); ++i) {
    if (quoted && line[i] == '\\') {
      ++i;
    } else if (line[i] == '"') {
      quoted = !quoted;
    } else if (!quoted && line[i] == '#') {
      return line.substr(0, i);
    }
  }
  return line;
}

bool isNameChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

struct Key {
  std::string field;
  std::size_t index = 0;
};

// name | name[i] | name[i].member | name.member
std::optional<Key> parseKey(std::string_view s) {
  Key key;
  std::size_t p = 0;
  while (p < s.size() && isNameChar(s[p])) ++p;
  if (p == 0) return std::nullopt;
  key.field = std::string(s.substr(0, p));
  if (p < s.size() && s[p] == '[') {
    const std::size_t close = s.find(']', p);
    if (close == std::string_view::npos || close == p + 1) return std::nullopt;
    const auto digits = s.substr(p + 1, close - p - 1);
    const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), key.index);
    if (ec != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
    p = close + 1;
  }
  if (p < s.size() && s[p] == '.') {
    const std::size_t start = ++p;
    while (p < s.size() && isNameChar(s[p])) ++p;
    if (p == start) return std::nullopt;
    key.field += '.';
    key.field += s.substr(start, p - start);
  }
  if (p != s.size()) return std::nullopt;
  return key;
}

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// A NUL would end the text in the record, so the record and its dump would disagree.
constexpr const char* kNulInText = "Nullbyte im Text nicht erlaubt";

// A quoted source text as record bytes (Windows-1252), or an error message.
std::optional<std::string> parseText(std::string_view s, std::string& error) {
  if (s.size() < 2 || s.front() != '"' || s.back() != '"') {
    error = "Text in Anführungszeichen erwartet";
    return std::nullopt;
  }
  s = s.substr(1, s.size() - 2);
  std::string bytes;
  std::string run;  // UTF-8 characters not yet converted
  auto flush = [&]() {
    const std::string converted = utf8ToCp1252(run);
    if (cp1252ToUtf8(converted) != run) return false;
    bytes += converted;
    run.clear();
    return true;
  };
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '"') {
      error = "Anführungszeichen im Text bitte als \\\" schreiben";
      return std::nullopt;
    }
    if (s[i] == '\0') {
      error = kNulInText;
      return std::nullopt;
    }
    if (s[i] != '\\') {
      run += s[i];
      continue;
    }
    if (i + 1 >= s.size()) {
      error = "unvollständige Escape-Folge am Textende";
      return std::nullopt;
    }
    const char next = s[++i];
    if (next == '"' || next == '\\') {
      run += next;
    } else if (next == 'x' && i + 2 < s.size() && hexDigit(s[i + 1]) >= 0 &&
               hexDigit(s[i + 2]) >= 0) {
      const int byte = hexDigit(s[i + 1]) * 16 + hexDigit(s[i + 2]);
      i += 2;
      if (byte == 0) {
        error = kNulInText;
        return std::nullopt;
      }
      if (!flush()) break;
      bytes += static_cast<char>(byte);
    } else {
      error = std::string("unbekannte Escape-Folge \\") + next;
      return std::nullopt;
    }
  }
  if (!flush()) {
    error = "Text enthält Zeichen ohne Windows-1252-Entsprechung";
    return std::nullopt;
  }
  return bytes;
}

std::pair<std::int64_t, std::int64_t> rangeOf(ParamType type) {
  switch (type) {
    case ParamType::I16:
      return {std::numeric_limits<std::int16_t>::min(), std::numeric_limits<std::int16_t>::max()};
    case ParamType::U16:
      return {0, std::numeric_limits<std::uint16_t>::max()};
    case ParamType::I32:
      return {std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()};
    case ParamType::U32:
      return {0, std::numeric_limits<std::uint32_t>::max()};
    case ParamType::Text:
      break;
  }
  return {0, 0};
}

void putLittleEndian(ParamRecord& record, std::size_t offset, std::size_t width,
                     std::uint64_t value) {
  for (std::size_t i = 0; i < width; ++i) {
    record.bytes()[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
  }
}

std::string quoted(std::string_view name) {
  return "'" + std::string(name) + "'";
}

const char* typeName(ParamType type) {
  switch (type) {
    case ParamType::I16:
      return "i16";
    case ParamType::U16:
      return "u16";
    case ParamType::I32:
      return "i32";
    case ParamType::U32:
      return "u32";
    case ParamType::Text:
      return "Text";
  }
  return "";
}

// Record text as a source literal: printable characters as UTF-8, control bytes as \xHH.
std::string textLiteral(const ParamRecord& record, const ParamField& field, std::size_t index) {
  const std::size_t at = field.at(index);
  std::string raw;
  for (std::size_t i = 0; i < field.size && record.bytes()[at + i] != 0; ++i) {
    raw += static_cast<char>(record.bytes()[at + i]);
  }
  std::string out = "\"";
  static constexpr char kHex[] = "0123456789ABCDEF";
  for (const char c : raw) {
    const auto b = static_cast<unsigned char>(c);
    if (b < 0x20 || b == 0x7F) {
      out += "\\x";
      out += kHex[b >> 4];
      out += kHex[b & 15];
    } else if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else {
      out += cp1252ToUtf8(std::string_view(&c, 1));
    }
  }
  return out + "\"";
}

std::string valueLiteral(const ParamRecord& record, const ParamField& field, std::size_t index) {
  if (field.isText()) return textLiteral(record, field, index);
  return std::to_string(paramNumber(record, field, index));
}

std::string describe(const ParamField& field) {
  std::string out = "# " + std::string(field.name) + ": " + std::string(field.description) +
                    " (Offset " + std::to_string(field.offset) + ", " + typeName(field.type);
  if (field.isText()) out += " " + std::to_string(field.size) + " Bytes";
  if (field.count > 1) {
    out +=
        ", " + std::to_string(field.count) + " Einträge im Abstand " + std::to_string(field.stride);
  }
  return out + ")\n";
}

std::string_view blockOf(std::string_view name) {
  const std::size_t dot = name.find('.');
  return dot == std::string_view::npos ? std::string_view() : name.substr(0, dot);
}

}  // namespace

std::optional<ParamSourceError> buildParamRecord(std::string_view source, ParamRecord& out) {
  out.bytes().assign(kParamRecordSize, 0);
  std::map<std::size_t, int> writtenBy;  // record offset -> source line
  int lineNumber = 0;
  while (!source.empty()) {
    ++lineNumber;
    const std::size_t end = source.find('\n');
    const std::string_view rawLine = source.substr(0, end);
    source = end == std::string_view::npos ? std::string_view() : source.substr(end + 1);

    const std::string_view line = trim(withoutComment(rawLine));
    if (line.empty()) continue;
    auto fail = [&](std::string message) {
      return std::optional<ParamSourceError>(ParamSourceError{lineNumber, std::move(message)});
    };

    const std::size_t eq = line.find('=');
    if (eq == std::string_view::npos) return fail("'Name = Wert' erwartet");
    const std::string_view keyText = trim(line.substr(0, eq));
    const std::string_view valueText = trim(line.substr(eq + 1));
    const auto key = parseKey(keyText);
    if (!key) return fail("ungültiger Feldname " + quoted(keyText));
    const ParamField* field = findParamField(key->field);
    if (!field) return fail("unbekanntes Feld " + quoted(key->field));
    if (key->index >= field->count) {
      return fail("Index " + std::to_string(key->index) + " außerhalb von 0 bis " +
                  std::to_string(field->count - 1) + " bei " + quoted(key->field));
    }
    if (valueText.empty()) return fail("Wert fehlt bei " + quoted(keyText));

    auto claim = [&](std::size_t index) -> std::optional<ParamSourceError> {
      const auto [it, fresh] = writtenBy.emplace(field->at(index), lineNumber);
      if (fresh) return std::nullopt;
      return fail(quoted(keyText) + " ist schon in Zeile " + std::to_string(it->second) +
                  " belegt");
    };

    if (field->isText()) {
      std::string error;
      const auto bytes = parseText(valueText, error);
      if (!bytes) return fail(error + " bei " + quoted(keyText));
      if (bytes->size() >= field->size) {
        return fail("Text zu lang für " + quoted(keyText) + ": " + std::to_string(bytes->size()) +
                    " Zeichen, höchstens " + std::to_string(field->size - 1));
      }
      if (auto clash = claim(key->index)) return clash;
      std::copy(bytes->begin(), bytes->end(), out.bytes().begin() + field->at(key->index));
      continue;
    }

    const auto [lowest, highest] = rangeOf(field->type);
    std::size_t index = key->index;
    std::string_view rest = valueText;
    while (!(rest = trim(rest)).empty()) {
      std::size_t len = 0;
      while (len < rest.size() && rest[len] != ' ' && rest[len] != '\t') ++len;
      const std::string_view token = rest.substr(0, len);
      rest.remove_prefix(len);
      std::int64_t value = 0;
      const auto [endPtr, ec] = std::from_chars(token.data(), token.data() + token.size(), value);
      if (ec == std::errc::result_out_of_range)
        value = token.front() == '-' ? lowest - 1 : highest + 1;
      else if (ec != std::errc() || endPtr != token.data() + token.size()) {
        return fail("ganze Zahl erwartet statt " + quoted(token) + " bei " + quoted(keyText));
      }
      if (value < lowest || value > highest) {
        return fail("Wert " + std::string(token) + " außerhalb von " + std::to_string(lowest) +
                    " bis " + std::to_string(highest) + " bei " + quoted(keyText));
      }
      if (index >= field->count) {
        return fail("zu viele Werte für " + quoted(key->field) + " (" +
                    std::to_string(field->count) + " Einträge)");
      }
      if (auto clash = claim(index)) return clash;
      putLittleEndian(out, field->at(index), field->size, static_cast<std::uint64_t>(value));
      ++index;
    }
  }
  return std::nullopt;
}

std::string dumpParamRecord(const ParamRecord& record) {
  std::string out = "# Param.dat: alle Felder der Satzbeschreibung\n";
  for (std::size_t f = 0; f < kParamFields.size(); ++f) {
    const ParamField& field = kParamFields[f];
    out += '\n';
    if (!field.aliasOf.empty()) {
      const ParamField* target = findParamField(field.aliasOf);
      if (!target) continue;
      const std::size_t first = (field.offset - target->offset) / target->stride;
      const std::string_view block = blockOf(target->name);
      out += describe(field) + "#   = " + std::string(block) + "[" + std::to_string(first) + ".." +
             std::to_string(first + field.count - 1) + "]" +
             std::string(target->name.substr(block.size())) + "\n";
      continue;
    }
    const std::string_view block = blockOf(field.name);
    if (block.empty()) {
      out += describe(field);
      for (std::size_t i = 0; i < field.count; ++i) {
        out += std::string(field.name);
        if (field.count > 1) out += "[" + std::to_string(i) + "]";
        out += " = " + valueLiteral(record, field, i) + "\n";
      }
      continue;
    }
    // A repeated block reads best entry by entry: all members of entry 0, then of entry 1, ...
    std::size_t last = f;
    while (last + 1 < kParamFields.size() && blockOf(kParamFields[last + 1].name) == block) ++last;
    for (std::size_t m = f; m <= last; ++m) out += describe(kParamFields[m]);
    for (std::size_t i = 0; i < field.count; ++i) {
      for (std::size_t m = f; m <= last; ++m) {
        const ParamField& member = kParamFields[m];
        if (i >= member.count) continue;
        out += std::string(block) + "[" + std::to_string(i) + "]" +
               std::string(member.name.substr(block.size())) + " = " +
               valueLiteral(record, member, i) + "\n";
      }
    }
    f = last;
  }
  return out;
}

}  // namespace fondaris::core
