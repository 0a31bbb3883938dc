#include <ctime>

#include "tests/support/forms_fixture.h"
#include "tests/support/template_fixture.h"

namespace fondaris::forms::testing {
namespace {

using VertragsdatenTest = FormsTest;

// The program's files are found through its folders, never through the process's current
// folder: names given relative to where the agent started stay valid.
TEST_F(VertragsdatenTest, CreatingTheFormsLeavesTheProcessFolder) {
  const std::filesystem::path started = std::filesystem::temp_directory_path();
  std::filesystem::current_path(started);
  createApp();
  EXPECT_EQ(std::filesystem::current_path(), started);
}

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
  // The month-end strategy starts on the last day of the month.
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

namespace fondaris::forms::testing {
namespace {

// An agent and a customer entered; "&Weiter" hands over to the contract form.
class ContractTest : public FormsTest {
 protected:
  TfrmVertagsdaten& prepared(bool vl) {
    writeLines("Vermitd.dat", agentFile());
    createApp();
    TfrmAngebotsdaten& customer = *app->frmAngebotsdaten;
    customer.rbProd.setChecked(vl);
    customer.rbProd1.setChecked(!vl);
    customer.edVN_Vorname.setText("Max");
    customer.edVN_Nachname.setText("Muster");
    customer.show();
    customer.sb_Angebotsbrechnung.userClick();
    TfrmVertagsdaten& v = *app->frmVertagsdaten;
    EXPECT_TRUE(v.visible());
    EXPECT_TRUE(dialogs.shown().empty()) << dialogs.messages().size();
    return v;
  }
  // Types a new text into a field and leaves it.
  void enter(Control& field, const std::string& text) {
    field.form().focus(&field);
    field.userSetText(text);
    field.form().focus(nullptr);
  }
};

TEST_F(ContractTest, PreparationLaysOutTheVlVariant) {
  TfrmVertagsdaten& v = prepared(true);
  EXPECT_EQ(v.caption(), "Fondaris VL - Vertragsdaten");
  EXPECT_EQ(v.cb_BZD1.text(), "VL4");
  EXPECT_EQ(v.cb_Anlagedauer.text(), "25");
  EXPECT_EQ(v.cb_BZD3.text(), "24");
  EXPECT_EQ(v.lb_BZD.caption(), "Anlagevariante");
  EXPECT_TRUE(v.cb_Beitrag_1.visible());
  EXPECT_FALSE(v.cb_Beitrag_2.visible());
  EXPECT_EQ(v.cb_Beitrag_1.text(), "74,00");
  EXPECT_TRUE(v.cb_Zuschuss.visible());
  EXPECT_TRUE(v.cbOhneStaat.visible());
  EXPECT_FALSE(v.cbBeginnTag.visible());
  EXPECT_FALSE(v.cb_Vorgabe.enabled());
  EXPECT_FALSE(v.medEinmalzahlungZB.visible());
  EXPECT_EQ(v.rb_Fonds1.caption(), "Chance");
  EXPECT_FALSE(v.lbPortfolio.visible());
  // Strategy defaults without a clicked button: 6, 8, 10, 12 %.
  EXPECT_EQ(v.cb_WE1.text(), "6,0");
  EXPECT_EQ(v.cb_WE4.text(), "12,0");
  EXPECT_EQ(v.cb_WE1.itemCount(), 22);
  // Withdrawals at the end of years 7, 13 and 19 with the fourth plan.
  EXPECT_TRUE(v.tsAuszahlungen.visible());
  EXPECT_TRUE(v.cb_Auszahlung3.visible());
  EXPECT_FALSE(v.cb_Auszahlung4.visible());
  EXPECT_EQ(v.cb_Auszahlung2.text(), "Ende 13. Jahres");
  EXPECT_FALSE(v.med_FW1.text().empty());
  EXPECT_FALSE(v.cb_Beitrag_2.items().empty());
  EXPECT_EQ(v.cb_Beitrag_2.items().front(), "50,00");
}

TEST_F(ContractTest, PreparationLaysOutTheSecondVariant) {
  TfrmVertagsdaten& v = prepared(false);
  EXPECT_EQ(v.caption(), "Fondaris - Vertragsdaten");
  EXPECT_EQ(v.cb_BZD2.text(), "30");
  EXPECT_EQ(v.cb_BZD3.text(), "30");
  EXPECT_EQ(v.lb_BZD.caption(), "Anlagedauer");
  EXPECT_TRUE(v.cb_Beitrag_2.visible());
  EXPECT_FALSE(v.cb_Beitrag_1.visible());
  EXPECT_FALSE(v.cb_Zuschuss.visible());
  EXPECT_TRUE(v.cbBeginnTag.visible());
  EXPECT_FALSE(v.cbOhneStaat.visible());
  EXPECT_TRUE(v.cb_Vorgabe.enabled());
  EXPECT_TRUE(v.cb_BZD3.visible());
  EXPECT_EQ(v.rb_Fonds1.caption(), "Chance (Portfolio 80/20)");
  EXPECT_TRUE(v.tsAuszahlungen.visible());
  EXPECT_EQ(v.cb_Auszahlung1.itemCount(), 29);  // "Ende 1 Jahres" ... "Ende 29 Jahres"
  EXPECT_TRUE(v.cb_Auszahlung10.visible());
  v.cb_Dynamik.userSelect(0);
  EXPECT_EQ(v.medAnlage.text(), "36.000,00");  // 100 a month for 30 years
}

// The result fields equal direct runs of the projection with the form's values.
TEST_F(ContractTest, IllustrationEqualsDirectProjection) {
  for (bool vl : {true, false}) {
    SCOPED_TRACE(vl ? "VL" : "second");
    nextCase();
    TfrmVertagsdaten& v = prepared(vl);
    engine::ContractInput in;
    in.monthlyContribution = vl ? 74 : 100;
    in.contributionYears = vl ? 25 : 30;
    in.investmentYears = vl ? 25 : 30;
    in.yearlyIncrease = !vl && v.cb_Dynamik.visible() ? 0.05 : 0;
    const double rates[] = {0.06, 0.08, 0.10, 0.12};
    Edit* fw[] = {&v.med_FW1, &v.med_FW2, &v.med_FW3, &v.med_FW4};
    Edit* pt[] = {&v.med_PT1, &v.med_PT2, &v.med_PT3, &v.med_PT4};
    for (int k = 0; k < 4; ++k) {
      engine::ProjectionResult r{};
      engine::FixedTermOptions fixed;
      fixed.singlePaymentLoad = v.product().singlePaymentCostRate;
      const engine::RunOutcome o =
          vl ? engine::projectFixedTerm(r, in, fixed, rates[k], k)
             : engine::projectStandard(r, in, engine::StandardOptions{}, rates[k], k);
      ASSERT_EQ(o.status, engine::RunStatus::Projected);
      EXPECT_EQ(fw[k]->text(), core::formatAmount(engine::round2(o.fundValueAtEnd))) << k;
      EXPECT_EQ(pt[k]->text(), core::formatAmount(engine::round2(o.bonusSum))) << k;
    }
    EXPECT_FALSE(v.med_FWM1.visible());  // no payment at the start, no extra yield
  }
}

TEST_F(ContractTest, FieldsAreClamped) {
  struct Case {
    bool vl;
    const char* field;
    const char* input;
    const char* expected;
  } cases[] = {
      {true, "cb_Beitrag_1", "80", "74,00"},
      {true, "cb_Beitrag_1", "20", "34,00"},
      {true, "cb_Beitrag_1", "abc", "34,00"},
      {true, "cb_Zuschuss", "0,5", "0,00"},
      {false, "cb_Beitrag_2", "6000", "5.000,00"},
      {false, "cb_Beitrag_2", "12", "25,00"},
      {false, "cbTauschbetrag", "20", "50,00"},
      {false, "cb_Ablaufleistung", "-1", "50.000"},
      {false, "cb_Ablaufleistung", "12345678", "50.000"},
      {false, "cb_Beitrag1", "150", "150,00"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.field) + " " + c.input);
    nextCase();
    TfrmVertagsdaten& v = prepared(c.vl);
    enter(*v.find(c.field), c.input);
    EXPECT_EQ(v.find(c.field)->text(), c.expected);
    EXPECT_TRUE(dialogs.shown().empty());
  }
  // The subsidy never exceeds the contribution.
  nextCase();
  TfrmVertagsdaten& v = prepared(true);
  enter(v.cb_Beitrag_1, "40");
  enter(v.cb_Zuschuss, "60");
  EXPECT_EQ(v.cb_Zuschuss.text(), "40,00");
  // In the single investment mode a large amount stays.
  v.cb_Vorgabe.setItemIndex(1);
}

TEST_F(ContractTest, SingleInvestmentModeKeepsLargeAmounts) {
  TfrmVertagsdaten& v = prepared(false);
  v.cb_Vorgabe.userSelect(1);
  EXPECT_EQ(v.cb_Beitrag_2.text(), "2.500,00");
  EXPECT_FALSE(v.cb_BZD3.visible());
  EXPECT_FALSE(v.cb_Einmal.visible());
  EXPECT_TRUE(v.cbArtEinmalanlage.visible());
  enter(v.cb_Beitrag_2, "6000");
  EXPECT_EQ(v.cb_Beitrag_2.text(), "6.000,00");
  EXPECT_EQ(v.medAnlage.text(), "6.000,00");
  // The figures are those with the single payment; no "with" columns.
  EXPECT_EQ(v.med_FW2.text(), v.med_FWM2.text());
  EXPECT_FALSE(v.med_FWM2.visible());
  enter(v.cb_Beitrag_2, "300");
  EXPECT_EQ(v.cb_Beitrag_2.text(), "500,00");
}

// Each question with its Yes and its No.
TEST_F(ContractTest, QuestionsTakeTheAnswer) {
  struct Case {
    const char* field;
    const char* input;
    bool yes;
    const char* caption;
    const char* expected;
    int mode;  // cb_Vorgabe afterwards
  } cases[] = {
      {"cb_Beitrag_2", "0", true, "Einmalanlage", "2.500,00", 1},
      {"cb_Beitrag_2", "0", false, "Einmalanlage", "25,00", 0},
      {"medEinmalzahlungZB", "1000", true, "Einmalanlage zu Beginn", "2.500,00", 0},
      {"medEinmalzahlungZB", "1000", false, "Einmalanlage zu Beginn", "0,00", 0},
      {"cb_EinmalBeitrag1", "1000", true, "Einmalanlagen", "2.500,00", 0},
      {"cb_EinmalBeitrag1", "1000", false, "Einmalanlagen", "0,00", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.field) + (c.yes ? " yes" : " no"));
    nextCase();
    TfrmVertagsdaten& v = prepared(false);
    c.yes ? dialogs.answerYes() : dialogs.answerNo();
    enter(*v.find(c.field), c.input);
    ASSERT_FALSE(dialogs.shown().empty());
    EXPECT_EQ(dialogs.shown()[0].kind, "question");
    EXPECT_EQ(dialogs.shown()[0].caption, c.caption);
    EXPECT_EQ(v.find(c.field)->text(), c.expected);
    EXPECT_EQ(v.cb_Vorgabe.itemIndex(), c.mode);
    EXPECT_TRUE(dialogs.unexpected().empty());
  }

