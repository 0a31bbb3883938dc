#pragma once

#include <optional>
#include <string>

namespace fondaris::core {

// The process-wide number and date notation every parse and format relies on. Interactive mode
// forces German notation; batch mode takes the process's locale from the environment.
struct Notation {
  std::string decimalSeparator = ",";
  std::string thousandsSeparator = ".";  // empty: no grouping
  char dateSeparator = '.';
  char timeSeparator = ':';
  std::string shortDateFormat = "dd.mm.yyyy";
  std::string currencyString = "EUR";
  // Currency texts end in one blank when the symbol follows the amount with a space.
  bool currencyTrailingBlank = true;

  static Notation german();
  // The system's notation: on POSIX systems the C library's current locale (call
  // useEnvironmentLocale first), on Windows the user's regional settings.
  static Notation fromCurrentLocale();
};

// Takes the process's locale from the environment (LC_ALL, LC_NUMERIC, LC_MONETARY, LANG …).
// When a locale named there is not installed, the C locale stays and the answer is its name.
// Windows has no such variables: nothing to take, nothing missing.
std::optional<std::string> useEnvironmentLocale();

Notation& notation();  // the process-wide instance; German until changed

// Float as printf("%.15g") with the notation's decimal separator.
std::string formatFloat(double value, const Notation& n = notation());
// Two decimals with thousands grouping, as a currency text without a symbol
// ("12.345,68 " in German notation, "12345.68" in the C locale).
std::string formatCurrency(double value, const Notation& n = notation());
// Two decimals with thousands grouping and no trailing blank ("2.500,00").
std::string formatAmount(double value, const Notation& n = notation());

// Strict readers for stored values: a plain number in the notation (optional sign, digits, at
// most one decimal separator, no grouping, blanks around ignored). nullopt-like: false when the
// text is not such a number.
bool parseStrictFloat(const std::string& text, double& out, const Notation& n = notation());
// Optional sign and digits in the signed 32-bit range, blanks around ignored.
bool parseStrictInt(const std::string& text, int& out);

}  // namespace fondaris::core
