// The agent's way to the application: customer → "&Weiter" → contract → "An&trag", and back.
#include <algorithm>

#include "forms/angebotsdialog/tfrm_angebotsdialog.h"
#include "tests/support/forms_fixture.h"

namespace fondaris::forms::testing {
namespace {

class AntragFlowTest : public FormsTest {
 protected:
  // The customer born on `birth` entered, "&Weiter", a contract from 1 March 2027 with a
  // strategy chosen; the clock stands in February 2027.
  TfrmVertagsdaten& contractFor(bool vl, const char* birth) {
    clock.set(*core::encodeDate(2027, 2, 10));
    writeLines("Vermitd.dat", agentFile());
    test_support::copyBankData(dir);
    createApp();
    TfrmAngebotsdaten& customer = *app->frmAngebotsdaten;
    customer.rbProd.setChecked(vl);
    customer.rbProd1.setChecked(!vl);
    customer.edVN_Vorname.setText("Jan");
    customer.edVN_Nachname.setText("Nowak");
    customer.medVN_Geburtstag.setText(birth);
    customer.show();
    customer.sb_Angebotsbrechnung.userClick();
    TfrmVertagsdaten& v = *app->frmVertagsdaten;
    EXPECT_TRUE(v.visible());
    v.cbBeginnMonat.userSelect(2);
    v.cbBeginnTag.userSelect(0);
    EXPECT_EQ(v.med_Vbeginn.text(), "01.03.2027");
    v.rb_Fonds2.userClick();
    EXPECT_TRUE(dialogs.shown().empty()) << dialogs.messages().size();
    return v;
  }

  // "An&trag", declining to save first.
  TfrmAngebotsdialog& antrag(TfrmVertagsdaten& v) {
    dialogs.answerNo();
    v.sb_Antrag.userClick();
    const auto& shown = dialogs.shown();
    EXPECT_EQ(shown.size(), 1u);
    if (!shown.empty()) {
      EXPECT_EQ(shown.back().text, "Daten speichern?");
    }
    dialogs.clear();
    return *app->frmAngebotsdialog;
  }
};

bool contains(const std::vector<std::string>& findings, const std::string& text) {
  return std::find(findings.begin(), findings.end(), text) != findings.end();
}

TEST_F(AntragFlowTest, ContractLeadsToTheApplicationAndBack) {
  struct Case {
    bool vl;
    const char* birth;
    bool minor;
  } cases[] = {
      {true, "01.06.1980", false},
      {true, "15.12.2009", true},  // 18 by the calendar year, 17 completed at the start
      {false, "01.06.1980", false},
      {false, "15.12.2009", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.vl ? "VL " : "second ") + c.birth);
    nextCase();
    TfrmVertagsdaten& v = contractFor(c.vl, c.birth);
    const std::string start = v.med_Vbeginn.text(), value = v.med_FW4.text();
    const std::string contribution = (c.vl ? v.cb_Beitrag_1 : v.cb_Beitrag_2).text();

    TfrmAngebotsdialog& f = antrag(v);
    ASSERT_TRUE(f.visible());
    EXPECT_FALSE(v.visible());
    EXPECT_EQ(f.caption(), app->frmStartmaske->caption() + " - Antrag");
    EXPECT_EQ(f.pageDaten.activePage(), 0);
    EXPECT_EQ(f.policyholderIsMinor(), c.minor);
    EXPECT_EQ(f.tsVertreter2.tabVisible(), c.minor);
    EXPECT_EQ(f.tsArbeitgeber.tabVisible(), c.vl);
    EXPECT_EQ(f.boxKontoZB.visible(), v.bankDetailsShown);
    EXPECT_EQ(f.cbZF_BLZ.itemCount(), static_cast<int>(v.bankTable().count()));
    EXPECT_GT(f.cbZF_BLZ.itemCount(), 0);
    const std::vector<std::string> findings = f.completenessFindings();
    EXPECT_EQ(contains(findings, " Name des 2. gesetzlichen Vertreters fehlt"), c.minor);
    EXPECT_TRUE(dialogs.shown().empty());

    // The agent picks goal durations, looks back at the contract and returns.
    ASSERT_GT(f.cbZiel1.itemIndex(), 2);
    const std::string secondGoal = f.cbZiel2.text();
    f.cbZiel1.userSelect(2);
    f.cb_Zurueck.userClick();
    EXPECT_FALSE(f.visible());
    ASSERT_TRUE(v.visible());
    EXPECT_EQ(v.med_Vbeginn.text(), start);
    EXPECT_EQ((c.vl ? v.cb_Beitrag_1 : v.cb_Beitrag_2).text(), contribution);
    EXPECT_EQ(v.med_FW4.text(), value);
    EXPECT_TRUE(v.rb_Fonds2.checked());

    antrag(v);
    ASSERT_TRUE(f.visible());
    EXPECT_EQ(f.cbZiel1.text(), "3");
    EXPECT_EQ(f.cbZiel2.text(), secondGoal);
    EXPECT_EQ(f.tsVertreter2.tabVisible(), c.minor);
    EXPECT_TRUE(dialogs.shown().empty());
  }
}

// A contract that fails the pre-calculation check stays on screen.
TEST_F(AntragFlowTest, FailedCheckKeepsTheContract) {
  TfrmVertagsdaten& v = contractFor(true, "01.06.1980");
  v.rb_Fonds2.setChecked(false);
  dialogs.answerNo();
  v.sb_Antrag.userClick();
  EXPECT_EQ(dialogs.messages(),
            std::vector<std::string>{"Daten: Bitte die gewünschte Strategie auswählen!"});
  EXPECT_TRUE(v.visible());
  EXPECT_FALSE(app->frmAngebotsdialog->visible());
}

}  // namespace
}  // namespace fondaris::forms::testing
