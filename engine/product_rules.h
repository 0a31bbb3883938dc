#pragma once

// The product's fixed rules, named once: limits the forms hold their fields to and rates the
// product data do not carry. Values the product data carry are read from there.

namespace fondaris::engine {

// --- rates ---------------------------------------------------------------------------------

// The standard variant's load on single payments and top-ups; also the acquisition cost rate of
// a contribution period outside the rate table (acquisitionCostRate).
inline constexpr double kStandardFrontLoad = 0.055;

// Load on the fixed-term variant's single payments and top-ups where no product data give one
// (the batch calculation always uses it).
inline constexpr double kFixedTermSinglePaymentLoad = 0.0575;

// --- the first variant (VL): monthly contribution and the employer's subsidy, EUR ----------

inline constexpr double kVlMinContribution = 34;
inline constexpr double kVlMaxContribution = 74;
// The subsidy is part of the contribution, so it shares its ceiling.
inline constexpr double kVlMaxSubsidy = kVlMaxContribution;

// --- the second variant: contribution per payment and single investments, EUR --------------

inline constexpr double kMinContribution = 25;
inline constexpr double kMaxMonthlyContribution = 5000;
// Single-investment mode: the least the contribution field holds, and the least a single
// investment (at the start, later, or in that mode's list) may be.
inline constexpr double kMinSingleInvestmentContribution = 500;
inline constexpr double kMinSingleInvestment = 2500;

// --- contract start ------------------------------------------------------------------------

inline constexpr int kEarliestStartDays = 14;

// --- the rules on these limits -------------------------------------------------------------

// The first variant's monthly contribution held to its limits.
double heldVlContribution(double monthly);

// The employer's subsidy: none below 1 EUR, never more than the contribution or its ceiling.
double heldVlSubsidy(double subsidy, double contribution);

// The second variant's modes, as its mode list orders them.
enum class ContributionMode { Unchosen = -1, Monthly = 0, SingleInvestment = 1 };

// The second variant's contribution held to the limits of its mode; without a chosen mode only
// the general minimum holds.
double heldContribution(double value, ContributionMode mode);

// The acquisition costs a payment at the start can cover in the second variant: a flat
// kStandardFrontLoad of the discounted contribution sum. The projection itself charges
// acquisitionCostRate(years), which is higher for every period in its table.
double startPaymentCostBase(double contribution, int contributionYears, double agentDiscount);

}  // namespace fondaris::engine
