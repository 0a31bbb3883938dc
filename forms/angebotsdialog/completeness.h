#pragma once

// The completeness rules of the application form that read no control: a person's page and a
// bank connection, each a table of what may be missing and how it is worded.

#include <span>
#include <string>
#include <vector>

#include "forms/form_links.h"

namespace fondaris::forms {

// One person's page as the check reads it.
struct PersonEntries {
  std::string surname, firstName, street, postcode, place;
  bool birthdayMissing = false;
  std::string birthPlace, birthCountry, birthName, status, nation, idNumber, authority;
};

// The controls of one person's page a finding leads to, in the order of PersonEntries (the
// address leads to the street).
struct PersonControls {
  const char *surname, *firstName, *street, *birthday, *birthPlace, *birthCountry, *birthName,
      *status, *nation, *idNumber, *authority;
};

// Appends what is missing of `p`, worded for `who` ("1. gesetzlichen Vertreters"), each with its
// control of `fields`.
void personFindings(const PersonEntries& p, const std::string& who, const PersonControls& fields,
                    std::vector<Finding>& out);

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

// The controls of one bank connection a finding leads to; a gap about the account number,
// whatever it is, leads to the account.
struct BankControls {
  const char *bankName, *code, *account, *holder;
};

// Appends the text of each rule whose gap `c` has, with its control of `fields`.
void bankFindings(const BankConnectionEntries& c, std::span<const BankRule> rules,
                  const BankControls& fields, std::vector<Finding>& out);

}  // namespace fondaris::forms
