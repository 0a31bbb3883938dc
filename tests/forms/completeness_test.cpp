// The completeness tables of the application form, without a form: a person's page and the
// four bank connections, each with what it asks for and in which order.
#include "forms/angebotsdialog/completeness.h"

#include <gtest/gtest.h>

namespace fondaris::forms {
namespace {

using Findings = std::vector<std::string>;

// Controls of a sample person's page.
constexpr PersonControls kPage{"Name",    "Vorname", "Strasse", "Geb",   "GebOrt",  "GebLand",
                               "GebName", "Stand",   "Nation",  "AusNr", "Behoerde"};

Findings texts(const std::vector<Finding>& findings) {
  Findings out;
  for (const Finding& f : findings) out.push_back(f.text);
  return out;
}

PersonEntries completePerson() {
  return {"Nowak", "Jan",   "Am Markt 1", "02826",   "Görlitz",   false,          "Zgorzelec",
          "Polen", "Nowak", "ledig",      "deutsch", "L01X00T47", "Stadt Görlitz"};
}

TEST(CompletenessRules, PersonPageWordedForWhoIsAsked) {
  std::vector<Finding> out;
  personFindings(completePerson(), "weiteren Depotinhabers", kPage, out);
  EXPECT_EQ(texts(out), Findings{});

  personFindings(PersonEntries{"", "", "", "", "", true, "", "", "", "", "", "", ""},
                 "2. gesetzlichen Vertreters", kPage, out);
  EXPECT_EQ(texts(out),
            (Findings{" Name des 2. gesetzlichen Vertreters fehlt",
                      " Vorname des 2. gesetzlichen Vertreters fehlt",
                      " Adresse (Strasse, PLZ, Ort) des 2. gesetzlichen Vertreters ist "
                      "unvollständig",
                      " Geburtsdatum des 2. gesetzlichen Vertreters fehlt",
                      " Geburtsort des 2. gesetzlichen Vertreters fehlt",
                      " Geburtsland des 2. gesetzlichen Vertreters fehlt",
                      " Falls zutreffend, bitte Geburtsname des 2. gesetzlichen Vertreters "
                      "angeben",
                      " Familienstand des 2. gesetzlichen Vertreters fehlt",
                      " Staatsangehörigkeit des 2. gesetzlichen Vertreters fehlt",
                      " Ausweisnummer des 2. gesetzlichen Vertreters fehlt",
                      " Ausstellende Behörde des Ausweises des 2. gesetzlichen Vertreters "
                      "fehlt"}));

  // Any one part of the address missing makes it incomplete, once.
  for (std::string PersonEntries::*part :
       {&PersonEntries::street, &PersonEntries::postcode, &PersonEntries::place}) {
    PersonEntries p = completePerson();
    p.*part = "";
    std::vector<Finding> one;
    personFindings(p, "x", kPage, one);
    EXPECT_EQ(texts(one), Findings{" Adresse (Strasse, PLZ, Ort) des x ist unvollständig"});
  }
}

TEST(CompletenessRules, AccountNumbersAreDigitsOnly) {
  EXPECT_TRUE(onlyDigits(""));
  EXPECT_TRUE(onlyDigits("0532013000"));
  for (const char* text : {"53201 3000", "12ab34", "-1", "1.000", "٣"})
    EXPECT_FALSE(onlyDigits(text)) << text;
}

TEST(CompletenessRules, EachBankConnectionAsksForItsOwn) {
  const BankConnectionEntries nothing{};
  const BankConnectionEntries typo{"Bundesbank", "10000000", "12ab34", "Jan Nowak", false};
  const BankConnectionEntries refused{"Bundesbank", "10000000", "532013001", "Jan Nowak", true};
  const BankConnectionEntries complete{"Bundesbank", "10000000", "532013000", "Jan Nowak", false};
  struct Case {
    const char* name;
    std::span<const BankRule> rules;
    const BankConnectionEntries& entries;
    Findings findings;
  } cases[] = {
      {"reference, empty",
       kReferenceAccountRules,
       nothing,
       {" Name der Referenzbank fehlt", " BLZ der Referenzbank fehlt",
        " Kontonummer bei der Referenzbank fehlt"}},
      {"reference, typing error",
       kReferenceAccountRules,
       typo,
       {" Kontonummer bei der Referenzbank enthält andere Zeichen als Ziffern"}},
      {"reference, refused",
       kReferenceAccountRules,
       refused,
       {" Kontonummer bei der Referenzbank passt nicht zur Prüfziffer der BLZ"}},
      {"reference, complete", kReferenceAccountRules, complete, {}},
      // Only the collection account names its holder.
      {"collection, empty",
       kCollectionAccountRules,
       nothing,
       {" Name der Bank fehlt (abw. Bankverbindung Einzug)",
        " BLZ der Bank fehlt (abw. Bankverbindung Einzug)",
        " Kontonummer fehlt (abw. Bankverbindung Einzug)",
        " Name des Kontoinhabers fehlt (abw. Bankverbindung Einzug)"}},
      {"collection, refused",
       kCollectionAccountRules,
       refused,
       {" Kontonummer passt nicht zur Prüfziffer der BLZ (abw. Bankverbindung Einzug)"}},
      // The payment accounts may stay empty; only what a typing error leaves is named.
      {"start payment, empty", kStartPaymentAccountRules, nothing, {}},
      {"start payment, typing error",
       kStartPaymentAccountRules,
       typo,
       {" Kontonummer enthält andere Zeichen als Ziffern (Bankverbindung Zuzahlung zu Beginn)"}},
      {"start payment, refused",
       kStartPaymentAccountRules,
       refused,
       {" Kontonummer passt nicht zur Prüfziffer der BLZ (Bankverbindung Zuzahlung zu Beginn)"}},
      {"single payment, empty", kSinglePaymentAccountRules, nothing, {}},
      {"single payment, typing error",
       kSinglePaymentAccountRules,
       typo,
       {" Kontonummer enthält andere Zeichen als Ziffern (Bankverbindung Einmalzahlung)"}},
      {"single payment, refused", kSinglePaymentAccountRules, refused, {}},
  };
  for (const Case& c : cases) {
    std::vector<Finding> out;
    bankFindings(c.entries, c.rules, {"KI", "BLZ", "Konto", "Inhaber"}, out);
    EXPECT_EQ(texts(out), c.findings) << c.name;
  }
}

}  // namespace
}  // namespace fondaris::forms
