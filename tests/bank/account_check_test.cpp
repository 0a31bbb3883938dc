#include "bank/account_check.h"

#include <gtest/gtest.h>

namespace fondaris::bank {
namespace {

TEST(AccountCheckTest, BankMethods) {
  struct Case {
    const char* code;
    const char* account;
    AccountCheck expected;
  } cases[] = {
      // The Bundesbank's examples in the check-digit library's README.
      {"20210200", "0240334000", AccountCheck::Valid},
      {"56061472", "0000191919", AccountCheck::Valid},
      {"56061472", "191919", AccountCheck::Valid},  // leading zeros may be left out
      // The same examples with one digit mistyped.
      {"56061472", "0000191918", AccountCheck::Invalid},
      // The README's third example: the bank has left the Bundesbank data the library ships.
      {"64192220", "12345008", AccountCheck::NotCheckable},
      {"20210200", "0240334001", AccountCheck::Invalid},
      {"00000000", "0240334000", AccountCheck::NotCheckable},
      {"2021020", "0240334000", AccountCheck::NotCheckable},
      {"20210200", "", AccountCheck::NotCheckable},
      {"20210200", "12345678901", AccountCheck::NotCheckable},
      {"20210200", "02403x4000", AccountCheck::NotCheckable},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.code) + " " + c.account);
    EXPECT_EQ(checkAccount(c.code, c.account), c.expected);
  }
}

}  // namespace
}  // namespace fondaris::bank
