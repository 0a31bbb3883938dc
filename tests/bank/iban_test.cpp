#include "bank/iban.h"

#include <gtest/gtest.h>

#include "iban_check.h"

namespace fondaris::bank {
namespace {

struct IbanCase {
  const char* bankCode;
  const char* account;
  const char* country;
  const char* expected;  // empty: no IBAN
};

// Expected IBANs: the first two are published examples, the rest were computed outside the
// program (mod 97 over the rearranged IBAN).
const IbanCase kCases[] = {
    {"37040044", "532013000", "", "DE89370400440532013000"},
    {"20070024", "66644600", "", "DE82200700240066644600"},
    {"37040044", "6", "", "DE03370400440000000006"},            // check number below 10
    {"37040044", " 532013000 ", "", "DE89370400440532013000"},  // account is trimmed
    {"37040044", "532013000", "DE", "DE89370400440532013000"},
    {"19043", "234573201", "", "AT611904300234573201"},  // published Austrian example
    {"19043", "7", "", "AT091904300000000007"},
    {"19043", "234573201", "AT", "AT611904300234573201"},
    // No IBAN:
    {"37040044", "", "", ""},
    {"37040044", "   ", "", ""},
    {"37040044", "12345678901", "", ""},  // 11 digits
    {"37040044", "53201300A", "", ""},
    {"37040044", "532 013000", "", ""},
    {"3704004X", "532013000", "", ""},
    {"3704004", "532013000", "", ""},  // 7 digits: neither layout
    {"370400440", "532013000", "", ""},
    {"", "532013000", "", ""},
    {"37040044", "532013000", "AT", ""},  // country does not fit the bank code
    {"19043", "234573201", "DE", ""},
    {"37040044", "532013000", "NL", ""},
};

TEST(Iban, TableOfCases) {
  for (const IbanCase& c : kCases) {
    SCOPED_TRACE(std::string(c.bankCode) + " / '" + c.account + "' / " + c.country);
    const std::string result = iban(c.bankCode, c.account, c.country);
    EXPECT_EQ(result, c.expected);
    EXPECT_EQ(makeIban(c.bankCode, c.account, c.country).has_value(), !result.empty());
    if (!result.empty()) {
      EXPECT_TRUE(test::ibanValidates(result));
      EXPECT_EQ(result.size(), result.starts_with("DE") ? 22u : 20u);
    }
  }
}

TEST(Iban, EveryCheckNumberIsTwoDigitsAndValidates) {
  for (int account = 1; account <= 300; ++account) {
    for (const char* code : {"37040044", "10000000", "19043"}) {
      const std::string result = iban(code, std::to_string(account));
      ASSERT_TRUE(test::ibanValidates(result)) << result;
      EXPECT_TRUE(std::isdigit(result[2]) && std::isdigit(result[3])) << result;
    }
  }
}

TEST(Iban, RefusalNamesTheReason) {
  const struct {
    const char *code, *account, *country;
    IbanRefusal why;
  } cases[] = {
      {"3704", "1", "", IbanRefusal::BankCodeLength},
      {"37040044", "1", "AT", IbanRefusal::CountryMismatch},
      {"37040044", " ", "", IbanRefusal::AccountMissing},
      {"37040044", "12a", "", IbanRefusal::AccountNotDigits},
      {"37040044", "12345678901", "", IbanRefusal::AccountTooLong},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.code) + " / '" + c.account + "'");
    const auto made = makeIban(c.code, c.account, c.country);
    ASSERT_FALSE(made.has_value());
    EXPECT_EQ(made.error(), c.why);
  }
}

TEST(Iban, AccountExitLeavesTheFieldAloneUntilBothAreFilled) {
  EXPECT_EQ(ibanForAccountExit("", "532013000"), std::nullopt);
  EXPECT_EQ(ibanForAccountExit("37040044", ""), std::nullopt);
  EXPECT_EQ(ibanForAccountExit("37040044", "532013000"), "DE89370400440532013000");
  // Both filled but no IBAN possible: the field is cleared.
  EXPECT_EQ(ibanForAccountExit("3704", "532013000"), "");
}

}  // namespace
}  // namespace fondaris::bank
