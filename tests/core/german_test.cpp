#include "core/german.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "core/clock.h"
#include "core/dialogs.h"
#include "core/notation.h"
#include "tests/support/fixed_clock.h"
#include "tests/support/scripted_dialogs.h"

namespace fondaris::core {
namespace {

DateTime date(int y, int m, int d) {
  const auto value = encodeDate(y, m, d);
  EXPECT_TRUE(value.has_value()) << y << "-" << m << "-" << d;
  return value.value_or(0);
}

DateTime timeOfDay(int h, int min, int s = 0) {
  return encodeTime(h, min, s).value_or(-1);
}

Notation usNotation() {
  Notation n;
  n.decimalSeparator = ".";
  n.thousandsSeparator = ",";
  n.dateSeparator = '/';
  n.shortDateFormat = "MM/dd/yyyy";
  return n;
}

// --- Calendar ---------------------------------------------------------------------------------

TEST(GermanCalendar, EncodeDateMatchesKnownSerials) {
  struct Case {
    int y, m, d;
    double serial;
  } cases[] = {
      {1899, 12, 30, 0},   {1899, 12, 29, -1},   {1900, 1, 1, 2},    {1900, 3, 1, 61},
      {2000, 1, 1, 36526}, {2010, 5, 10, 40308}, {1, 1, 1, -693593}, {9999, 12, 31, 2958465},
  };
  for (const auto& c : cases) EXPECT_EQ(encodeDate(c.y, c.m, c.d), c.serial) << c.y;
}

TEST(GermanCalendar, EncodeDateRejectsDaysThatDoNotExist) {
  struct Case {
    int y, m, d;
  } cases[] = {{2009, 2, 29}, {2008, 2, 30}, {1900, 2, 29}, {2100, 2, 29}, {2010, 4, 31},
               {2010, 13, 1}, {2010, 0, 1},  {2010, 1, 0},  {0, 1, 1},     {10000, 1, 1}};
  for (const auto& c : cases) EXPECT_FALSE(encodeDate(c.y, c.m, c.d)) << c.y << "-" << c.m;
  EXPECT_TRUE(encodeDate(2000, 2, 29));
  EXPECT_TRUE(encodeDate(2008, 2, 29));
}

TEST(GermanCalendar, EveryDayRoundTripsAndFollowsTheLastOne) {
  int prevY = 1599, prevM = 12, prevD = 31;
  const DateTime first = date(1600, 1, 1);
  for (DateTime serial = first; serial <= date(2400, 12, 31); serial += 1) {
    int y, m, d;
    decodeDate(serial, y, m, d);
    ASSERT_EQ(encodeDate(y, m, d), serial);
    const bool nextDay = y == prevY && m == prevM && d == prevD + 1;
    const bool nextMonth = y == prevY && m == prevM + 1 && d == 1 && prevD == daysInMonth(y, prevM);
    const bool nextYear = y == prevY + 1 && m == 1 && d == 1 && prevM == 12 && prevD == 31;
    ASSERT_TRUE(nextDay || nextMonth || nextYear) << y << "-" << m << "-" << d;
    prevY = y, prevM = m, prevD = d;
  }
}

TEST(GermanCalendar, DecodeSplitsDayAndTimeIncludingBeforeTheEpoch) {
  struct Case {
    DateTime value;
    int y, m, d, h, min, s;
  } cases[] = {
      {date(2010, 5, 10) + timeOfDay(13, 45, 30), 2010, 5, 10, 13, 45, 30},
      {-1.25, 1899, 12, 29, 6, 0, 0},  // day truncated, time as absolute fraction
      // A time a hair below midnight is the next day, never 23:59:59.999.
      {date(2010, 5, 10) + 0.99999999999, 2010, 5, 11, 0, 0, 0},
  };
  for (const auto& c : cases) {
    int y, m, d, h, min, s, ms;
    decodeDate(c.value, y, m, d);
    decodeTime(c.value, h, min, s, ms);
    EXPECT_EQ((std::vector{y, m, d, h, min, s, ms}),
              (std::vector{c.y, c.m, c.d, c.h, c.min, c.s, 0}))
        << c.value;
  }
  EXPECT_EQ(composeDateTime(date(1899, 12, 29), timeOfDay(6, 0)), -1.25);
  EXPECT_EQ(composeDateTime(date(2010, 5, 10), timeOfDay(12, 0)), 40308.5);
}

TEST(GermanCalendar, EncodeTimeValidatesAndDayOfWeekIsIso) {
  EXPECT_EQ(encodeTime(12, 0, 0), 0.5);
  EXPECT_EQ(encodeTime(6, 0, 0), 0.25);
  EXPECT_FALSE(encodeTime(24, 0, 0));
  EXPECT_FALSE(encodeTime(12, 60, 0));
  EXPECT_FALSE(encodeTime(12, 0, 60));
  EXPECT_FALSE(encodeTime(-1, 0, 0));

  EXPECT_EQ(dayOfWeek(date(1899, 12, 30)), 6);  // Saturday
  EXPECT_EQ(dayOfWeek(date(1900, 1, 1)), 1);    // Monday
  EXPECT_EQ(dayOfWeek(date(2010, 5, 16) + 0.9), 7);
  EXPECT_EQ(dayOfWeek(date(1800, 1, 1)), 3);  // Wednesday, before the epoch
}

TEST(GermanCalendar, FormatsInTheNotationsOrderAndSeparators) {
  const Notation german = Notation::german();
  EXPECT_EQ(formatDate(date(2010, 3, 5), german), "05.03.2010");
  EXPECT_EQ(formatDate(composeDateTime(date(987, 12, 31), 0.7), german), "31.12.0987");
  EXPECT_EQ(formatDate(date(2010, 3, 5), usNotation()), "03/05/2010");
  Notation iso = german;
  iso.dateSeparator = '-';
  iso.shortDateFormat = "yyyy-mm-dd";
  EXPECT_EQ(formatDate(date(2010, 3, 5), iso), "2010-03-05");
  EXPECT_EQ(formatTime(date(2010, 3, 5) + timeOfDay(9, 5, 59), german), "09:05");
}

// --- Amounts ----------------------------------------------------------------------------------

TEST(GermanAmount, ParsesGermanNotation) {
  // Expected values are built the way the parser builds them (integer + 0.1/0.01 * decimals),
  // since 12 + 0.01 * 5 and 12.05 need not be the same double.
  const std::string decimalsWithin100 = "5." + std::string(98, 'x') + ",5";
  const std::string decimalsBeyond100 = "5." + std::string(99, 'x') + ",5";
  struct Case {
    std::string text;
    double expected;
  } cases[] = {
      {"1.234,5", 1234 + 0.1 * 5},
      {"1.234,567", 1234 + 0.01 * 56},  // third decimal cut, not rounded
      {"1.234,569", 1234 + 0.01 * 56},
      {"12,05", 12 + 0.01 * 5},
      {"1234", 1234},
      {"1.000.000", 1000000},
      {"  12,3  ", 12 + 0.1 * 3},
      {"12,", 12},
      {",5", 0.1 * 5},
      {"12abc", 12},
      {"12,5x", 12 + 0.01 * 5},  // the first two characters after the comma are one number
      {"+7", 7},
      {"", 0},
      {"   ", 0},
      {"abc", 0},
      // A leading minus negates the whole amount, decimals included.
      {"-1,5", -(1 + 0.1 * 5)},
      {"-0,5", -(0.1 * 5)},
      {"-,25", -(0.01 * 25)},
      {"-1.234,56", -(1234 + 0.01 * 56)},
      {"12,-5", 12},  // a sign inside the decimals is not a number
      // Removing a thousands separator keeps at most 100 characters after it.
      {decimalsWithin100, 5 + 0.1 * 5},
      {decimalsBeyond100, 5},  // the text ends with the comma
      // Beyond double range the number is unreadable, not infinite.
      {std::string(400, '9'), 0},
      {"-" + std::string(400, '9') + ",5", 0},
  };
  for (const auto& c : cases) {
    EXPECT_DOUBLE_EQ(parseAmount(c.text, Notation::german()), c.expected) << '"' << c.text << '"';
  }
  EXPECT_FALSE(std::signbit(parseAmount("-", Notation::german())));
  EXPECT_FALSE(std::signbit(parseAmount("-0,00", Notation::german())));
}

TEST(GermanAmount, FollowsTheNotationsSeparators) {
  const Notation us = usNotation();
  EXPECT_DOUBLE_EQ(parseAmount("1,234.5", us), 1234 + 0.1 * 5);
  EXPECT_DOUBLE_EQ(parseAmount("1.234,5", us), 1 + 0.01 * 23);
  Notation ungrouped = Notation::german();
  ungrouped.thousandsSeparator.clear();
  EXPECT_DOUBLE_EQ(parseAmount("1.234,5", ungrouped), 1 + 0.1 * 5);
}

// --- Dates ------------------------------------------------------------------------------------

TEST(GermanDate, ParseDateTable) {
  const DateTime untouched = 12345;
  struct Case {
    std::string text;
    DateCheck rc;
    DateTime expected;  // only for a valid date
  } cases[] = {
      {"10.05.2010", DateCheck::Valid, date(2010, 5, 10)},
      {"1.5.2010", DateCheck::Valid, date(2010, 5, 1)},
      {"  10.05.2010 ", DateCheck::Valid, date(2010, 5, 10)},
      {"1 .5 .2010", DateCheck::Valid, date(2010, 5, 1)},  // a half-filled mask
      {"29.02.2008", DateCheck::Valid, date(2008, 2, 29)},
      {"10.05.10", DateCheck::Valid, date(2010, 5, 10)},
      {"01.01.49", DateCheck::Valid, date(2049, 1, 1)},
      {"01.01.50", DateCheck::Valid, date(1950, 1, 1)},
      {"10.05.80", DateCheck::Valid, date(1980, 5, 10)},
      {"  .  .    ", DateCheck::Empty, untouched},
      {"31.02.2009", DateCheck::Invalid, 0},
      {"29.02.2009", DateCheck::Invalid, 0},
      {"00.05.2010", DateCheck::Invalid, 0},
      {"10.13.2010", DateCheck::Invalid, 0},
      {"100.05.2010", DateCheck::Invalid, 0},
      {"10.05.201", DateCheck::Invalid, 0},
      {"10.05.0000", DateCheck::Invalid, 0},
      {"10.05", DateCheck::Invalid, 0},
      {"10.05.2010x", DateCheck::Invalid, 0},
      {"10/05/2010", DateCheck::Invalid, 0},
      {"1 0.05.2010", DateCheck::Invalid, 0},
      {"ab.cd.efgh", DateCheck::Invalid, 0},
      {"-1.05.2010", DateCheck::Invalid, 0},
      {"", DateCheck::Invalid, 0},  // not the mask
      {"  .  .", DateCheck::Invalid, 0},
  };
  for (const auto& c : cases) {
    test_support::ScriptedDialogs dialogs;
    DateTime out = untouched;
    EXPECT_EQ(parseDate(c.text, out, dialogs, Notation::german()), c.rc) << '"' << c.text << '"';
    if (c.rc == DateCheck::Invalid) {
      EXPECT_EQ(dialogs.messages(), std::vector<std::string>{"Fehler: Datumsprüfung: '" + c.text +
                                                             "' ist kein gültiges Datum"});
      EXPECT_EQ(out, untouched);
    } else {
      EXPECT_TRUE(dialogs.shown().empty()) << c.text;
      EXPECT_EQ(out, c.rc == DateCheck::Valid ? c.expected : untouched) << c.text;
    }
  }
}

TEST(GermanDate, UsesTheNotationsSeparatorAndOrder) {
  const Notation us = usNotation();
  EXPECT_EQ(emptyDateText(Notation::german()), "  .  .    ");
  EXPECT_EQ(emptyDateText(us), "  /  /    ");
  EXPECT_EQ(emptyTimeText(Notation::german()), "  :  ");

  test_support::ScriptedDialogs dialogs;
  DateTime out = 0;
  EXPECT_EQ(parseDate("05/10/2010", out, dialogs, us), DateCheck::Valid);
  EXPECT_EQ(out, date(2010, 5, 10));
  EXPECT_EQ(parseDate("  /  /    ", out, dialogs, us), DateCheck::Empty);
  EXPECT_EQ(parseDate("  .  .    ", out, dialogs, us), DateCheck::Invalid);
  EXPECT_EQ(dialogs.messages().size(), 1u);
}

// --- Times ------------------------------------------------------------------------------------

TEST(GermanTime, ParseTimeTable) {
  const DateTime untouched = 0.75;
  struct Case {
    std::string text;
    DateCheck rc;
    DateTime expected;
    std::string converted = {};  // the text quoted in the message
  } cases[] = {
      {"  :30", DateCheck::Valid, timeOfDay(0, 30)},  // blank hours become 00
      {"12:  ", DateCheck::Valid, timeOfDay(12, 0)},  // blank minutes become 00
      {" 9:  ", DateCheck::Valid, timeOfDay(9, 0)},
      {"  :  ", DateCheck::Empty, untouched},
      {"09:30", DateCheck::Valid, timeOfDay(9, 30)},
      {"9:30", DateCheck::Valid, timeOfDay(9, 30)},
      {"23:59", DateCheck::Valid, timeOfDay(23, 59)},
      {"00:00", DateCheck::Valid, 0},
      {"12:30:15", DateCheck::Valid, timeOfDay(12, 30, 15)},
      {"24:00", DateCheck::Invalid, 0, "24:00"},
      {"12:60", DateCheck::Invalid, 0, "12:60"},
      {"1230", DateCheck::Invalid, 0, "1230"},
      {"ab:cd", DateCheck::Invalid, 0, "ab:cd"},
      {"", DateCheck::Invalid, 0, ""},
      {" 12:  ", DateCheck::Invalid, 0, " 12:  "},  // six characters: no filling
      {"  :3x", DateCheck::Invalid, 0, "00:3x"},
  };
  for (const auto& c : cases) {
    test_support::ScriptedDialogs dialogs;
    DateTime out = untouched;
    EXPECT_EQ(parseTime(c.text, out, dialogs, Notation::german()), c.rc) << '"' << c.text << '"';
    if (c.rc == DateCheck::Invalid) {
      EXPECT_EQ(dialogs.messages(),
                std::vector<std::string>{"Fehler: Prüfung der Zeitangabe: '" + c.converted +
                                         "' ist keine gültige Uhrzeit"});
      EXPECT_EQ(out, untouched);
    } else {
      EXPECT_TRUE(dialogs.shown().empty()) << c.text;
      EXPECT_EQ(out, c.rc == DateCheck::Valid ? c.expected : untouched) << c.text;
    }
  }
}

// --- Ages and day differences -----------------------------------------------------------------

TEST(GermanAge, ModesTable) {
  struct Case {
    AgeMode mode;
    DateTime birth, later;
    int expected;
  } cases[] = {
      // Completed years: the birthday itself does not complete the year.
      {AgeMode::kCompleted, date(1980, 5, 10), date(2010, 5, 10), 29},
      {AgeMode::kCompleted, date(1980, 5, 10), date(2010, 5, 11), 30},
      {AgeMode::kCompleted, date(1980, 5, 10), date(2010, 6, 1), 30},
      {AgeMode::kCompleted, date(1980, 5, 10), date(2010, 4, 30), 29},
      {AgeMode::kCompleted, date(1980, 5, 10), date(2010, 5, 11) + 0.99, 30},
      // Born on a leap day.
      {AgeMode::kCompleted, date(1980, 2, 29), date(2010, 2, 28), 29},
      {AgeMode::kCompleted, date(1980, 2, 29), date(2010, 3, 1), 30},
      {AgeMode::kCompleted, date(1980, 2, 29), date(2012, 2, 29), 31},
      {AgeMode::kCompleted, date(1980, 2, 29), date(2012, 3, 1), 32},
      // Insurance age: A moves six months forward first.
      {AgeMode::kInsurance, date(1980, 5, 10), date(2009, 11, 15), 30},
      {AgeMode::kInsurance, date(1980, 5, 10), date(2009, 11, 10), 29},
      {AgeMode::kInsurance, date(1980, 5, 10), date(2009, 7, 1), 29},
      {AgeMode::kInsurance, date(1980, 5, 10), date(2009, 6, 30), 29},
      {AgeMode::kInsurance, date(1980, 5, 10), date(2008, 11, 9), 28},
      {AgeMode::kInsurance, date(1980, 6, 30), date(2009, 12, 31), 30},  // "31 June" 2010
      {AgeMode::kInsurance, date(1980, 2, 29), date(2009, 8, 29), 29},
      {AgeMode::kInsurance, date(1980, 2, 29), date(2009, 8, 30), 30},
      // Calendar years.
      {AgeMode::kCalendarYears, date(1980, 12, 31), date(2010, 1, 1), 30},
      {AgeMode::kCalendarYears, date(1980, 1, 1), date(2010, 12, 31), 30},
      // Never negative.
      {AgeMode::kCompleted, date(2010, 5, 10), date(2000, 1, 1), 0},
      {AgeMode::kInsurance, date(2010, 5, 10), date(2010, 5, 10), 0},
      {AgeMode::kCalendarYears, date(2011, 1, 1), date(2010, 12, 31), 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ageInYears(c.later, c.birth, c.mode), c.expected)
        << "mode " << static_cast<int>(c.mode) << ", " << formatDate(c.birth) << " -> "
        << formatDate(c.later);
  }
}

TEST(GermanDays, DaysBetweenTruncatesTowardZero) {
  const DateTime d = date(2010, 5, 10);
  struct Case {
    DateTime a, b;
    long long expected;
  } cases[] = {
      {d + 1, d, 1},
      {d, d + 1, -1},
      {d, d + 1.5, -1},
      {d + 1.75, d, 1},
      {d + 0.5, d, 0},
      {d, d + 0.5, 0},
      {date(2000, 1, 1), date(1900, 1, 1), 36524},
      {date(2010, 3, 1), date(2010, 2, 28), 1},
      // Same clock time on both days: whole days even though the doubles differ slightly.
      {date(2010, 5, 11) + timeOfDay(10, 0), date(2010, 5, 10) + timeOfDay(10, 0), 1},
      {date(2010, 5, 10) + timeOfDay(17, 13, 7), date(2010, 5, 17) + timeOfDay(17, 13, 7), -7},
  };
  for (const auto& c : cases) EXPECT_EQ(daysBetween(c.a, c.b), c.expected) << c.a << " - " << c.b;
}

// --- Texts ------------------------------------------------------------------------------------

TEST(GermanText, LowerAsciiLeavesOtherLettersAlone) {
  EXPECT_EQ(lowerAscii("STARTBILD.PNG"), "startbild.png");
  EXPECT_EQ(lowerAscii("ÄRGER Über"), "Ärger Über");
  EXPECT_EQ(lowerAscii(""), "");
}

TEST(GermanText, ReplaceTextTable) {
  struct Case {
    std::string text, search, replacement;
    bool all;
    std::string expected;
  } cases[] = {
      {"abcabc", "b", "x", false, "axcabc"},
      {"abcabc", "b", "x", true, "axcaxc"},
      {"aaa", "a", "aa", true, "aaaaaa"},  // inserted text is not searched again
      {"ab", "a", "aab", true, "aabb"},
      {"aaaa", "aa", "b", true, "bb"},
      {"aaa", "aa", "b", true, "ba"},  // left to right, no overlap
      {"abab", "ab", "", true, ""},
      {"Straße", "ß", "ss", true, "Strasse"},
      {"abc", "b", "b", true, "abc"},  // equal search and replacement
      {"abc", "", "x", true, "abc"},   // empty search
      {"", "a", "b", true, ""},
      {"abc", "x", "y", true, "abc"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(replaceText(c.text, c.search, c.replacement, c.all), c.expected)
        << c.text << " / " << c.search << " / " << c.replacement;
  }
}

// --- Clock ------------------------------------------------------------------------------------

TEST(Clock, FixedClockStandsStillUntilSet) {
  test_support::FixedClock clock(2010, 5, 10, 13, 30);
  EXPECT_EQ(clock.today(), date(2010, 5, 10));
  EXPECT_EQ(clock.now(), date(2010, 5, 10) + timeOfDay(13, 30));
  clock.set(date(2011, 1, 1) + 0.999);
  EXPECT_EQ(clock.today(), date(2011, 1, 1));
  EXPECT_EQ(test_support::FixedClock(2009, 2, 29).now(),
            0);  // an invalid date stands for the epoch
}

TEST(Clock, SystemClockGivesTodayAndATimeOfDay) {
  SystemClock clock;
  const DateTime now = clock.now();
  EXPECT_GT(now, date(2020, 1, 1));
  EXPECT_GE(now, dateOf(now));
  EXPECT_LT(now, dateOf(now) + 1);
  EXPECT_EQ(clock.today(), dateOf(clock.today()));
  EXPECT_GE(clock.today(), dateOf(now));
}

}  // namespace
}  // namespace fondaris::core
