#include "documents/offer/offer_texts.h"

#include <cmath>
#include <cstdio>

#include "core/cp1252.h"
#include "core/notation.h"

namespace fondaris::documents {

std::string germanMonthName(int month) {
  static const std::array<const char*, 12> kNames{"Januar",    "Februar", "März",     "April",
                                                  "Mai",       "Juni",    "Juli",     "August",
                                                  "September", "Oktober", "November", "Dezember"};
  return month >= 1 && month <= 12 ? kNames[month - 1] : "";
}

std::string euroAmount(double value) {
  static const core::Notation kGerman = core::Notation::german();
  return core::formatAmount(value, kGerman) + " EUR";
}

std::string offerLine(core::DateTime today, const std::string& programVersion,
                      const std::array<std::string, 8>& agentLines) {
  int year = 0, month = 0, day = 0;
  core::decodeDate(today, year, month, day);
  const char sep = core::notation().dateSeparator;
  char date[32];
  std::snprintf(date, sizeof date, "%02d%c%02d%c%04d", day, sep, month, sep, year);
  std::string head = date;
  if (!programVersion.empty()) head += ", SW-Version " + programVersion;
  const auto& a = agentLines;
  constexpr std::size_t kMax = 90;
  std::string line = head + ", " + a[0] + " " + a[1] + " " + a[3];
  if (core::utf8Length(line) > kMax) line = head + ", " + a[0] + " " + a[3];
  if (core::utf8Length(line) > kMax) line = head + ", " + a[0];
  return line;
}

double rateFraction(const std::string& rateText) {
  static const core::Notation kGerman = core::Notation::german();
  double value = 0;
  return core::parseStrictFloat(rateText, value, kGerman) ? value * 0.01 : 0.0;
}

double annuityWithoutConsumption(double capital, double rate) {
  return capital * (std::pow(1.0 + rate, 1.0 / 12.0) - 1.0);
}

double annuityWithConsumption(double capital, double rate, int years) {
  const double q = std::pow(1.0 + rate, 1.0 / 12.0);
  const int months = 12 * years;
  if (q == 1.0) return capital / months;
  const double bigQ = std::pow(q, months);
  return capital * bigQ * (q - 1.0) / (bigQ - 1.0);
}

}  // namespace fondaris::documents
