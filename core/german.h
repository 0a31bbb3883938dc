#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/dialogs.h"
#include "core/notation.h"

namespace fondaris::core {

// A point in time as days since 30 Dec 1899 00:00; the fraction is the time of day. Values before
// the epoch keep the day in the integer part (truncated) and the time as the absolute fraction,
// so -1.25 is 29 Dec 1899 06:00. Calendar is proleptic Gregorian, years 1..9999, no time zones.
using DateTime = double;

bool isLeapYear(int year);
// 0 for a month outside 1..12.
int daysInMonth(int year, int month);

// nullopt unless year 1..9999, month 1..12 and the day exists in that month.
std::optional<DateTime> encodeDate(int year, int month, int day);
// Fraction of a day; nullopt unless hour 0..23, minute and second 0..59, millisecond 0..999.
std::optional<DateTime> encodeTime(int hour, int minute, int second, int millisecond = 0);
// Values are rounded to the millisecond first, so 0.99999999999 counts as the next midnight.
void decodeDate(DateTime value, int& year, int& month, int& day);
void decodeTime(DateTime value, int& hour, int& minute, int& second, int& millisecond);
// The day without its time.
DateTime dateOf(DateTime value);
// A day plus a time of day; before the epoch the time counts away from zero.
DateTime composeDateTime(DateTime date, DateTime time);
// ISO weekday: 1 = Monday ... 7 = Sunday.
int dayOfWeek(DateTime value);

// The date in the short date format's day/month/year order, two-digit day and month, four-digit
// year, joined by the date separator: "05.03.2010" in German notation.
std::string formatDate(DateTime value, const Notation& n = notation());
// "hh:mm" with the time separator.
std::string formatTime(DateTime value, const Notation& n = notation());

// The text of an unfilled date mask, "  .  .    " in German notation.
std::string emptyDateText(const Notation& n = notation());
// The text of an unfilled time mask, "  :  ".
std::string emptyTimeText(const Notation& n = notation());

// Silent conversions behind parseDate/parseTime. A date is three numbers in the short date
// format's order, split by the date separator, blanks allowed around each number; day and month
// take one or two digits, the year two (0..49 -> 20xx, 50..99 -> 19xx) or four. A time is
// h:mm or h:mm:ss (one or two digits each), blanks allowed around each number.
std::optional<DateTime> textToDate(std::string_view text, const Notation& n = notation());
std::optional<DateTime> textToTime(std::string_view text, const Notation& n = notation());

// An amount typed into a form. Never fails: thousands separators are dropped, the leading integer
// is taken, and up to two decimals are added (further ones cut, not rounded). A leading minus
// negates the whole amount. Unreadable text gives 0 or its leading number; a number too large
// for a double counts as unreadable and gives 0.
double parseAmount(std::string_view text, const Notation& n = notation());

// Results of parseDate and parseTime.
enum class DateCheck {
  Valid,
  Empty,    // the unfilled mask; `out` is left unchanged
  Invalid,  // a message was shown
};

// A date field's text. Shows "Fehler" / "Datumsprüfung: ..." when it is neither the empty mask
// nor a valid date. An empty string is not the mask and counts as invalid.
[[nodiscard]] DateCheck parseDate(std::string_view text, DateTime& out, Dialogs& dialogs,
                                  const Notation& n = notation());
// A time field's text. A five-character text with blank hours or blank minutes gets "00" there
// first. Shows "Fehler" / "Prüfung der Zeitangabe: ..." when invalid. `out` is the time of day.
[[nodiscard]] DateCheck parseTime(std::string_view text, DateTime& out, Dialogs& dialogs,
                                  const Notation& n = notation());

enum class AgeMode : int {
  kInsurance = 0,      // completed years at the date six months after A
  kCompleted = 1,      // completed years; on the birthday the year is not yet complete
  kCalendarYears = 2,  // A's year minus B's year
};
// Years from `birth` (B) to `later` (A); never negative.
std::int16_t ageInYears(DateTime later, DateTime birth, AgeMode mode);

// Whole days of a minus b, truncated toward zero. The difference is rounded to the millisecond
// first, so equal clock times on different days always count as whole days.
std::int64_t daysBetween(DateTime a, DateTime b);

// The text with A to Z as a to z; other characters stay.
std::string lowerAscii(std::string_view text);

// The first (all == false) or every occurrence of `search` replaced, scanning left to right;
// replaced text is not searched again. Unchanged when text or search is empty or when search and
// replacement are equal.
std::string replaceText(std::string_view text, std::string_view search,
                        std::string_view replacement, bool all);

}  // namespace fondaris::core
