#include "core/notation.h"

#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

#include "core/platform/platform.h"

namespace fondaris::core {

Notation Notation::german() {
  return Notation{};
}

Notation Notation::fromCurrentLocale() {
  return platform::systemNotation();
}

std::optional<std::string> useEnvironmentLocale() {
  return platform::useSystemLocale();
}

Notation& notation() {
  static Notation instance = Notation::german();
  return instance;
}

std::string formatFloat(double value, const Notation& n) {
  char buf[64];
  auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, 15);
  std::string out(buf, res.ptr);
  if (const auto dot = out.find('.'); dot != std::string::npos)
    out.replace(dot, 1, n.decimalSeparator);
  return out;
}

std::string formatAmount(double value, const Notation& n) {
  if (!std::isfinite(value)) value = 0;
  // Room for every digit of the largest double.
  char buf[DBL_MAX_10_EXP + 8];
  std::snprintf(buf, sizeof buf, "%.2f", std::fabs(value));
  // snprintf follows the C locale's decimal point, which batch mode may have changed.
  std::string digits(buf);
  std::size_t cut = digits.find_first_not_of("0123456789");
  std::string intPart = digits.substr(0, cut);
  std::string frac = cut == std::string::npos ? "00" : digits.substr(cut + 1);
  std::string grouped;
  for (std::size_t i = 0; i < intPart.size(); ++i) {
    if (i > 0 && (intPart.size() - i) % 3 == 0) grouped += n.thousandsSeparator;
    grouped += intPart[i];
  }
  const bool negative = value < 0 && (intPart != "0" || frac != "00");
  return (negative ? "-" : "") + grouped + n.decimalSeparator + frac;
}

std::string formatCurrency(double value, const Notation& n) {
  std::string out = formatAmount(value, n);
  if (n.currencyTrailingBlank) out += ' ';
  return out;
}

namespace {
std::string_view trimBlanks(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}
}  // namespace

bool parseStrictFloat(const std::string& text, double& out, const Notation& n) {
  std::string_view s = trimBlanks(text);
  std::string plain;
  std::size_t i = 0;
  if (!s.empty() && (s[0] == '+' || s[0] == '-')) {
    if (s[0] == '-') plain += '-';
    i = 1;
  }
  bool digits = false, separator = false;
  while (i < s.size()) {
    if (s[i] >= '0' && s[i] <= '9') {
      plain += s[i++];
      digits = true;
    } else if (!separator && !n.decimalSeparator.empty() &&
               s.substr(i, n.decimalSeparator.size()) == n.decimalSeparator) {
      plain += '.';
      i += n.decimalSeparator.size();
      separator = true;
    } else {
      return false;
    }
  }
  if (!digits) return false;
  double v = 0;
  auto res = std::from_chars(plain.data(), plain.data() + plain.size(), v);
  if (res.ec != std::errc() || res.ptr != plain.data() + plain.size() || !std::isfinite(v))
    return false;
  out = v;
  return true;
}

bool parseStrictInt(const std::string& text, int& out) {
  std::string_view s = trimBlanks(text);
  if (!s.empty() && s[0] == '+') s.remove_prefix(1);
  if (s.empty() || s == "-") return false;
  long long v = 0;
  auto res = std::from_chars(s.data(), s.data() + s.size(), v);
  if (res.ec != std::errc() || res.ptr != s.data() + s.size()) return false;
  if (v < std::numeric_limits<int>::min() || v > std::numeric_limits<int>::max()) return false;
  out = static_cast<int>(v);
  return true;
}

}  // namespace fondaris::core
