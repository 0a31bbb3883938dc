#pragma once

#include <array>
#include <cmath>

#include "engine/product_rules.h"

namespace fondaris::engine {

inline constexpr int kYears = 110;  // rows of the result tables: years 1..110
inline constexpr int kRates = 5;    // rate columns; the projection fills columns 0..3
inline constexpr int kProjectedRates = 4;
inline constexpr int kScheduleEntries = 10;

// Cent rounding used by the engine and by every reader of results.
inline double round2(double x) {
  return std::floor(x * 100.0 + 0.5) * 0.01;
}

using YearTable = std::array<std::array<double, kRates>, kYears>;

// Everything one projection produces. Owned by the caller; value-initialise before first use.
// Row index 0 is year 1.
struct ProjectionResult {
  std::array<double, kYears> yearlyContribution{};
  YearTable fundValue{};
  double allowanceTotal = 0;
  YearTable allowance{};
  std::array<double, kRates> bonusTotal{};
  YearTable bonus{};
  YearTable annuity{};    // no calculation fills it
  YearTable surrender{};  // no calculation fills it
  YearTable withdrawal{};
  YearTable topUp{};

  // Accessors with the guards every reader relies on (i is the 0-based year index).
  double fundValueRounded(int i, int r) const;  // round2, 0 when not positive or out of range
  double contributionOfYear(int i) const;       // 0 when negative or out of range
  double bonusTotalRounded(int r) const;
  double allowanceSum() const { return allowanceTotal; }
  double withdrawalAt(int i, int r) const;
  double withdrawalSum(int r) const;
  double topUpAt(int i, int r) const;
  double topUpSum(int r) const;
};

// Up to ten (year, amount) entries; year 0 or amount 0 means unused.
struct Schedule {
  std::array<int, kScheduleEntries> years{};
  std::array<double, kScheduleEntries> amounts{};
};

// The contract values both variants share.
struct ContractInput {
  int contributionYears = 0;       // B
  int investmentYears = 0;         // N (raised to B when shorter)
  double monthlyContribution = 0;  // c
  double yearlyIncrease = 0;       // d, fraction (0 = none)
  Schedule withdrawals;            // standard variant
  Schedule topUps;
  double contributionDiscount = 0;  // d1, fraction
  double costDiscount = 0;          // d2, fraction
  double singlePayment = 0;         // E, initial single payment
};

struct StandardOptions {
  double bonusRate = 0.01;
  double costConstant = 0.9;  // carried, does not enter the calculation
};

struct FixedTermOptions {
  double costShare = 0.8;
  double bonusRate = 0.01;
  double allowanceCap = 400;
  double allowanceRate = 0.2;
  double singlePaymentLoad = kFixedTermSinglePaymentLoad;
  std::array<double, 3> plannedWithdrawals{};  // end of years 7, 13, 19
};

// Whether a run projected the contract: the fixed-term variant takes only its own periods.
enum class RunStatus { Projected, UnsupportedPeriod };

struct RunOutcome {
  RunStatus status = RunStatus::Projected;
  double acquisitionCosts = 0;
  double fundValueAtEnd = 0;  // fund value of row N
  double bonusSum = 0;
  double allowanceSum = 0;  // fixed-term only

  bool projected() const { return status == RunStatus::Projected; }
};

// Fraction of the contribution sum taken as acquisition costs for a period of n whole years;
// n = -1 gives kStandardFrontLoad.
double acquisitionCostRate(int n);

// One rate column (0 <= rate < kRates; anything else stops the program) with growth rate g
// (fraction per year).
[[nodiscard]] RunOutcome projectStandard(ProjectionResult& result, const ContractInput& in,
                                         const StandardOptions& options, double growthRate,
                                         int rate);
[[nodiscard]] RunOutcome projectFixedTerm(ProjectionResult& result, const ContractInput& in,
                                          const FixedTermOptions& options, double growthRate,
                                          int rate);

struct DriverInput {
  ContractInput contract;
  std::array<double, kRates> growthRates{};  // fractions; the first four are projected
  double fixedTermSinglePaymentLoad = kFixedTermSinglePaymentLoad;
  bool fixedTerm = false;
  // Carried for the record, not used by the core.
  int paymentsPerYear = 12;
  int entryAgePolicyholder = 0;
  int entryAgeInsured = 0;
  int birthYear = 0;
  int sex = 0;
  double deathBenefit = 0;
};

struct DriverOutcome {
  double totalContributions = 0;  // sum of the 110 yearly contributions
  double acquisitionCosts = 0;    // of the last run (rate 3)
};

// Runs the chosen variant for the four rates.
DriverOutcome project(ProjectionResult& result, const DriverInput& in);

}  // namespace fondaris::engine
