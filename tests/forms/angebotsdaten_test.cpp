#include "core/value_coding.h"
#include "tests/support/forms_fixture.h"

namespace fondaris::forms::testing {
namespace {

class AngebotsdatenTest : public FormsTest {
 protected:
  void SetUp() override {
    FormsTest::SetUp();
    writeLines("Vermitd.dat", agentFile());
    createApp();
    form = app->frmAngebotsdaten.get();
    start = &app->frmVertagsdaten->med_Vbeginn;
  }
  TfrmAngebotsdaten* form = nullptr;
  MaskEdit* start = nullptr;
};

TEST_F(AngebotsdatenTest, ConstructionDefaults) {
  TfrmAngebotsdaten& f = *form;
  EXPECT_EQ(f.cbVN_Anrede.text(), "Herr");
  EXPECT_EQ(f.cbVN_Stand.text(), "ledig");
  EXPECT_EQ(f.cbVN_Land.text(), "D");
  EXPECT_EQ(f.cbVP_Alter.items().front(), "8");
  EXPECT_EQ(f.cbVN_Alter.items().front(), "18");
  EXPECT_EQ(f.cbVN_Alter.items().back(), "68");
  EXPECT_TRUE(f.cbVP_WieVN.checked());
  EXPECT_FALSE(f.boxVP.visible());
  EXPECT_TRUE(f.rbVN_Geburtstag.checked());
  EXPECT_TRUE(f.medVN_Geburtstag.enabled());
  EXPECT_FALSE(f.cbVN_Alter.enabled());
  EXPECT_FALSE(f.edVP_Vorname.enabled());
  EXPECT_EQ(f.rbProd.caption(), "Fondaris VL");
  EXPECT_EQ(f.rbProd1.caption(), "Fondaris");
  // Contract start 01.01.2027 on 5 December 2026.
  EXPECT_EQ(start->text(), "01.01.2027");
  EXPECT_EQ(f.medVN_Geburtstag.text(), "01.01.1980");
  // On the birthday the new year does not count yet; the insured person takes the copy.
  EXPECT_EQ(f.cbVN_Alter.text(), "46");
  EXPECT_EQ(f.cbVP_Alter.text(), "46");
  EXPECT_EQ(f.sb_Angebotsbrechnung.caption(), "&Weiter");
  EXPECT_TRUE(dialogs.shown().empty());
}

TEST_F(AngebotsdatenTest, AgeFromBirthDate) {
  struct Case {
    const char* birth;
    const char* start;
    const char* holder;   // completed years
    const char* insured;  // difference of the years
  } cases[] = {
      {"15.03.1980", "15.03.2011", "30", "31"}, {"16.03.1980", "15.03.2011", "30", "31"},
      {"14.03.1980", "15.03.2011", "31", "31"}, {"1.3.80", "15.03.2011", "31", "31"},
      {"16.03.2012", "15.03.2011", "0", "0"},
  };
  TfrmAngebotsdaten& f = *form;
  f.cbVP_WieVN.userClick();  // the insured person gets its own date
  for (const Case& c : cases) {
    SCOPED_TRACE(c.birth);
    start->setText(c.start);
    f.medVN_Geburtstag.setText(c.birth);
    f.medVP_Geburtstag.setText(c.birth);
    f.medVN_GeburtstagExit(&f.medVN_Geburtstag);
    f.medVP_GeburtstagExit(&f.medVP_Geburtstag);
    EXPECT_EQ(f.cbVN_Alter.text(), c.holder);
    EXPECT_EQ(f.cbVP_Alter.text(), c.insured);
  }
  EXPECT_EQ(f.medVN_Geburtstag.text(), "16.03.2012");
  EXPECT_TRUE(dialogs.shown().empty());
}

TEST_F(AngebotsdatenTest, BadOrEmptyDatesClearTheAge) {
  TfrmAngebotsdaten& f = *form;
  struct Case {
    const char* birth;
    const char* start;
    bool message;
  } cases[] = {
      {"  .  .    ", "01.01.2027", false}, {"", "01.01.2027", false},
      {"32.01.1980", "01.01.2027", true},  {"01.01.1990", "  .  .    ", false},
      {"01.01.1990", "31.02.2027", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.birth) + " / " + c.start);
    dialogs.clear();
    f.cbVN_Alter.setText("47");
    start->setText(c.start);
    f.medVN_Geburtstag.setText(c.birth);
    f.medVN_GeburtstagExit(&f.medVN_Geburtstag);
    // No age from an earlier date stays, neither here nor in the mirrored insured person.
    EXPECT_EQ(f.cbVN_Alter.text(), "");
    EXPECT_EQ(f.cbVP_Alter.text(), "");
    EXPECT_EQ(f.medVN_Geburtstag.text(), c.birth);
    EXPECT_EQ(dialogs.shown().size(), c.message ? 1u : 0u);
  }
}

TEST_F(AngebotsdatenTest, AgeIsANumberFrom0To120) {
  TfrmAngebotsdaten& f = *form;
  f.show();
  f.rbVN_Alter.userClick();
  EXPECT_TRUE(f.cbVN_Alter.GetNumeric());
  // Letters and the minus sign cannot be typed.
  for (int key : {int{'A'}, 189, 109}) {
    f.cbVN_Alter.setText("4x");
    f.cbVN_Alter.setSelection(2, 0);
    f.cbVN_Alter.keyUp(key, false);
    EXPECT_EQ(f.cbVN_Alter.text(), "40") << key;  // the search completes what is left
  }

  struct Case {
    const char* age;
    const char* birth;  // "" when refused: the birth date stays
  } cases[] = {{"0", "01.01.2026"}, {"120", "01.01.1906"}, {"121", ""}, {"250", ""}, {"-5", ""},
               {"4 0", ""}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.age);
    dialogs.clear();
    f.medVN_Geburtstag.setText("01.01.1980");
    f.focus(&f.cbVN_Alter);
    f.cbVN_Alter.userSetText(c.age);  // pasted or typed
    f.focus(&f.edVN_Nachname);
    if (*c.birth) {
      EXPECT_EQ(f.medVN_Geburtstag.text(), c.birth);
      EXPECT_TRUE(dialogs.messages().empty());
    } else {
      EXPECT_EQ(f.medVN_Geburtstag.text(), "01.01.1980");
      EXPECT_EQ(dialogs.messages(),
                std::vector<std::string>{"Daten: Bitte ein Alter von 0 bis 120 Jahren angeben!"});
      EXPECT_EQ(f.focused(), &f.cbVN_Alter);
    }
  }
  // "Weiter" stops at a refused age with its one message.
  dialogs.clear();
  f.edVN_Nachname.setText("Muster");
  f.sb_Angebotsbrechnung.userClick();
  EXPECT_EQ(dialogs.messages().size(), 1u);
  EXPECT_EQ(f.focused(), &f.cbVN_Alter);
}

