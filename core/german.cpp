#include "core/german.h"

#include "core/cp1252.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace fondaris::core {

namespace {

constexpr std::int64_t kMsPerDay = 86'400'000;

// Days since 1 Jan 1970 of a proleptic Gregorian date (the well-known era-based algorithm; exact
// integer arithmetic for any year).
constexpr std::int64_t daysFromCivil(std::int64_t y, int m, int d) {
  y -= m <= 2 ? 1 : 0;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const std::int64_t yoe = y - era * 400;
  const std::int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

struct Civil {
  std::int64_t year;
  int month;
  int day;
};

constexpr Civil civilFromDays(std::int64_t z) {
  z += 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const std::int64_t doe = z - era * 146097;
  const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const std::int64_t mp = (5 * doy + 2) / 153;
  const int d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  const int m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  return {yoe + era * 400 + (m <= 2 ? 1 : 0), m, d};
}

constexpr std::int64_t kEpoch = daysFromCivil(1899, 12, 30);
static_assert(civilFromDays(kEpoch).year == 1899 && civilFromDays(kEpoch).day == 30);

struct Split {
  std::int64_t day;  // serial day, truncated toward zero
  std::int64_t ms;   // time of day
};

// Rounds to the millisecond before splitting, so a time computed as 0.99999999999 of a day is
// the next midnight rather than 23:59:59.999.
Split split(DateTime value) {
  if (!std::isfinite(value)) value = 0;
  value = std::clamp(value, -1e7, 1e7);  // far beyond year 1..9999; keeps llround defined
  const std::int64_t total = std::llround(value * static_cast<double>(kMsPerDay));
  return {total / kMsPerDay, std::llabs(total % kMsPerDay)};
}

bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

std::string_view trimBlanks(std::string_view s) {
  while (!s.empty() && static_cast<unsigned char>(s.front()) <= ' ') s.remove_prefix(1);
  while (!s.empty() && static_cast<unsigned char>(s.back()) <= ' ') s.remove_suffix(1);
  return s;
}

// Byte length of the first `count` characters of a UTF-8 text.
std::size_t bytesOfChars(std::string_view s, std::size_t count) {
  std::size_t pos = 0;
  for (; pos < s.size(); ++pos) {
    if ((static_cast<unsigned char>(s[pos]) & 0xC0) != 0x80) {
      if (count == 0) break;
      --count;
    }
  }
  return pos;
}

// Reads the numbers of a date or time text: blanks are allowed around each number and
// separator, nothing else.
class Scanner {
 public:
  explicit Scanner(std::string_view s) : s_(s) {}

  bool number(int& value, int minDigits, int maxDigits, int* digitsRead = nullptr) {
    skipBlanks();
    int digits = 0;
    value = 0;
    while (pos_ < s_.size() && isDigit(s_[pos_])) {
      if (++digits > maxDigits) return false;
      value = value * 10 + (s_[pos_++] - '0');
    }
    if (digitsRead) *digitsRead = digits;
    return digits >= minDigits;
  }
  bool separator(char c) {
    skipBlanks();
    if (pos_ >= s_.size() || s_[pos_] != c) return false;
    ++pos_;
    return true;
  }
  bool atEnd() {
    skipBlanks();
    return pos_ == s_.size();
  }

 private:
  void skipBlanks() {
    while (pos_ < s_.size() && s_[pos_] == ' ') ++pos_;
  }
  std::string_view s_;
  std::size_t pos_ = 0;
};

enum Part { kDay, kMonth, kYear };

// Day, month and year in the order the short date format names them; day-month-year when the
// format does not name all three.
std::array<Part, 3> dateOrder(const Notation& n) {
  std::array<std::pair<std::size_t, Part>, 3> found{};
  const std::string& f = n.shortDateFormat;
  found[0] = {f.find_first_of("dD"), kDay};
  found[1] = {f.find_first_of("mM"), kMonth};
  found[2] = {f.find_first_of("yY"), kYear};
  for (const auto& [pos, part] : found) {
    if (pos == std::string::npos) return {kDay, kMonth, kYear};
  }
  std::sort(found.begin(), found.end());
  return {found[0].second, found[1].second, found[2].second};
}

// Digits only; a sign or any other character ends the number.
double leadingDigits(std::string_view s) {
  double value = 0;
  for (char c : s) {
    if (!isDigit(c)) break;
    value = value * 10 + (c - '0');
  }
  return value;
}

std::string quoted(std::string_view text) {
  std::string result = "'";
  result.append(text).append("'");
  return result;
}

}  // namespace

bool isLeapYear(int year) {
  return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int daysInMonth(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  return month == 2 && isLeapYear(year) ? 29 : kDays[month - 1];
}

std::optional<DateTime> encodeDate(int year, int month, int day) {
  if (year < 1 || year > 9999 || day < 1 || day > daysInMonth(year, month)) return std::nullopt;
  return static_cast<DateTime>(daysFromCivil(year, month, day) - kEpoch);
}

std::optional<DateTime> encodeTime(int hour, int minute, int second, int millisecond) {
  if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 ||
      millisecond < 0 || millisecond > 999) {
    return std::nullopt;
  }
  const std::int64_t ms = ((hour * 60LL + minute) * 60 + second) * 1000 + millisecond;
  return static_cast<DateTime>(ms) / static_cast<DateTime>(kMsPerDay);
}

void decodeDate(DateTime value, int& year, int& month, int& day) {
  const Civil c = civilFromDays(split(value).day + kEpoch);
  year = static_cast<int>(c.year);
  month = c.month;
  day = c.day;
}

void decodeTime(DateTime value, int& hour, int& minute, int& second, int& millisecond) {
  const std::int64_t ms = split(value).ms;
  hour = static_cast<int>(ms / 3'600'000);
  minute = static_cast<int>(ms / 60'000 % 60);
  second = static_cast<int>(ms / 1000 % 60);
  millisecond = static_cast<int>(ms % 1000);
}

DateTime dateOf(DateTime value) {
  return static_cast<DateTime>(split(value).day);
}

DateTime composeDateTime(DateTime date, DateTime time) {
  const DateTime day = dateOf(date);
  const DateTime fraction = std::fabs(time - dateOf(time));
  return day < 0 ? day - fraction : day + fraction;
}

int dayOfWeek(DateTime value) {
  // Day 0, 30 Dec 1899, was a Saturday.
  return static_cast<int>(((split(value).day + 5) % 7 + 7) % 7) + 1;
}

std::string formatDate(DateTime value, const Notation& n) {
  int parts[3];
  decodeDate(value, parts[kYear], parts[kMonth], parts[kDay]);
  std::string result;
  for (Part part : dateOrder(n)) {
    if (!result.empty()) result.push_back(n.dateSeparator);
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, part == kYear ? "%04d" : "%02d", parts[part]);
    result += buffer;
  }
  return result;
}

std::string formatTime(DateTime value, const Notation& n) {
  int hour, minute, second, ms;
  decodeTime(value, hour, minute, second, ms);
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%02d%c%02d", hour, n.timeSeparator, minute);
  return buffer;
}

std::string emptyDateText(const Notation& n) {
  std::string s = "  ";
  s.push_back(n.dateSeparator);
  s += "  ";
  s.push_back(n.dateSeparator);
  s += "    ";
  return s;
}

std::string emptyTimeText(const Notation& n) {
  std::string s = "  ";
  s.push_back(n.timeSeparator);
  s += "  ";
  return s;
}

std::optional<DateTime> textToDate(std::string_view text, const Notation& n) {
  Scanner scan(text);
  int parts[3] = {};
  int yearDigits = 0;
  bool first = true;
  for (Part part : dateOrder(n)) {
    if (!first && !scan.separator(n.dateSeparator)) return std::nullopt;
    first = false;
    const bool ok = part == kYear ? scan.number(parts[part], 2, 4, &yearDigits)
                                  : scan.number(parts[part], 1, 2);
    if (!ok) return std::nullopt;
  }
  if (!scan.atEnd() || yearDigits == 3) return std::nullopt;
  if (yearDigits == 2) parts[kYear] += parts[kYear] < 50 ? 2000 : 1900;
  return encodeDate(parts[kYear], parts[kMonth], parts[kDay]);
}

std::optional<DateTime> textToTime(std::string_view text, const Notation& n) {
  Scanner scan(text);
  int hour = 0, minute = 0, second = 0;
  if (!scan.number(hour, 1, 2) || !scan.separator(n.timeSeparator) || !scan.number(minute, 1, 2)) {
    return std::nullopt;
  }
  if (scan.separator(n.timeSeparator) && !scan.number(second, 1, 2)) return std::nullopt;
  if (!scan.atEnd()) return std::nullopt;
  return encodeTime(hour, minute, second);
}

double parseAmount(std::string_view text, const Notation& n) {
  std::string s(trimBlanks(text));
  if (s.empty()) return 0;

  // Each removal keeps at most 100 characters after the separator, as the forms always did.
  if (const std::string& sep = n.thousandsSeparator; !sep.empty()) {
    for (std::size_t pos = s.find(sep); pos != std::string::npos; pos = s.find(sep, pos)) {
      std::string_view tail = std::string_view(s).substr(pos + sep.size());
      s = s.substr(0, pos) + std::string(tail.substr(0, bytesOfChars(tail, 100)));
    }
  }

  const bool negative = !s.empty() && s.front() == '-';
  std::string_view body = s;
  if (!body.empty() && (body.front() == '-' || body.front() == '+')) body.remove_prefix(1);
  double value = leadingDigits(body);

  const std::size_t dec =
      n.decimalSeparator.empty() ? std::string::npos : s.find(n.decimalSeparator);
  if (dec != std::string::npos) {
    const std::string_view decimals = std::string_view(s).substr(dec + n.decimalSeparator.size());
    if (utf8Length(decimals) == 1) {
      value += 0.1 * leadingDigits(decimals);
    } else {
      value += 0.01 * leadingDigits(decimals.substr(0, bytesOfChars(decimals, 2)));
    }
  }
  // A number beyond double range is unreadable, not infinite.
  if (!std::isfinite(value)) return 0;
  // The sign covers the decimals too; no "-0" for a lone minus.
  return negative && value != 0 ? -value : value;
}

DateCheck parseDate(std::string_view text, DateTime& out, Dialogs& dialogs, const Notation& n) {
  if (text == emptyDateText(n)) return DateCheck::Empty;
  if (const auto date = textToDate(text, n)) {
    out = *date;
    return DateCheck::Valid;
  }
  dialogs.message("Datumsprüfung: " + quoted(text) + " ist kein gültiges Datum", "Fehler");
  return DateCheck::Invalid;
}

DateCheck parseTime(std::string_view text, DateTime& out, Dialogs& dialogs, const Notation& n) {
  if (text == emptyTimeText(n)) return DateCheck::Empty;
  std::string s(text);
  // A half-filled time mask: blank hours or blank minutes count as zero. Blanks are single
  // bytes, so the first or last two bytes are the first or last two characters.
  if (utf8Length(s) == 5) {
    if (s.starts_with("  ")) {
      s.replace(0, 2, "00");
    } else if (s.ends_with("  ")) {
      s.replace(s.size() - 2, 2, "00");
    }
  }
  if (const auto time = textToTime(s, n)) {
    out = *time;
    return DateCheck::Valid;
  }
  dialogs.message("Prüfung der Zeitangabe: " + quoted(s) + " ist keine gültige Uhrzeit", "Fehler");
  return DateCheck::Invalid;
}

std::int16_t ageInYears(DateTime later, DateTime birth, AgeMode mode) {
  int yearA, monthA, dayA, yearB, monthB, dayB;
  decodeDate(later, yearA, monthA, dayA);
  decodeDate(birth, yearB, monthB, dayB);
  int years = yearA - yearB;
  if (mode != AgeMode::kCalendarYears) {
    if (mode == AgeMode::kInsurance) {
      // Insurance age: the age at the nearest birthday, i.e. completed years half a year later.
      if (monthA >= 7) {
        ++yearA;
        monthA -= 6;
      } else {
        monthA += 6;
      }
    }
    years = yearA - yearB - 1;
    if (monthA > monthB || (monthA == monthB && dayA > dayB)) ++years;
  }
  return static_cast<std::int16_t>(std::max(years, 0));
}

std::int64_t daysBetween(DateTime a, DateTime b) {
  const double diff = a - b;
  if (!std::isfinite(diff)) return 0;
  const double ms = std::round(std::clamp(diff, -1e8, 1e8) * static_cast<double>(kMsPerDay));
  return static_cast<std::int64_t>(ms) / kMsPerDay;
}

std::string lowerAscii(std::string_view text) {
  std::string s(text);
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return s;
}

std::string replaceText(std::string_view text, std::string_view search,
                        std::string_view replacement, bool all) {
  if (text.empty() || search.empty() || search == replacement) return std::string(text);
  std::string result;
  std::size_t from = 0;
  for (std::size_t pos = text.find(search); pos != std::string_view::npos;
       pos = text.find(search, from)) {
    result.append(text.substr(from, pos - from)).append(replacement);
    from = pos + search.size();
    if (!all) break;
  }
  result.append(text.substr(from));
  return result;
}

}  // namespace fondaris::core
