#pragma once

// The completeness rules of the application form that read no control: a person's page and a
// bank connection, each a table of what may be missing and how it is worded.

#include <span>
#include <string>
#include <vector>

namespace fondaris::forms {

// One person's page as the check reads it.
struct PersonEntries {
  std::string surname, firstName, street, postcode, place;
  bool birthdayMissing = false;
  std::string birthPlace, birthCountry, birthName, status, nation, idNumber, authority;
};

// Appends what is missing of `p`, worded for `who` ("1. gesetzlichen Vertreters").
void personFindings(const PersonEntries& p, const std::string& who, std::vector<std::string>& out);

// True when `text` holds nothing but the digits 0-9 (also when it is empty).
bool onlyDigits(const std::string& text);

// One bank connection as the check reads it.
struct BankConnectionEntries {
  std::string bankName, code, account, holder;
  bool accountFailsCheck = false;  // the bank's check-digit method refuses the account
};

enum class BankGap { NoBankName, NoCode, NoAccount, AccountNotDigits, NoHolder, AccountFailsCheck };

struct BankRule {
  BankGap gap;
  const char* text;
};

// The rules of each connection, in the order their findings are listed.
extern const std::span<const BankRule> kReferenceAccountRules;
extern const std::span<const BankRule> kCollectionAccountRules;
extern const std::span<const BankRule> kStartPaymentAccountRules;
extern const std::span<const BankRule> kSinglePaymentAccountRules;

// Appends the text of each rule whose gap `c` has.
void bankFindings(const BankConnectionEntries& c, std::span<const BankRule> rules,
                  std::vector<std::string>& out);

}  // namespace fondaris::forms