TEST_F(AngebotsdatenTest, WeiterAsksForAnEmptyBirthDate) {
  TfrmAngebotsdaten& f = *form;
  f.show();
  f.edVN_Nachname.setText("Muster");
  f.medVN_Geburtstag.setText("  .  .    ");
  f.sb_Angebotsbrechnung.userClick();
  EXPECT_EQ(dialogs.messages(),
            std::vector<std::string>{"Daten: Bitte das Geburtsdatum des Depotinhabers angeben!"});
  EXPECT_EQ(f.focused(), &f.medVN_Geburtstag);
}

TEST_F(AngebotsdatenTest, BirthDateFromAge) {
  struct Case {
    const char* field;
    const char* age;
    const char* birth;
    bool message;
  } cases[] = {
      {"20.07.1975", "40", "20.07.1986", false},
      {"32.07.1975", "40", "01.01.1986", true},
      {"  .  .    ", "40", "01.01.1986", false},
      {"29.02.1980", "41", "28.02.1985", false},  // no 29 February in 1985
      {"29.02.1980", "42", "29.02.1984", false},
  };
  TfrmAngebotsdaten& f = *form;
  f.rbVN_Alter.userClick();
  EXPECT_TRUE(f.cbVN_Alter.enabled());
  EXPECT_FALSE(f.medVN_Geburtstag.enabled());
  EXPECT_TRUE(f.rbVP_Alter.checked());
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.field) + " " + c.age);
    dialogs.clear();
    f.medVN_Geburtstag.setText(c.field);
    f.cbVN_Alter.userSelect(f.cbVN_Alter.indexOf(c.age));  // a click runs the exit handler
    EXPECT_EQ(f.medVN_Geburtstag.text(), c.birth);
    EXPECT_EQ(f.medVP_Geburtstag.text(), c.birth);
    EXPECT_EQ(f.cbVP_Alter.text(), c.age);
    EXPECT_EQ(dialogs.shown().size(), c.message ? 1u : 0u);
  }
}

TEST_F(AngebotsdatenTest, InsuredPersonMirrorsTheHolder) {
  TfrmAngebotsdaten& f = *form;
  f.show();
  f.focus(&f.edVN_Vorname);
  f.edVN_Vorname.userSetText("Max");
  f.focus(&f.edVN_HausNr);  // leaving the first name copies it
  EXPECT_EQ(f.edVP_Vorname.text(), "Max");
  f.edVN_HausNr.userSetText("7");
  f.focus(&f.edVN_Nation);
  f.cbVN_Anrede.userSelect(1);
  f.focus(&f.cbVN_Anrede);
  f.focus(&f.edVN_Ort);
  EXPECT_EQ(f.cbVP_Anrede.text(), "Frau");

  f.cbVP_WieVN.userClick();
  EXPECT_TRUE(f.edVP_Vorname.enabled());
  EXPECT_TRUE(f.medVP_Geburtstag.enabled());
  EXPECT_FALSE(f.cbVP_Alter.enabled());
  f.edVN_Ort.userSetText("Bonn");
  f.focus(&f.edVN_PLZ);
  EXPECT_EQ(f.edVP_Ort.text(), "");

  f.edVN_Nachname.setText("Muster");
  f.cbVP_WieVN.userClick();  // checking again copies everything
  EXPECT_EQ(f.edVP_Ort.text(), "Bonn");
  EXPECT_EQ(f.edVP_Nachname.text(), "Muster");
  EXPECT_FALSE(f.edVP_Ort.enabled());
  EXPECT_TRUE(f.cbVP_WieVN.enabled());
}