  // Back from the single investment: Yes offers a savings plan, No keeps the minimum.
  for (bool yes : {true, false}) {
    nextCase();
    TfrmVertagsdaten& v = prepared(false);
    v.cb_Vorgabe.userSelect(1);
    yes ? dialogs.answerYes() : dialogs.answerNo();
    enter(v.cb_Beitrag_2, "0");
    EXPECT_EQ(dialogs.shown().back().caption, "Sparplan");
    EXPECT_EQ(v.cb_Beitrag_2.text(), yes ? "50,00" : "500,00");
    EXPECT_EQ(v.cb_Vorgabe.itemIndex(), yes ? 0 : 1);
  }

  // Contribution years longer than the investment period.
  for (bool yes : {true, false}) {
    nextCase();
    TfrmVertagsdaten& v = prepared(false);
    yes ? dialogs.answerYes() : dialogs.answerNo();
    v.cb_BZD3.userSelect(v.cb_BZD3.indexOf("40"));
    EXPECT_EQ(dialogs.shown().back().caption, "Beitragszahlungsdauer");
    EXPECT_EQ(v.cb_BZD2.text(), yes ? "40" : "30");
    EXPECT_EQ(v.cb_BZD3.text(), yes ? "40" : "30");
  }
}

TEST_F(ContractTest, PeriodsFollowThePlan) {
  TfrmVertagsdaten& v = prepared(true);
  v.cb_BZD1.userSelect(1);  // VL2
  EXPECT_EQ(v.cb_BZD3.text(), "12");
  EXPECT_EQ(v.cb_Anlagedauer.text(), "13");
  v.cb_Anlagedauer.userSelect(v.cb_Anlagedauer.indexOf("8"));
  EXPECT_EQ(dialogs.messages(),
            std::vector<std::string>{
                "VL Anlagestrategie: Die Anlagedauer passt nicht zur Anlagestrategie!"});
  EXPECT_EQ(v.cb_Anlagedauer.text(), "13");
  // A chosen longer investment survives a new growth rate or contribution.
  v.cb_Anlagedauer.userSelect(v.cb_Anlagedauer.indexOf("30"));
  v.cb_WE2.userSelect(3);
  enter(v.cb_Beitrag_1, "50");
  EXPECT_EQ(v.cb_Anlagedauer.text(), "30");
}

TEST_F(ContractTest, PaymentAtTheStart) {
  TfrmVertagsdaten& v = prepared(false);
  ASSERT_TRUE(v.cb_EinmalProz.visible());
  // By percent: 0,5 % becomes 1 %; the amount follows from the acquisition costs.
  v.cbAbsolut.userClick();
  EXPECT_FALSE(v.cbAbsolut.checked());
  EXPECT_TRUE(v.cb_EinmalProz.enabled());
  EXPECT_FALSE(v.cb_Einmal.enabled());
  enter(v.cb_EinmalProz, "0,5");
  EXPECT_EQ(v.cb_EinmalProz.text(), "1,00");
  const double costs = 0.055 * 12 * 30 * 100;  // no discount
  EXPECT_EQ(v.cb_Einmal.text(), core::formatAmount(0.01 * costs));
  // By amount: above the costs it is cut to them, 100 %.
  v.cbAbsolut.userClick();
  enter(v.cb_Einmal, "5000");
  EXPECT_EQ(v.cb_Einmal.text(), core::formatAmount(costs));
  EXPECT_EQ(v.cb_EinmalProz.text(), "100,00");
  EXPECT_TRUE(v.med_FWM1.visible());
  EXPECT_TRUE(v.lbME.visible());
  enter(v.cb_Einmal, "990");
  EXPECT_EQ(v.cb_EinmalProz.text(), "50,00");

  // With an agent discount of 20 %, 33 % gives 26 rounded: 32,50 and a reduction of 46 %.
  TfrmVermittler& agent = *app->frmVermittler;
  agent.cb_RabatZSp.setVisible(true);
  agent.cb_RabatZSp.setItemIndex(agent.cb_RabatZSp.indexOf("20"));
  v.cbAbsolut.userClick();
  enter(v.cb_EinmalProz, "33");
  EXPECT_EQ(v.cb_EinmalProz.text(), "32,50");
  EXPECT_EQ(v.cbReduktion.text(), "46 %");
  EXPECT_TRUE(v.cbReduktion.visible());
}

// The offer never waives more of the acquisition costs than is paid: whenever the percentage is
// corrected, the amount follows it.
TEST_F(ContractTest, PaymentAtTheStartFollowsACorrectedPercentage) {
  struct Case {
    bool byAmount;  // cbAbsolut ticked: the amount is typed
    const char* input;
    const char* percent;
    const char* amount;
  } cases[] = {
      {true, "10", "1,00", "19,80"},  // 0,51 % of the costs: 1 % is waived, and so paid
      {true, "990", "50,00", "990,00"},     {true, "5000", "100,00", "1.980,00"},
      {false, "0,5", "1,00", "19,80"},      {false, "-5", "0,00", "0,00"},
      {false, "150", "100,00", "1.980,00"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.byAmount ? "amount " : "percent ") + c.input);
    nextCase();
    TfrmVertagsdaten& v = prepared(false);  // acquisition costs 0,055 × 12 × 30 × 100 = 1.980
    ASSERT_TRUE(v.cbAbsolut.checked());
    if (!c.byAmount) v.cbAbsolut.userClick();
    enter(c.byAmount ? static_cast<Control&>(v.cb_Einmal) : v.cb_EinmalProz, c.input);
    EXPECT_EQ(v.cb_EinmalProz.text(), c.percent);
    EXPECT_EQ(v.cb_Einmal.text(), c.amount);
  }
}

TEST_F(ContractTest, SwapPlanDates) {
  TfrmVertagsdaten& v = prepared(false);
  v.med_Vbeginn.setText("01.03.2027");
  struct Case {
    MaskEdit* field;
    const char* input;
    const char* expected;
  } cases[] = {
      {&v.med_BeginnTausch, "05.01.2027", "10.04.2027"},
      {&v.med_BeginnTausch, "05.06.____", "10.06.2027"},
      {&v.med_BeginnTausch, "__.__.____", "__.__.____"},
      {&v.med_BeginnTausch, "31.02.2027", "31.02.2027"},
      {&v.med_EndeTausch, "05.01.2027", "10.06.2028"},
      {&v.med_EndeTausch, "20.09.2027", "10.09.2027"},
  };
  v.med_BeginnTausch.setText("10.06.2027");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.input);
    if (c.field == &v.med_EndeTausch) v.med_BeginnTausch.setText("10.06.2027");
    c.field->setText(c.input);
    c.field->onExit(c.field);
    EXPECT_EQ(c.field->text(), c.expected);
  }
  EXPECT_TRUE(dialogs.shown().empty());
}

