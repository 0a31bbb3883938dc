#include <gtest/gtest.h>

#include "documents/offer/offer_texts.h"

namespace fondaris::documents {
namespace {

TEST(OfferTexts, MonthNamesAndAmounts) {
  EXPECT_EQ(germanMonthName(1), "Januar");
  EXPECT_EQ(germanMonthName(3), "März");
  EXPECT_EQ(germanMonthName(12), "Dezember");
  EXPECT_EQ(germanMonthName(0), "");
  EXPECT_EQ(germanMonthName(13), "");
  EXPECT_EQ(euroAmount(1234.5), "1.234,50 EUR");
  EXPECT_EQ(euroAmount(0), "0,00 EUR");
  EXPECT_EQ(euroAmount(1234567.891), "1.234.567,89 EUR");
}

TEST(OfferTexts, OfferLineDropsAgentLinesBeyondNinetyCharacters) {
  const core::DateTime today = *core::encodeDate(2026, 3, 5);
  std::array<std::string, 8> agent{"Muster Finanz GmbH", "Erika Beispiel", "Hauptstr. 1",
                                   "12345 Musterstadt"};
  EXPECT_EQ(offerLine(today, "1.0", agent),
            "05.03.2026, SW-Version 1.0, Muster Finanz GmbH Erika Beispiel 12345 Musterstadt");
  EXPECT_EQ(offerLine(today, "", agent),
            "05.03.2026, Muster Finanz GmbH Erika Beispiel 12345 Musterstadt");

  // 101 characters with the contact person: it goes, the place stays.
  agent[1] = "Maximiliane Beispielhafte-Musterfrau";
  EXPECT_EQ(offerLine(today, "1.0", agent),
            "05.03.2026, SW-Version 1.0, Muster Finanz GmbH 12345 Musterstadt");
  // Still too long without the contact person: only the company.
  agent[3] = "12345 Musterstadt an der langen Beispielchaussee im Landkreis Musterland";
  EXPECT_EQ(offerLine(today, "1.0", agent), "05.03.2026, SW-Version 1.0, Muster Finanz GmbH");
  // Umlauts count as one character each.
  agent = {"Müller & Söhne", "Jürgen Größer", "", "Öhringen"};
  EXPECT_EQ(offerLine(today, "1.0", agent),
            "05.03.2026, SW-Version 1.0, Müller & Söhne Jürgen Größer Öhringen");
}

TEST(OfferTexts, Annuities) {
  EXPECT_DOUBLE_EQ(rateFraction("6"), 0.06);
  EXPECT_DOUBLE_EQ(rateFraction("4,5"), 0.045);
  EXPECT_DOUBLE_EQ(rateFraction("x"), 0);
  // 100,000 at 6 %: monthly interest rate 1.06^(1/12) - 1 = 0.4868 %.
  EXPECT_NEAR(annuityWithoutConsumption(100000, 0.06), 486.755, 0.001);
  // Paid off over 20 years at 6 % a year.
  EXPECT_NEAR(annuityWithConsumption(100000, 0.06, 20), 707.292, 0.001);
  // Without growth the capital is simply spread over the months.
  EXPECT_DOUBLE_EQ(annuityWithConsumption(24000, 0, 20), 100);
}

}  // namespace
}  // namespace fondaris::documents
