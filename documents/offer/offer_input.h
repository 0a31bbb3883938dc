#pragma once

#include <array>
#include <string>

namespace fondaris::documents {

// What the contract form hands to the offer document, besides the two projection results.
struct OfferDocumentInput {
  std::string templateName;    // imported as pages 1-3 and again for further pages
  std::string programVersion;  // in the offer line; empty leaves the version out
  bool firstVariant = false;   // the VL product: its rows and x positions
  bool noStatePremium = false;
  bool premiumFootnote = false;  // "Max. staatl. Prämie1)" instead of "Max. staatl. Prämie"
  int tableTop = 0;              // distance of the yearly table's rate header; <= 0 means 198
  std::array<std::string, 8> agentLines;  // replace "#VM1#" ... "#VM8#"
  bool salutationMale = true;             // "Herrn " else "Frau "
  std::string customerName;               // first name and surname
  double contributionA = 0;        // the contribution as entered; the single payment for 0 years
  double contributionB = 0;        // printed beside the contribution line when years > 0
  double initialExtraPayment = 0;  // "Zuzahlung zu Beginn"
  double singleInvestmentAtStart = 0;  // "Einmalanlage zu Beginn", paid in with the first year
  double employerShare = 0;            // of the monthly contribution, first variant only
  int contributionYears = 0;           // 0: single payment only
  int termYears = 0;
  int startMonth = 1;
  int startYear = 0;
  std::string grantedRebate;               // empty: no rebate row
  std::array<std::string, 4> growthRates;  // German decimal texts, "3" or "4,5"
};

}  // namespace fondaris::documents