TEST_F(ContractTest, PreCalculationCodes) {
  struct Case {
    const char* name;
    std::function<void(App&)> change;
    int code;
    const char* message;
  } cases[] = {
      {"ok", [](App&) {}, 0, nullptr},
      {"country", [](App& a) { a.frmAngebotsdaten->cbVP_Land.setItemIndex(1); }, 1,
       "Daten: Angebot nicht möglich da Wohnsitz nicht zulässig!"},
      {"strategy",
       [](App& a) {
         for (Control* c : a.frmVertagsdaten->controls())
           if (c->kind() == ControlKind::RadioButton) c->setChecked(false);
       },
       -9, "Daten: Bitte die gewünschte Strategie auswählen!"},
      {"date", [](App& a) { a.frmAngebotsdaten->medVP_Geburtstag.setText("31.02.1980"); }, -1,
       nullptr},
      {"early", [](App& a) { a.frmVertagsdaten->med_Vbeginn.setText("01.11.2026"); }, 10,
       "Daten: Der Beginn kann frühenstens in 14 Tagen erfolgen!"},
      {"subsidy",
       [](App& a) {
         a.frmVertagsdaten->cb_Beitrag_1.setText("40,00");
         a.frmVertagsdaten->cb_Zuschuss.setText("50,00");
       },
       109, "Daten: Der Zuschuss der Arbeitgebers passt nicht zum Sparbeitrag!"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    nextCase();
    TfrmVertagsdaten& v = prepared(true);
    v.rb_Fonds2.setChecked(true);
    c.change(*app);
    const PreCheck check = v.preCalculationCheck();
    EXPECT_EQ(check.code, c.code);
    if (c.message)
      EXPECT_EQ(dialogs.messages(), std::vector<std::string>{c.message});
    else
      EXPECT_TRUE(dialogs.shown().empty());
    if (c.code == 0) {
      EXPECT_EQ(check.contribution, 74);
    }
  }
}

// The policyholder keeps his completed years; the insured person counts calendar years.
TEST_F(ContractTest, PreCalculationAges) {
  clock.set(*core::encodeDate(2027, 2, 10));
  TfrmVertagsdaten& v = prepared(false);
  TfrmAngebotsdaten& customer = *app->frmAngebotsdaten;
  v.cbBeginnMonat.userSelect(2);
  v.cbBeginnTag.userSelect(0);
  ASSERT_EQ(v.med_Vbeginn.text(), "01.03.2027");
  customer.medVN_Geburtstag.setText("15.12.2009");
  customer.medVP_Geburtstag.setText("15.12.2009");
  v.rb_Fonds2.setChecked(true);
  EXPECT_EQ(v.preCalculationCheck().code, 0);
  EXPECT_EQ(customer.cbVN_Alter.text(), "17");
  EXPECT_EQ(customer.cbVP_Alter.text(), "18");
}

TEST_F(ContractTest, LeapYearMonthEndStart) {
  clock.set(*core::encodeDate(2027, 12, 1));
  TfrmVertagsdaten& v = prepared(true);
  v.rb_Fonds1.userClick();
  v.cbBeginnJahr.userSelect(1);  // 2028
  v.cbBeginnMonat.userSelect(1);
  EXPECT_EQ(v.med_Vbeginn.text(), "29.02.2028");
  EXPECT_EQ(v.preCalculationCheck().code, 0);
}

TEST_F(ContractTest, TimeListsKeepTheirSelection) {
  TfrmVertagsdaten& v = prepared(false);
  ASSERT_TRUE(v.tsEinzahlungen.visible());
  // 30 years: s = 5, the lists select 0, 4, 8, 12, 16.
  EXPECT_EQ(v.cb_Einzahlung2.itemIndex(), 4);
  EXPECT_EQ(v.cb_Einzahlung5.itemIndex(), 16);
  EXPECT_EQ(v.cb_Auszahlung1.itemIndex(), -1);
  v.cb_Einzahlung2.userSelect(7);
  v.cb_Auszahlung1.userSelect(3);
  enter(v.cb_Beitrag_2, "150");
  EXPECT_EQ(v.cb_Einzahlung2.itemIndex(), 7);
  EXPECT_EQ(v.cb_Auszahlung1.itemIndex(), 3);
  EXPECT_EQ(v.cb_Auszahlung1.text(), "Ende 4 Jahres");

  // A short period: every list selects its first item, none beyond its end.
  v.cb_BZD2.userSelect(v.cb_BZD2.indexOf("6"));
  EXPECT_EQ(v.cb_BZD3.text(), "6");
  for (ComboBox* list :
       {&v.cb_Einzahlung1, &v.cb_Einzahlung2, &v.cb_Einzahlung3, &v.cb_Einzahlung4})
    EXPECT_EQ(list->itemIndex(), 0) << list->name();
  EXPECT_FALSE(v.cb_Einzahlung5.visible());
  EXPECT_EQ(v.cb_Auszahlung1.itemIndex(), 3);
  v.cb_BZD2.userSelect(v.cb_BZD2.indexOf("5"));
  EXPECT_EQ(v.cb_Einzahlung4.itemIndex(), -1);  // nothing from year 5 on: not collected
  EXPECT_EQ(v.cb_Auszahlung1.itemIndex(), 3);
}

TEST_F(ContractTest, OfferIsWrittenAndOpened) {
  for (bool vl : {true, false}) {
    SCOPED_TRACE(vl ? "VL" : "second");
    nextCase();
    for (const char* name : {"Angebot_VL_2.pdf", "Angebot_ZS_2.pdf"})
      std::filesystem::copy_file(std::string(FONDARIS_BUILD_DIR) + "/" + name, path(name));
    ::setenv("TMP", dir.c_str(), 1);
    TfrmVertagsdaten& v = prepared(vl);
    v.rb_Fonds2.userClick();
    v.sb_Angebotsbrechnung.userClick();
    ::unsetenv("TMP");
    EXPECT_TRUE(dialogs.shown().empty()) << dialogs.messages().front();
    ASSERT_EQ(shell.opened.size(), 1u);
    EXPECT_EQ(shell.opened[0], path("KDX2009.pdf"));
    EXPECT_TRUE(std::filesystem::file_size(shell.opened[0]) > 1000);
  }
}

// A template that lacks a placeholder gives no offer: the fatal box names both, nothing is
// opened and the last offer stays.
TEST_F(ContractTest, TemplateWithoutPlaceholderWritesNoOffer) {
  ASSERT_TRUE(test_support::writeTemplateWithout({"#VM3#"}, path("Angebot_VL_2.pdf")));
  const std::string lastOffer = "%PDF-1.4 das letzte Angebot";
  ASSERT_TRUE(core::writeFileAtomically(path("KDX2009.pdf"), lastOffer));
  // Today's offer is not outdated: the clean-up at the start must leave it.
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  ::localtime_r(&now, &local);
  clock.set(*core::encodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday));
  ::setenv("TMP", dir.c_str(), 1);
  TfrmVertagsdaten& v = prepared(true);
  v.rb_Fonds2.userClick();
  v.sb_Angebotsbrechnung.userClick();
  ::unsetenv("TMP");
  EXPECT_EQ(dialogs.messages(),
            std::vector<std::string>{
                "Fehler bei Erstellung PDF: Fatal error: Das Angebot wurde nicht erstellt, der "
                "Platzhalter '#VM3#' der Vorlage 'Angebot_VL_2.pdf' konnte nicht ersetzt werden."});
  EXPECT_TRUE(shell.opened.empty());
  EXPECT_TRUE(v.lastOfferPath.empty());
  EXPECT_EQ(core::readFileBytes(path("KDX2009.pdf")), lastOffer);
}