TEST_F(AngebotsdatenTest, WeiterChecksDatesNameAndAge) {
  TfrmAngebotsdaten& f = *form;
  f.show();
  f.rbVN_Alter.userClick();
  f.cbVN_Alter.setText("");
  f.sb_Angebotsbrechnung.userClick();
  f.edVN_Nachname.userSetText("Muster");
  f.sb_Angebotsbrechnung.userClick();
  EXPECT_EQ(dialogs.messages(),
            (std::vector<std::string>{"Daten: Bitte den Namen des Depotinhabers angeben!",
                                      "Daten: Bitte das Alter des Depotinhabers angeben!"}));
  EXPECT_EQ(f.focused(), &f.cbVN_Alter);

  dialogs.clear();
  start->setText("31.02.2027");
  f.sb_Angebotsbrechnung.userClick();
  ASSERT_EQ(dialogs.shown().size(), 1u);
  EXPECT_EQ(dialogs.shown()[0].caption, "Fehler");

  dialogs.clear();
  start->setText("01.01.2027");
  f.cbVN_Alter.setText("40");
  f.sb_Angebotsbrechnung.userClick();
  EXPECT_TRUE(dialogs.shown().empty());
  EXPECT_FALSE(f.visible());
  EXPECT_TRUE(app->frmVertagsdaten->visible());
}

TEST_F(AngebotsdatenTest, DocumentButtonsOpenFromTheWorkingDirectory) {
  TfrmAngebotsdaten& f = *form;
  ASSERT_TRUE(core::writeFileAtomically(path("FQ-VL-Antrag.pdf"), "%PDF"));
  f.rbProd.setChecked(true);
  f.sb_Formular.userClick();
  f.rbProd1.setChecked(true);
  f.sb_Formular.userClick();
  f.cb_ChecklisteClick(nullptr);
  EXPECT_EQ(shell.opened, std::vector<std::string>{path("FQ-VL-Antrag.pdf")});
  EXPECT_EQ(dialogs.messages(),
            (std::vector<std::string>{
                "Fehler: Die Datei '" + path("FQ-Zielspar-Antrag.pdf") + "' nicht gefunden!",
                "Fehler: Die Datei '" + path("Checkliste Antragsprüfung Zielsparplan .pdf") +
                    "' nicht gefunden!"}));
}

TEST_F(AngebotsdatenTest, NavigationAndClosing) {
  TfrmAngebotsdaten& f = *form;
  f.show();
  f.sb_Vermittler.userClick();
  EXPECT_TRUE(app->frmVermittler->visible());
  EXPECT_FALSE(f.visible());
  f.show();
  f.geometry = {30, 40, 700, 800};
  f.sb_Abbruch.userClick();
  EXPECT_TRUE(app->quitRequested());

  createApp();
  const Form::Geometry g = app->frmAngebotsdaten->geometry;
  EXPECT_EQ(g.top, 30);
  EXPECT_EQ(g.height, 700);
  EXPECT_EQ(g.width, 800);
}

TEST_F(AngebotsdatenTest, ProductDataRemovedAfterCreationDisturbNothing) {
  std::filesystem::remove(path("Param.dat"));

  // Typing and saving in the agent form: the internal code read at creation still holds.
  TfrmVermittler& agent = *app->frmVermittler;
  agent.show();
  dialogs.answerText("FQ2026");
  agent.sbMaxBZD.userClick();
  EXPECT_TRUE(agent.cb_RabatZSp.visible());
  agent.cb_RabatZSp.userSelect(2);
  agent.cbSaveRabat.userClick();
  agent.edV_Firma.userSetText("Neu GmbH");
  agent.sbV_Speichern.userClick();
  const auto lines = readLines("Vermitd.dat");
  ASSERT_EQ(lines.size(), 24u);
  EXPECT_EQ(core::decodeValue(lines[15]), "FQ2026@2");

  // A list change and an activation of the contract form.
  TfrmVertagsdaten& contract = *app->frmVertagsdaten;
  contract.cbBeginnTag.userSelect(1);
  EXPECT_EQ(start->text(), "15.01.2027");
  contract.show();
  EXPECT_EQ(contract.caption(), "Fondaris - Vertragsdaten");

  // The age calculation.
  form->show();
  form->medVN_Geburtstag.userSetText("15.03.1980");
  form->focus(&form->medVN_Geburtstag);
  form->focus(&form->edVN_Nachname);
  EXPECT_EQ(form->cbVN_Alter.text(), "46");
  EXPECT_EQ(dialogs.shown().size(), 1u);  // the code's input box only
}

}  // namespace
}  // namespace fondaris::forms::testing
