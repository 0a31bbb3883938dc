#pragma once

#include <array>
#include <functional>
#include <string>

#include "engine/projection.h"

namespace fondaris::engine {

// The values of a calculation request, as read from section "Anfrage".
struct Request {
  float contribution = 0;  // per payment; 0 asks for the contribution search
  float deathBenefit = 0;
  double topUp = 0;             // read, no effect
  float targetValue = 0;        // desired end value, read only when contribution is 0
  float targetRatePercent = 9;  // growth rate of the contribution search
  int type = 1;                 // 1 fixed-term, 2 standard
  int paymentsPerYear = 12;
  int entryAgePolicyholder = 0;
  int entryAgeInsured = 0;
  int birthYear = 0;
  int sex = 0;
  int contributionYears = 0;
  int investmentYears = 0;
  int targetAge = 0;
  std::array<double, kRates> growthRates{};  // fractions
  std::string country = "D";
  double singlePayment = 0;  // after the single payment rule
};

// Product values the rules need, taken from the parameter record.
struct ProductRules {
  int childAgeLimit = 0;           // K
  int childContributionLimit = 0;  // L, EUR
  int minDeathBenefitPercent = 0;  // P
  double fixedTermSinglePaymentLoad = kFixedTermSinglePaymentLoad;
  // Maximum death benefit by entry age and sex.
  std::function<double(int entryAge, int sex)> maxDeathBenefit;
};

struct RuleOutcome {
  std::string error;       // empty when every check passed
  float contribution = 0;  // per payment, given or found by the search
  float deathBenefit = 0;  // requested, or the minimum for type 2
};

// Runs the checks in their fixed order (the first failure wins) and, when an end value is
// asked for, the contribution search. `scratch` is used for the search's projections.
RuleOutcome checkRequest(const Request& request, const ProductRules& rules,
                         ProjectionResult& scratch);

// The contract a request describes, for a given monthly contribution.
DriverInput driverInputFor(const Request& request, const ProductRules& rules,
                           double monthlyContribution);

}  // namespace fondaris::engine
