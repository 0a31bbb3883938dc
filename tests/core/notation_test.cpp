#include "core/notation.h"

#include <gtest/gtest.h>

#include <clocale>

#include "core/cp1252.h"
#include "tests/support/process_settings.h"

namespace fondaris::core {
namespace {

TEST(NotationTest, GermanFormats) {
  const Notation de = Notation::german();
  EXPECT_EQ(formatCurrency(12345.678, de), "12.345,68 ");
  EXPECT_EQ(formatAmount(2500, de), "2.500,00");
  EXPECT_EQ(formatAmount(0, de), "0,00");
  EXPECT_EQ(formatAmount(-1234567.5, de), "-1.234.567,50");
  EXPECT_EQ(formatFloat(33.33f, de), "33,3300018310547");
  EXPECT_EQ(formatFloat(5.5, de), "5,5");
  EXPECT_EQ(formatFloat(100, de), "100");
}

TEST(NotationTest, StrictNumbersFollowTheNotation) {
  const Notation de = Notation::german();
  Notation c = de;
  c.decimalSeparator = ".";
  c.thousandsSeparator = "";
  struct Case {
    const char* text;
    bool german;
    bool ok;
    double value;
  } cases[] = {
      {" 12,5 ", true, true, 12.5}, {"-3", true, true, -3},      {"+0,25", true, true, 0.25},
      {"12.5", true, false, 0},     {"1.000,5", true, false, 0}, {"12.5", false, true, 12.5},
      {"12,5", false, false, 0},    {"", true, false, 0},        {"1e5", false, false, 0},
      {"1,2,3", true, false, 0},    {"-", true, false, 0},       {"abc", true, false, 0},
  };
  for (const auto& k : cases) {
    double v = -99;
    EXPECT_EQ(parseStrictFloat(k.text, v, k.german ? de : c), k.ok) << k.text;
    if (k.ok) {
      EXPECT_DOUBLE_EQ(v, k.value) << k.text;
    }
  }
  int i = 0;
  EXPECT_TRUE(parseStrictInt(" -17 ", i));
  EXPECT_EQ(i, -17);
  EXPECT_TRUE(parseStrictInt("2147483647", i));
  EXPECT_FALSE(parseStrictInt("2147483648", i));
  EXPECT_FALSE(parseStrictInt("12,0", i));
  EXPECT_FALSE(parseStrictInt("", i));
}

TEST(NotationTest, FromLocale) {
  const test_support::ProcessSettingsGuard guard;
  ASSERT_TRUE(std::setlocale(LC_ALL, "C"));
  Notation c = Notation::fromCurrentLocale();
  EXPECT_EQ(c.decimalSeparator, ".");
  EXPECT_EQ(c.thousandsSeparator, "");
  EXPECT_EQ(formatCurrency(12345.678, c), "12345.68");
  EXPECT_EQ(formatFloat(33.33f, c), "33.3300018310547");

  if (!std::setlocale(LC_ALL, "de_DE.UTF-8")) GTEST_SKIP() << "de_DE.UTF-8 not installed";
  Notation de = Notation::fromCurrentLocale();
  // Formatting must not depend on the C library's own locale-dependent printf.
  EXPECT_EQ(formatCurrency(12345.678, de), "12.345,68 ");
  EXPECT_EQ(formatFloat(0.5, de), "0,5");
  EXPECT_EQ(de.dateSeparator, '.');
}

TEST(Cp1252Test, RoundTripsEveryByte) {
  std::string all;
  for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
  EXPECT_EQ(utf8ToCp1252(cp1252ToUtf8(all)), all);
  EXPECT_EQ(cp1252ToUtf8("\x80\xE4\x84"), "€ä„");
  EXPECT_EQ(utf8ToCp1252("日本\xC3"), "???");
  EXPECT_EQ(utf8Length("Größe"), 5u);
  EXPECT_EQ(utf8PrefixBytes("Grö", 3), "Gr");
}

}  // namespace
}  // namespace fondaris::core
