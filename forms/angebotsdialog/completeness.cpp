#include "forms/angebotsdialog/completeness.h"

#include <algorithm>

namespace fondaris::forms {

namespace {

struct PersonRule {
  bool (*missing)(const PersonEntries&);
  const char* before;  // the text is before + who + after
  const char* after;
  const char* PersonControls::*field;
};

constexpr PersonRule kPersonRules[] = {
    {[](const PersonEntries& p) { return p.surname.empty(); }, " Name des ", " fehlt",
     &PersonControls::surname},
    {[](const PersonEntries& p) { return p.firstName.empty(); }, " Vorname des ", " fehlt",
     &PersonControls::firstName},
    {[](const PersonEntries& p) {
       return p.street.empty() || p.postcode.empty() || p.place.empty();
     },
     " Adresse (Strasse, PLZ, Ort) des ", " ist unvollständig", &PersonControls::street},
    {[](const PersonEntries& p) { return p.birthdayMissing; }, " Geburtsdatum des ", " fehlt",
     &PersonControls::birthday},
    {[](const PersonEntries& p) { return p.birthPlace.empty(); }, " Geburtsort des ", " fehlt",
     &PersonControls::birthPlace},
    {[](const PersonEntries& p) { return p.birthCountry.empty(); }, " Geburtsland des ", " fehlt",
     &PersonControls::birthCountry},
    {[](const PersonEntries& p) { return p.birthName.empty(); },
     " Falls zutreffend, bitte Geburtsname des ", " angeben", &PersonControls::birthName},
    {[](const PersonEntries& p) { return p.status.empty(); }, " Familienstand des ", " fehlt",
     &PersonControls::status},
    {[](const PersonEntries& p) { return p.nation.empty(); }, " Staatsangehörigkeit des ", " fehlt",
     &PersonControls::nation},
    {[](const PersonEntries& p) { return p.idNumber.empty(); }, " Ausweisnummer des ", " fehlt",
     &PersonControls::idNumber},
    {[](const PersonEntries& p) { return p.authority.empty(); },
     " Ausstellende Behörde des Ausweises des ", " fehlt", &PersonControls::authority},
};

constexpr BankRule kReferenceAccount[] = {
    {BankGap::NoBankName, " Name der Referenzbank fehlt"},
    {BankGap::NoCode, " BLZ der Referenzbank fehlt"},
    {BankGap::NoAccount, " Kontonummer bei der Referenzbank fehlt"},
    {BankGap::AccountNotDigits,
     " Kontonummer bei der Referenzbank enthält andere Zeichen als Ziffern"},
    {BankGap::AccountFailsCheck,
     " Kontonummer bei der Referenzbank passt nicht zur Prüfziffer der BLZ"},
};

constexpr BankRule kCollectionAccount[] = {
    {BankGap::NoBankName, " Name der Bank fehlt (abw. Bankverbindung Einzug)"},
    {BankGap::NoCode, " BLZ der Bank fehlt (abw. Bankverbindung Einzug)"},
    {BankGap::NoAccount, " Kontonummer fehlt (abw. Bankverbindung Einzug)"},
    {BankGap::AccountNotDigits,
     " Kontonummer enthält andere Zeichen als Ziffern (abw. Bankverbindung Einzug)"},
    {BankGap::NoHolder, " Name des Kontoinhabers fehlt (abw. Bankverbindung Einzug)"},
    {BankGap::AccountFailsCheck,
     " Kontonummer passt nicht zur Prüfziffer der BLZ (abw. Bankverbindung Einzug)"},
};

// The payment accounts are checked only for what a typing error leaves.
constexpr BankRule kStartPaymentAccount[] = {
    {BankGap::AccountNotDigits,
     " Kontonummer enthält andere Zeichen als Ziffern (Bankverbindung Zuzahlung zu Beginn)"},
    {BankGap::AccountFailsCheck,
     " Kontonummer passt nicht zur Prüfziffer der BLZ (Bankverbindung Zuzahlung zu Beginn)"},
};

constexpr BankRule kSinglePaymentAccount[] = {
    {BankGap::AccountNotDigits,
     " Kontonummer enthält andere Zeichen als Ziffern (Bankverbindung Einmalzahlung)"},
};

bool has(const BankConnectionEntries& c, BankGap gap) {
  switch (gap) {
    case BankGap::NoBankName:
      return c.bankName.empty();
    case BankGap::NoCode:
      return c.code.empty();
    case BankGap::NoAccount:
      return c.account.empty();
    case BankGap::AccountNotDigits:
      return !onlyDigits(c.account);
    case BankGap::NoHolder:
      return c.holder.empty();
    case BankGap::AccountFailsCheck:
      return c.accountFailsCheck;
  }
  return false;
}

const char* controlOf(BankGap gap, const BankControls& fields) {
  switch (gap) {
    case BankGap::NoBankName:
      return fields.bankName;
    case BankGap::NoCode:
      return fields.code;
    case BankGap::NoHolder:
      return fields.holder;
    case BankGap::NoAccount:
    case BankGap::AccountNotDigits:
    case BankGap::AccountFailsCheck:
      return fields.account;
  }
  return "";
}

}  // namespace

constinit const std::span<const BankRule> kReferenceAccountRules{kReferenceAccount};
constinit const std::span<const BankRule> kCollectionAccountRules{kCollectionAccount};
constinit const std::span<const BankRule> kStartPaymentAccountRules{kStartPaymentAccount};
constinit const std::span<const BankRule> kSinglePaymentAccountRules{kSinglePaymentAccount};

void personFindings(const PersonEntries& p, const std::string& who, const PersonControls& fields,
                    std::vector<Finding>& out) {
  for (const PersonRule& rule : kPersonRules)
    if (rule.missing(p)) out.push_back({rule.before + who + rule.after, fields.*rule.field});
}

bool onlyDigits(const std::string& text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

void bankFindings(const BankConnectionEntries& c, std::span<const BankRule> rules,
                  const BankControls& fields, std::vector<Finding>& out) {
  for (const BankRule& rule : rules)
    if (has(c, rule.gap)) out.push_back({rule.text, controlOf(rule.gap, fields)});
}

}  // namespace fondaris::forms
