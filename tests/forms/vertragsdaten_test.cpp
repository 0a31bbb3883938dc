#include "forms_fixture.h"

namespace fondaris::forms::testing {
namespace {

using VertragsdatenTest = FormsTest;

TEST_F(VertragsdatenTest, StartDateFromTheEarliestStart) {
  struct Case {
    int year, month, day;
    const char* tag;
    const char* monat;
    const char* jahr;
    const char* secondYear;
    const char* start;
  } cases[] = {
      {2026, 3, 1, "15", "03", "2026", "2027", "15.03.2026"},
      {2026, 3, 5, "1", "04", "2026", "2027", "01.04.2026"},
      {2026, 12, 20, "15", "01", "2027", "2028", "15.01.2027"},
      {2026, 12, 18, "15", "01", "2027", "2028", "15.01.2027"},  // 1 January
      {2026, 12, 5, "1", "01", "2027", "2027", "01.01.2027"},    // 19 December: next year
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.start);
    nextCase();
    clock.set(*core::encodeDate(c.year, c.month, c.day));
    const TfrmVertagsdaten& v = *createApp().frmVertagsdaten;
    EXPECT_EQ(v.cbBeginnTag.text(), c.tag);
    EXPECT_EQ(v.cbBeginnMonat.text(), c.monat);
    EXPECT_EQ(v.cbBeginnJahr.text(), c.jahr);
    EXPECT_EQ(v.cbBeginnJahr.items().back(), c.secondYear);
    EXPECT_EQ(v.med_Vbeginn.text(), c.start);
    EXPECT_TRUE(dialogs.shown().empty());
  }
}

TEST_F(VertragsdatenTest, ChangingTheListsWritesTheStart) {
  TfrmVertagsdaten& v = *createApp().frmVertagsdaten;
  v.cbBeginnTag.userSelect(1);
  EXPECT_EQ(v.med_Vbeginn.text(), "15.01.2027");
  v.cbBeginnJahr.userSelect(1);
  v.cbBeginnMonat.userSelect(1);
  EXPECT_EQ(v.med_Vbeginn.text(), "15.02.2027");
  // The month-end strategy starts on the last day; February always has 28.
  v.rb_Fonds1.setChecked(true);
  v.cbBeginnMonat.userSelect(1);
  EXPECT_EQ(v.med_Vbeginn.text(), "28.02.2027");
  v.cbBeginnMonat.userSelect(3);
  EXPECT_EQ(v.med_Vbeginn.text(), "30.04.2027");
  EXPECT_TRUE(dialogs.shown().empty());
}

TEST_F(VertragsdatenTest, TooEarlyStartIsShownButKept) {
  clock.set(*core::encodeDate(2026, 12, 10));  // earliest start 24 December
  TfrmVertagsdaten& v = *createApp().frmVertagsdaten;
  v.cbBeginnJahr.userSelect(0);
  v.cbBeginnMonat.userSelect(11);
  v.cbBeginnTag.userSelect(1);
  EXPECT_EQ(v.med_Vbeginn.text(), "15.12.2026");
  EXPECT_EQ(dialogs.messages(),
            std::vector<std::string>(3, "Beginn: Der frühestmögliche Beginn ist in 14 Tagen!"));
}

TEST_F(VertragsdatenTest, StartFieldIsRewrittenWhenLeft) {
  TfrmVertagsdaten& v = *createApp().frmVertagsdaten;
  EXPECT_FALSE(v.med_Vbeginn.visible());
  v.med_Vbeginn.setText("1.2.27");
  v.med_VbeginnExit(&v.med_Vbeginn);
  EXPECT_EQ(v.med_Vbeginn.text(), "01.02.2027");
}

TEST_F(VertragsdatenTest, TitleFollowsTheProductVariant) {
  App& a = createApp();
  EXPECT_EQ(a.frmVertagsdaten->caption(), "Fondaris / Fondaris VL - Vertragsdaten");
  a.frmAngebotsdaten->rbProd.setChecked(true);
  a.frmVertagsdaten->show();
  EXPECT_EQ(a.frmVertagsdaten->caption(), "Fondaris VL - Vertragsdaten");
  a.frmVertagsdaten->hide();
  a.frmAngebotsdaten->rbProd1.setChecked(true);
  a.frmVertagsdaten->show();
  EXPECT_EQ(a.frmVertagsdaten->caption(), "Fondaris - Vertragsdaten");
}

TEST_F(VertragsdatenTest, StrategiesShowWhenActive) {
  const TfrmVertagsdaten& v = *createApp().frmVertagsdaten;
  EXPECT_TRUE(v.rb_Fonds1.visible());
  EXPECT_FALSE(v.rb_Fonds1.caption().empty());
}

TEST_F(VertragsdatenTest, UnreadableProductDataEndTheProgram) {
  std::filesystem::remove(path("Param.dat"));
  App& a = createApp();
  EXPECT_TRUE(a.quitRequested());
  ASSERT_FALSE(dialogs.messages().empty());
}

}  // namespace
}  // namespace fondaris::forms::testing