// The single investment at the start goes to the document as well as into the figures; the
// single investment mode has none beside its amount.
TEST_F(ContractTest, OfferNamesTheSingleInvestmentAtTheStart) {
  TfrmVertagsdaten& v = prepared(false);
  ASSERT_TRUE(v.medEinmalzahlungZB.visible());
  enter(v.medEinmalzahlungZB, "10000");
  OfferRun run = v.gatherOfferRun(100);
  EXPECT_EQ(run.driver.contract.singlePayment, 10000);
  EXPECT_EQ(run.comparison.contract.singlePayment, 0);
  EXPECT_EQ(run.document.singleInvestmentAtStart, 10000);

  v.cb_Vorgabe.userSelect(1);
  run = v.gatherOfferRun(2500);
  EXPECT_EQ(run.driver.contract.singlePayment, 2500);
  EXPECT_EQ(run.document.singleInvestmentAtStart, 0);
  EXPECT_EQ(run.document.contributionA, 2500);
}

// The agent's discount is granted on a single investment only when it is ticked for it.
TEST_F(ContractTest, OfferNamesTheDiscountGranted) {
  struct Case {
    int mode;  // cb_Vorgabe: 0 "Monatsbeitrag", 1 "Einmalanlage"
    bool ticked;
    const char* rebate;
  } cases[] = {
      {1, false, ""},
      {1, true, "10 %"},
      {0, false, "10 %"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.mode) + (c.ticked ? " ticked" : ""));
    nextCase();
    TfrmVertagsdaten& v = prepared(false);
    TfrmVermittler& agent = *app->frmVermittler;
    agent.cb_RabatZSp.setVisible(true);
    agent.cb_RabatZSp.setItemIndex(agent.cb_RabatZSp.indexOf("10"));
    v.cbAbsolut.userClick();
    enter(v.cb_EinmalProz, "0");
    ASSERT_EQ(v.cbReduktion.text(), "10 %");
    v.cb_Vorgabe.userSelect(c.mode);
    if (v.cb_EinmalRabat.visible() && v.cb_EinmalRabat.checked() != c.ticked)
      v.cb_EinmalRabat.userClick();
    EXPECT_EQ(v.cb_EinmalRabat.visible(), c.mode == 1);
    EXPECT_EQ(v.gatherOfferRun(c.mode == 1 ? 2500 : 100).document.grantedRebate, c.rebate);
  }
}

