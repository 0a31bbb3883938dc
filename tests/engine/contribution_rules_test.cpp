#include "engine/contribution_rules.h"

#include <gtest/gtest.h>

namespace fondaris::engine {
namespace {

class ContributionRules : public ::testing::Test {
 protected:
  void SetUp() override {
    rules.childAgeLimit = 17;
    rules.childContributionLimit = 3000;
    rules.minDeathBenefitPercent = 60;
    rules.maxDeathBenefit = [](int /*age*/, int sex) { return sex == 0 ? 50000.0 : 40000.0; };
  }
  Request standard(float c, int z = 12) const {
    Request rq;
    rq.type = 2;
    rq.contribution = c;
    rq.paymentsPerYear = z;
    rq.entryAgeInsured = 30;
    rq.contributionYears = 10;
    rq.investmentYears = 10;
    rq.country = "A";
    return rq;
  }
  std::string check(const Request& rq) {
    ProjectionResult scratch{};
    last = checkRequest(rq, rules, scratch);
    return last.error;
  }
  ProductRules rules;
  RuleOutcome last;
};

TEST_F(ContributionRules, ChainOfBasicChecks) {
  rules.maxDeathBenefit = [](int, int) { return 1e6; };
  const std::string min25 = "Der Mindestbeitrag bei monatlicher Zahlweise beträgt 25 Euro!";
  const std::string max1000 = "Der Maximalbeitrag bei monatlicher Zahlweise beträgt 1000 Euro!";
  struct Case {
    int type, z, age;
    float c;
    std::string error;
  } cases[] = {
      {3, 5, 0, 100, "Unbekannten Berechnungstyp angefordert!"},
      {2, 5, 0, 100, "Unbekannte Zahlungsweise!"},
      {2, 0, 0, 100, "Unbekannte Zahlungsweise!"},
      {2, 12, 86, 100, "Das gewünschte Alter ist zu hoch!"},
      {2, 12, 85, 100, ""},
      {2, 12, 0, 25, ""},
      {2, 12, 0, 24.99f, min25},
      {2, 12, 0, 1000, ""},
      {2, 12, 0, 1000.01f, max1000},
      {2, 1, 0, 10, ""},  // no per-payment limit for yearly payment
  };
  for (const auto& k : cases) {
    Request rq = standard(k.c, k.z);
    rq.type = k.type;
    rq.targetAge = k.age;
    EXPECT_EQ(check(rq), k.error) << k.type << "/" << k.z << "/" << k.age << "/" << k.c;
  }
}

TEST_F(ContributionRules, ANonPositiveContributionThatPassedTheChecksFails) {
  const std::string positive = "Der Beitrag muss größer als 0 Euro sein!";
  Request missing = standard(0, 1);  // yearly payment has no per-payment minimum
  Request negative = standard(-50, 1);
  Request negativeEndValue = standard(0);
  negativeEndValue.targetValue = -5000;  // no search, and the monthly minimum does not apply
  Request fixedTerm = standard(-50, 4);
  fixedTerm.type = 1;
  fixedTerm.contributionYears = 13;
  for (const Request& rq : {missing, negative, negativeEndValue, fixedTerm})
    EXPECT_EQ(check(rq), positive) << rq.contribution << "/" << rq.targetValue;
  EXPECT_EQ(check(standard(0.01f, 1)), "");
}

TEST_F(ContributionRules, FixedTermNeedsItsPeriods) {
  Request rq = standard(50);
  rq.type = 1;
  rq.contributionYears = 20;
  EXPECT_EQ(check(rq),
            "Für diesen Berechnungstyp ist nur eine Beitragszahldauer von 7, 13, 19 oder 25 "
            "Jahren möglich!");
  rq.contributionYears = 19;
  EXPECT_EQ(check(rq), "");
}

TEST_F(ContributionRules, ChildrensLimitCountsTheMonthsUpToTheAgeLimit) {
  // K = 17, E = 10, Z = 4, B = 5: 84 months, limited to 60; sum = 60 * C * 4 / 12 = 20 C.
  Request rq = standard(150, 4);
  rq.country = "D";
  rq.entryAgeInsured = 10;
  rq.contributionYears = 5;
  EXPECT_EQ(check(rq), "");
  rq.contribution = 151;
  EXPECT_EQ(check(rq),
            "Bei Kindern darf die Beitragssumme bis zum 17. Lebensjahr die Grenze von 3000 Euro "
            "nicht übersteigen!");
  rq.country = "A";
  EXPECT_EQ(check(rq), "");
  // E = 16, Z = 4: 12 months.
  rq.country = "D";
  rq.entryAgeInsured = 16;
  rq.contribution = 750;  // 12 * 750 * 4 / 12 = 3000
  EXPECT_EQ(check(rq), "");
  rq.contribution = 751;
  EXPECT_NE(check(rq), "");
}

TEST_F(ContributionRules, DeathBenefitRules) {
  // S = 10 years * 100 * 12 = 12,000; D = 50,000 (sex 0) or 40,000.
  struct Case {
    float c;
    float t;
    int sex;
    int p;
    std::string error;
  } cases[] = {
      {100, 12000, 0, 60, ""},
      {100, 12000.5f, 0, 60, "Die Todesfallleistung ist zu hoch!"},
      {100, 11999, 0, 100, "Die Todesfallleistung ist zu niedrig!"},
      {100, 7200, 0, 60, ""},
      {100, 7199, 0, 60, "Die Todesfallleistung ist zu niedrig!"},
      {400, 0, 0, 60, ""},                                // S = 48,000
      {400, 0, 1, 60, "Die Beitragssumme ist zu hoch!"},  // D = 40,000 for the other sex
  };
  for (const auto& k : cases) {
    rules.minDeathBenefitPercent = k.p;
    Request rq = standard(k.c);
    rq.deathBenefit = k.t;
    rq.sex = k.sex;
    EXPECT_EQ(check(rq), k.error) << k.c << "/" << k.t << "/" << k.sex;
  }
  rules.minDeathBenefitPercent = 60;
  Request rq = standard(100);
  check(rq);
  EXPECT_FLOAT_EQ(last.deathBenefit, 7200);
}

TEST_F(ContributionRules, SearchFindsTheContributionForAnEndValue) {
  // At 0 % growth the fund value after 10 years of 100 a month is the contribution sum less
  // the acquisition costs: 12,000 * (1 - 0.06786) = 11,185.68. Asking exactly for it gives
  // 100 a month, 1,200 a year, each rounded up to the next whole euro.
  Request rq = standard(0);
  rq.targetRatePercent = 0;
  rq.targetValue = 11185.68f;
  rq.targetAge = 39;  // row 9 = year 10
  EXPECT_EQ(check(rq), "");
  EXPECT_FLOAT_EQ(last.contribution, 101);
  rq.paymentsPerYear = 1;
  EXPECT_EQ(check(rq), "");
  EXPECT_FLOAT_EQ(last.contribution, 1201);

  // A small end value stops the search early; the minimum then rejects it.
  rq.paymentsPerYear = 12;
  rq.targetValue = 1000;
  EXPECT_EQ(check(rq),
            "Der Mindestbeitrag bei monatlicher Zahlweise beträgt 40 Euro! Bitte die "
            "Ablaufleistung erhöhen!");

  // No value at the target row (before the start, or past the table): a clear error.
  for (int age : {20, 85}) {
    rq.targetValue = 50000;
    rq.targetAge = age;
    rq.entryAgeInsured = age == 85 ? -30 : 30;
    EXPECT_EQ(check(rq), "Zum gewünschten Alter kann keine Ablaufleistung berechnet werden!")
        << age;
  }
}

}  // namespace
}  // namespace fondaris::engine
