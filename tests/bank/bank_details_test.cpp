// What a bank code fills in beside it: BIC, name and place, or nothing for an unknown code.
#include "bank/bank_details.h"

#include <gtest/gtest.h>

namespace fondaris::bank {
namespace {

TEST(BankDetails, NameAndPlaceTogetherOrApart) {
  const BankRecord bank{"37040044", "Beispielbank", "50667", "Köln", "Beispielb", "BSPLDEFFXXX"};
  struct Case {
    const BankRecord* bank;
    bool separatePlace;
    BankDetails expected;
  };
  const Case cases[] = {
      {&bank, true, {"BSPLDEFFXXX", "Beispielbank", "50667 Köln"}},
      {&bank, false, {"BSPLDEFFXXX", "Beispielbank, Köln", ""}},
      {nullptr, true, {}},  // an unknown code clears what the old one filled in
      {nullptr, false, {}},
  };
  for (const Case& c : cases) {
    const BankDetails got = bankDetails(c.bank, c.separatePlace);
    const std::string label =
        std::string(c.bank ? "bank" : "none") + (c.separatePlace ? " apart" : " together");
    EXPECT_EQ(got.bic, c.expected.bic) << label;
    EXPECT_EQ(got.name, c.expected.name) << label;
    EXPECT_EQ(got.place, c.expected.place) << label;
  }
}

}  // namespace
}  // namespace fondaris::bank