TEST_F(ContractTest, FailedCheckWritesNoOffer) {
  TfrmVertagsdaten& v = prepared(true);
  v.sb_Angebotsbrechnung.userClick();
  EXPECT_EQ(dialogs.messages(),
            std::vector<std::string>{"Daten: Bitte die gewünschte Strategie auswählen!"});
  EXPECT_TRUE(shell.opened.empty());
}

TEST_F(ContractTest, TopUpsDialog) {
  TfrmVertagsdaten& v = prepared(false);
  TfrmAngebotsdaten& customer = *app->frmAngebotsdaten;
  TfrmEinmalanlage& d = *app->frmEinmalanlage;

  customer.cbVP_Alter.setText("48");
  v.sb_ZuzahlungenClick(nullptr);
  EXPECT_EQ(dialogs.messages().back(),
            "Daten: Zusätzliche Zuzahlungen nicht möglich, da die Restlaufzeit bis zum Alter von "
            "60 Jahren kleiner als 12 Jahre!");

  // Aged 30 with 20 contribution years: 18 years open, two pages.
  customer.cbVP_Alter.setText("30");
  v.cb_BZD3.setItemIndex(v.cb_BZD3.indexOf("20"));
  app->modalScript = [&](Form& form) {
    EXPECT_EQ(&form, &d);
    EXPECT_EQ(d.ts10.caption(), "2. bis 11. Jahr");
    EXPECT_EQ(d.ts20.caption(), "12. bis 19. Jahr");
    EXPECT_TRUE(d.ts20.visible());
    EXPECT_FALSE(d.ts30.visible());
    EXPECT_TRUE(d.cb_Zuzahlung18.visible());
    EXPECT_FALSE(d.cb_Zuzahlung19.visible());
    d.cb_Zuzahlung.userSelect(d.cb_Zuzahlung.indexOf("1.000,00"));
    EXPECT_EQ(d.cb_Zuzahlung50.text(), "1.000,00");
    d.cb_Zuzahlung2.setText("300");
    d.cb_Zuzahlung30.setText("300");
    d.sbFondsaufteilung.userClick();
    return ModalResult::None;
  };
  dialogs.clear();
  v.sb_ZuzahlungenClick(nullptr);
  EXPECT_EQ(dialogs.messages(),
            std::vector<std::string>{"Fehler: Die Höhe einzelner Zuzahlungen war zu niedrig und "
                                     "wurde daher auf 480 Euro korrigiert!"});
  EXPECT_EQ(v.topUps[2], 480);
  EXPECT_EQ(v.topUps[1], 1000);
  EXPECT_EQ(v.topUps[30], 300);  // hidden year: kept, not counted
  EXPECT_EQ(v.topUpCount, 18);

  // Cancel leaves the table; too short a contribution period is refused.
  app->modalScript = [&](Form&) {
    d.cb_Zuzahlung1.setText("5000");
    d.sb_Abbruch.userClick();
    return ModalResult::None;
  };
  v.sb_ZuzahlungenClick(nullptr);
  EXPECT_EQ(v.topUps[1], 1000);
  customer.cbVP_Alter.setText("40");
  v.cb_BZD3.setItemIndex(v.cb_BZD3.indexOf("5"));
  app->modalScript = [&](Form&) {
    EXPECT_EQ(d.ts10.caption(), "2. bis 5. Jahr");
    EXPECT_FALSE(d.cb_Zuzahlung5.visible());
    return ModalResult::Cancel;
  };
  v.sb_ZuzahlungenClick(nullptr);
}

TEST_F(ContractTest, InfoLabelsOpenTheShownVariantsDocument) {
  TfrmVertagsdaten& v = prepared(false);
  std::filesystem::copy_file(path("Param.dat"), path("Info_Fonds_2.pdf"));
  v.lb_InfoF2.userClick();
  ASSERT_EQ(shell.opened.size(), 1u);
  EXPECT_EQ(shell.opened[0], path(v.product().ziel[1].infoDocument));
}

TEST_F(ContractTest, BankTableIsLoaded) {
  test_support::copyBankData(dir);
  const TfrmVertagsdaten& v = prepared(true);
  EXPECT_GT(v.bankTable().count(), 0u);
  EXPECT_TRUE(dialogs.shown().empty());
}

// The bank file is read when the application form is first prepared, not at the start (an
// offer never needs it); a damaged one is reported then, once.
TEST_F(ContractTest, ShortBankFileIsReportedWhenTheApplicationFormNeedsIt) {
  writeLines("BLZ.DAT", {"kaputt"});
  createApp();
  EXPECT_TRUE(dialogs.messages().empty());
  for (int visit = 0; visit < 2; ++visit) app->frmVertagsdaten->prepareApplicationForm();
  EXPECT_EQ(app->frmVertagsdaten->bankTable().count(), 0u);
  EXPECT_EQ(dialogs.messages(),
            std::vector<std::string>{"Fehler: Fehler beim Lesen der Daten von 'BLZ.DAT'!"});
}

}  // namespace
}  // namespace fondaris::forms::testing

namespace fondaris::forms::testing {
namespace {

// "&Zurück" and "&Weiter" again: only the first visit of a variant sets defaults.
class ContractVisitsTest : public FormsTest {
 protected:
  TfrmAngebotsdaten& customer() { return *app->frmAngebotsdaten; }
  TfrmVertagsdaten& contract() { return *app->frmVertagsdaten; }
  void weiter(bool vl) {
    customer().rbProd.setChecked(vl);
    customer().rbProd1.setChecked(!vl);
    customer().sb_Angebotsbrechnung.userClick();
    ASSERT_TRUE(contract().visible());
  }
  void zurueck() { contract().cb_Angebotsdaten.userClick(); }
  void enter(Control& field, const std::string& text) {
    field.form().focus(&field);
    field.userSetText(text);
    field.form().focus(nullptr);
  }
  void SetUp() override {
    FormsTest::SetUp();
    writeLines("Vermitd.dat", agentFile());
    createApp();
    customer().edVN_Nachname.setText("Muster");
    customer().show();
  }
};

TEST_F(ContractVisitsTest, LaterVisitsKeepEveryChoice) {
  for (bool vl : {true, false}) {
    SCOPED_TRACE(vl ? "VL" : "second variant");
    nextCase();
    SetUp();
    weiter(vl);
    TfrmVertagsdaten& v = contract();
    v.rb_Fonds3.userClick();
    if (vl) {
      v.cb_Anlagedauer.userSelect(v.cb_Anlagedauer.indexOf("29"));
    } else {
      v.cb_BZD2.userSelect(v.cb_BZD2.indexOf("33"));
      v.cb_Auszahlung1.userSelect(30);
      enter(v.cb_Beitrag1, "500");
    }
    v.cb_WE1.userSelect(v.cb_WE1.indexOf("1,5"));
    v.cbAbsolut.userClick();
    const std::string fundValue = v.med_FW1.text();
    zurueck();
    weiter(vl);
    EXPECT_EQ(v.cb_WE1.text(), "1,5");
    EXPECT_EQ(v.cb_WE2.text(), vl ? "5,0" : "8,0");  // the strategy's, not the form's defaults
    EXPECT_FALSE(v.cbAbsolut.checked());
    EXPECT_TRUE(v.rb_Fonds3.checked());
    if (vl) {
      EXPECT_EQ(v.cb_Anlagedauer.text(), "29");
    } else {
      EXPECT_EQ(v.cb_Auszahlung1.text(), "Ende 31 Jahres");
    }
    EXPECT_EQ(v.med_FW1.text(), fundValue);
    EXPECT_TRUE(dialogs.shown().empty());
  }
}

// Second → VL → second: each variant comes back as the agent left it, and the VL variant does
// not take the second variant's withdrawals as its planned ones.
TEST_F(ContractVisitsTest, EachVariantKeepsItsOwnValues) {
  weiter(false);
  TfrmVertagsdaten& v = contract();
  v.cb_BZD2.userSelect(v.cb_BZD2.indexOf("40"));
  v.cb_BZD3.userSelect(v.cb_BZD3.indexOf("30"));
  v.cb_Auszahlung2.userSelect(34);
  enter(v.cb_Beitrag2, "700");
  const std::string secondFundValue = v.med_FW1.text();
  zurueck();
  weiter(true);
  EXPECT_EQ(v.cb_BZD3.text(), "24");
  EXPECT_EQ(v.cb_Beitrag2.text(), "0,00");
  const std::string vlFundValue = v.med_FW1.text();
  zurueck();
  weiter(false);
  EXPECT_EQ(v.cb_BZD2.text(), "40");
  EXPECT_EQ(v.cb_BZD3.text(), "30");
  EXPECT_EQ(v.cb_Auszahlung2.text(), "Ende 35 Jahres");
  EXPECT_EQ(v.cb_Beitrag2.text(), "700,00");
  EXPECT_EQ(v.med_FW1.text(), secondFundValue);
  zurueck();
  weiter(true);
  EXPECT_EQ(v.med_FW1.text(), vlFundValue);
  EXPECT_TRUE(dialogs.shown().empty());
}

// A shorter period drops a chosen withdrawal time: its amount no longer counts, and the agent
// is told.
TEST_F(ContractVisitsTest, DroppedWithdrawalTimeIsNamed) {
  weiter(false);
  TfrmVertagsdaten& v = contract();
  v.cb_BZD2.userSelect(v.cb_BZD2.indexOf("40"));
  const std::string without = v.med_FW1.text();
  v.cb_Auszahlung3.userSelect(34);
  enter(v.cb_Beitrag3, "500");
  ASSERT_NE(v.med_FW1.text(), without);
  v.cb_BZD2.userSelect(v.cb_BZD2.indexOf("30"));
  EXPECT_EQ(v.cb_Auszahlung3.itemIndex(), -1);
  EXPECT_EQ(dialogs.messages(),
            std::vector<std::string>{
                "Entnahmen: Die 3. Entnahme (Ende 35 Jahres) liegt nicht mehr in der Anlagedauer "
                "und wird nicht berücksichtigt. Bitte einen neuen Zeitpunkt wählen."});
  v.cb_BZD2.userSelect(v.cb_BZD2.indexOf("40"));
  EXPECT_EQ(v.med_FW1.text(), without);
}

// The month-end strategy moves the start whichever was chosen first, and the day list shows it.
TEST_F(ContractVisitsTest, MonthEndStartByEitherOrderOfInput) {
  weiter(false);
  TfrmVertagsdaten& v = contract();
  ASSERT_TRUE(v.cbBeginnTag.visible());
  v.cbBeginnMonat.userSelect(0);  // January 2027, day 1
  ASSERT_EQ(v.med_Vbeginn.text(), "01.01.2027");
  v.rb_Fonds1.userClick();
  EXPECT_EQ(v.med_Vbeginn.text(), "31.01.2027");
  EXPECT_EQ(v.cbBeginnTag.text(), "31");
  EXPECT_FALSE(v.cbBeginnTag.enabled());
  v.cbBeginnMonat.userSelect(1);
  EXPECT_EQ(v.med_Vbeginn.text(), "28.02.2027");
  EXPECT_EQ(v.cbBeginnTag.text(), "28");
  v.rb_Fonds3.userClick();
  EXPECT_EQ(v.med_Vbeginn.text(), "01.02.2027");
  EXPECT_EQ(v.cbBeginnTag.items(), (std::vector<std::string>{"1", "15"}));
  EXPECT_TRUE(v.cbBeginnTag.enabled());
  EXPECT_TRUE(dialogs.shown().empty());
}

}  // namespace
}  // namespace fondaris::forms::testing
