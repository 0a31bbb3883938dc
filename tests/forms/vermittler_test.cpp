#include "core/value_coding.h"
#include "tests/support/forms_fixture.h"

namespace fondaris::forms::testing {
namespace {

using VermittlerTest = FormsTest;

// The sample product data's discount key.
constexpr const char* kKey = "FQ2026";

std::string setting(const std::string& plain) {
  return core::encodeValue(plain);
}

TEST_F(VermittlerTest, MissingFileLeavesDefaultsAndNoValidData) {
  TfrmVermittler& v = *createApp().frmVermittler;
  EXPECT_FALSE(v.agentDataValid());
  EXPECT_EQ(v.edV_Vermittlernr1.text(), "60000");
  EXPECT_EQ(v.cbV_Land.text(), "D");
  EXPECT_TRUE(v.cbDatumshinweis.checked());
  EXPECT_TRUE(v.sbMaxBZD.visible());
  EXPECT_FALSE(v.cb_Rabat.visible());
  EXPECT_FALSE(v.cbSaveRabat.visible());
  EXPECT_FALSE(v.ed_Antrag.visible());
  EXPECT_EQ(v.cb_Rabat.itemCount(), 11);
  EXPECT_EQ(v.cb_ZuzahlKunde.itemCount(), 21);
  EXPECT_EQ(v.cb_ZuzahlKunde.items().back(), "100");
  EXPECT_TRUE(dialogs.shown().empty());
}

TEST_F(VermittlerTest, SavedDataComeBackWhole) {
  App& a = createApp();
  TfrmVermittler& v = *a.frmVermittler;
  v.show();
  v.edV_Firma.userSetText("Muster GmbH");
  v.edV_Ansprechpartner.userSetText("Erika Müller");
  v.edV_PLZ.userSetText("12345");
  v.edV_Internet.userSetText("www.muster.de");
  v.cb_ZuzahlKundeZSp.setItemIndex(4);
  v.cbSaveRabat.setChecked(true);
  v.cb_RabatZSp.setItemIndex(2);
  v.cbDatumshinweis.setChecked(false);
  v.sbV_Speichern.userClick();
  EXPECT_TRUE(v.agentDataValid());
  EXPECT_FALSE(v.visible());
  EXPECT_TRUE(a.frmAngebotsdaten->visible());

  const auto lines = readLines("Vermitd.dat");
  ASSERT_EQ(lines.size(), 24u);
  EXPECT_EQ(lines[0], "V 1.2");
  EXPECT_EQ(lines[3], "D-12345");
  EXPECT_EQ(lines[13], "4711");
  EXPECT_EQ(lines[14], "");
  EXPECT_EQ(core::decodeValue(lines[15]), std::string(kKey) + "@2");
  EXPECT_EQ(core::decodeValue(lines[21]), std::string(kKey) + "@4");
  EXPECT_EQ(lines[22], "SR");
  EXPECT_EQ(lines[23], "K");

  TfrmVermittler& again = *createApp().frmVermittler;
  EXPECT_TRUE(again.agentDataValid());
  EXPECT_EQ(again.agentFileLines(), lines);
  EXPECT_EQ(again.edV_Ansprechpartner.text(), "Erika Müller");
  EXPECT_EQ(again.cb_RabatZSp.text(), "10");
  EXPECT_TRUE(again.cb_RabatZSp.visible());
  EXPECT_EQ(again.cb_ZuzahlKundeZSp.text(), "20");
  EXPECT_FALSE(core::regionalSettingsHint());
  EXPECT_TRUE(dialogs.shown().empty());
}

TEST_F(VermittlerTest, FileLengthDecidesValidity) {
  struct Case {
    std::size_t lines;
    bool valid;
  } cases[] = {{12, false}, {13, true}, {14, false}, {19, false}, {20, true}, {24, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.lines);
    nextCase();
    std::vector<std::string> lines = agentFile();
    lines.resize(c.lines);
    writeLines("Vermitd.dat", lines);
    TfrmVermittler& v = *createApp().frmVermittler;
    EXPECT_EQ(v.agentDataValid(), c.valid);
    // Lines 2 to 12 are taken over even when the file is too short.
    EXPECT_EQ(v.edV_Ansprechpartner.text(), "Erika Muster");
    EXPECT_EQ(v.edV_Firma.text(), "Muster GmbH");
    EXPECT_EQ(v.cb_Rabat.itemIndex(), 0);
    EXPECT_TRUE(v.cbDatumshinweis.checked());
    EXPECT_EQ(v.edV_Vermittlernr1.text(), c.lines >= 17 ? "60001" : "60000");
  }
}

TEST_F(VermittlerTest, CountryLine) {
  struct Case {
    const char* line;
    int country;
    const char* postcode;
  } cases[] = {
      {"D-12345", 0, "12345"}, {"D-", 0, ""},          {"12345", 0, "12345"},
      {"X-9", 0, "9"},         {"A-1010", -1, "1010"}, {"D", 0, "D"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    nextCase();
    std::vector<std::string> lines = agentFile();
    lines[3] = c.line;
    writeLines("Vermitd.dat", lines);
    TfrmVermittler& v = *createApp().frmVermittler;
    EXPECT_EQ(v.cbV_Land.itemIndex(), c.country);
    EXPECT_EQ(v.edV_PLZ.text(), c.postcode);
    EXPECT_EQ(dialogs.messages().size(), c.country == 0 ? 0u : 1u);
  }
}

TEST_F(VermittlerTest, AustriaIsRefusedUntilGermanyIsChosen) {
  std::vector<std::string> lines = agentFile();
  lines[3] = "A-1010";
  writeLines("Vermitd.dat", lines);
  App& a = createApp();
  TfrmVermittler& v = *a.frmVermittler;
  const std::string refused = "Prüfung: Diese Produkt wird zurzeit nur in Deutschland angeboten!";
  EXPECT_EQ(dialogs.messages(), std::vector<std::string>{refused});
  EXPECT_TRUE(v.agentDataValid());
  // Created from the agent form's country: none selected either.
  EXPECT_EQ(a.frmAngebotsdaten->cbVN_Land.itemIndex(), -1);

  v.show();
  v.sbV_Speichern.userClick();
  v.sbV_Abbruch.userClick();
  EXPECT_EQ(dialogs.messages(), (std::vector<std::string>{refused, refused, refused}));
  EXPECT_EQ(v.focused(), &v.cbV_Land);
  EXPECT_TRUE(v.visible());

  v.cbV_Land.userSelect(0);
  v.sbV_Abbruch.userClick();
  EXPECT_FALSE(v.visible());
}

TEST_F(VermittlerTest, TypedTextIsWhatComesBackAfterARestart) {
  TfrmVermittler& v = *createApp().frmVermittler;
  v.show();
  // Members, not pointers: the restart destroys the first form.
  struct Case {
    Edit TfrmVermittler::*field;
    std::string typed, kept;
  } cases[] = {
      {&TfrmVermittler::edV_Firma, std::string(2000, 'x'), std::string(1023, 'x')},
      {&TfrmVermittler::edV_PLZ, std::string(1500, '1'), std::string(1021, '1')},
      {&TfrmVermittler::edV_Ansprechpartner, "Łukasz Wałęsa – Müller € 5",
       "ukasz Wasa – Müller € 5"},
      {&TfrmVermittler::edV_Ort, "Gdańsk", "Gdask"},
  };
  for (const Case& c : cases) (v.*c.field).userSetText(c.typed);
  for (const Case& c : cases) EXPECT_EQ((v.*c.field).text(), c.kept) << (v.*c.field).name();
  v.sbV_Speichern.userClick();

  TfrmVermittler& again = *createApp().frmVermittler;
  for (const Case& c : cases) EXPECT_EQ((again.*c.field).text(), c.kept) << (again.*c.field).name();
  EXPECT_TRUE(dialogs.messages().empty());
}

TEST_F(VermittlerTest, SaveChecksCompanyThenContact) {
  TfrmVermittler& v = *createApp().frmVermittler;
  v.show();
  v.sbV_Speichern.userClick();
  v.edV_Firma.userSetText("Muster GmbH");
  v.sbV_Speichern.userClick();
  EXPECT_EQ(dialogs.messages(),
            (std::vector<std::string>{"Prüfung: Bitte den Namen der Firma angeben!",
                                      "Prüfung: Bitte den Ansprechpartner angeben!"}));
  EXPECT_EQ(v.focused(), &v.edV_Ansprechpartner);
  EXPECT_FALSE(core::fileExists(path("Vermitd.dat")));
  EXPECT_FALSE(v.agentDataValid());
}

TEST_F(VermittlerTest, AFileThatCannotBeWrittenIsReported) {
  std::filesystem::create_directories(path("Vermitd.dat/x"));
  TfrmVermittler& v = *createApp().frmVermittler;
  v.show();
  v.edV_Firma.userSetText("Muster GmbH");
  v.edV_Ansprechpartner.userSetText("Erika");
  v.sbV_Speichern.userClick();
  EXPECT_EQ(
      dialogs.messages(),
      (std::vector<std::string>{"Fehler: Die Datei 'Vermitd.dat' konnte nicht erzeugt werden!"}));
  EXPECT_TRUE(v.visible());
  EXPECT_FALSE(v.agentDataValid());
}

TEST_F(VermittlerTest, DiscountIsKeptOnlyWithSaveSetting) {
  std::vector<std::string> lines = agentFile();
  lines[14] = setting(std::string(kKey) + "@3");
  lines[20] = setting(std::string(kKey) + "@6");
  writeLines("Vermitd.dat", lines);
  TfrmVermittler& v = *createApp().frmVermittler;
  EXPECT_TRUE(dialogs.shown().empty());  // the current key asks nothing
  EXPECT_EQ(v.cb_Rabat.text(), "15");
  EXPECT_TRUE(v.cb_Rabat.visible());
  EXPECT_TRUE(v.cb_Rabat.enabled());
  EXPECT_EQ(v.cb_ZuzahlKunde.text(), "30");
  EXPECT_FALSE(v.cbSaveRabat.checked());

  v.cb_Rabat.setItemIndex(4);
  ASSERT_TRUE(v.writeAgentFile());
  const auto saved = readLines("Vermitd.dat");
  EXPECT_EQ(core::decodeValue(saved[14]), std::string(kKey) + "@0");
  EXPECT_EQ(core::decodeValue(saved[20]), std::string(kKey) + "@6");

  TfrmVermittler& again = *createApp().frmVermittler;
  EXPECT_EQ(again.cb_Rabat.itemIndex(), 0);
  EXPECT_EQ(again.cb_ZuzahlKunde.itemIndex(), 6);
}

std::vector<std::string> oldKeyFile() {
  std::vector<std::string> lines = agentFile();
  lines[14] = setting("ALT@3");
  lines[15] = setting("ALT@2");
  lines[20] = setting("ALT@5");
  lines[21] = setting("ALT@1");
  lines[22] = "SR";
  return lines;
}

TEST_F(VermittlerTest, NewKeyAsksOnceAndTheRightCodeKeepsAll) {
  writeLines("Vermitd.dat", oldKeyFile());
  dialogs.answerText(kKey);
  TfrmVermittler& v = *createApp().frmVermittler;
  ASSERT_EQ(dialogs.shown().size(), 1u);
  EXPECT_EQ(dialogs.shown()[0].caption, "Kennwort");
  EXPECT_EQ(dialogs.shown()[0].text, "Intern (neues Kennwort):");
  EXPECT_EQ(v.cb_Rabat.itemIndex(), 3);
  EXPECT_EQ(v.cb_RabatZSp.itemIndex(), 2);
  EXPECT_EQ(v.cb_ZuzahlKunde.itemIndex(), 5);
  EXPECT_EQ(v.cb_ZuzahlKundeZSp.itemIndex(), 1);
  const auto rewritten = readLines("Vermitd.dat");
  EXPECT_EQ(core::decodeValue(rewritten[14]), std::string(kKey) + "@3");
  EXPECT_EQ(core::decodeValue(rewritten[21]), std::string(kKey) + "@1");
}

TEST_F(VermittlerTest, AWrongCodeDropsTheSettings) {
  writeLines("Vermitd.dat", oldKeyFile());
  for (int i = 0; i < 4; ++i) dialogs.answerText("falsch");
  TfrmVermittler& v = *createApp().frmVermittler;
  EXPECT_TRUE(dialogs.allAnswersUsed());
  EXPECT_EQ(dialogs.messages(), std::vector<std::string>(4, "Prüfung: Kennwort nicht korrekt!"));
  for (const ComboBox* list :
       {&v.cb_Rabat, &v.cb_RabatZSp, &v.cb_ZuzahlKunde, &v.cb_ZuzahlKundeZSp}) {
    EXPECT_EQ(list->itemIndex(), 0);
    EXPECT_FALSE(list->visible());
  }
  const auto rewritten = readLines("Vermitd.dat");
  ASSERT_EQ(rewritten.size(), 24u);
  for (int line : {14, 15, 20, 21}) EXPECT_EQ(rewritten[line], "");
  EXPECT_TRUE(v.agentDataValid());
}

TEST_F(VermittlerTest, UnreadableSettingLinesAreDroppedAndRewritten) {
  for (const std::string& bad :
       {std::string("ZZ"), setting("FQ2026"), setting("FQ2026@drei"), setting("FQ2026@")}) {
    SCOPED_TRACE(bad);
    nextCase();
    std::vector<std::string> lines = agentFile();
    lines[14] = bad;
    lines[20] = setting(std::string(kKey) + "@2");
    writeLines("Vermitd.dat", lines);
    TfrmVermittler& v = *createApp().frmVermittler;
    EXPECT_TRUE(dialogs.shown().empty());
    EXPECT_TRUE(v.agentDataValid());
    EXPECT_EQ(v.cb_Rabat.itemIndex(), 0);
    EXPECT_EQ(v.cb_ZuzahlKunde.itemIndex(), 2);
    const auto rewritten = readLines("Vermitd.dat");
    EXPECT_EQ(rewritten[14], "");
    EXPECT_EQ(core::decodeValue(rewritten[20]), std::string(kKey) + "@2");
  }
}

TEST_F(VermittlerTest, InternalCodeUnlocksTheSalesSettings) {
  TfrmVermittler& v = *createApp().frmVermittler;
  dialogs.answerText("");
  v.sbMaxBZD.userClick();
  dialogs.answerText("falsch");
  v.sbMaxBZD.userClick();
  EXPECT_EQ(dialogs.messages(), std::vector<std::string>{"Prüfung: Kennwort nicht korrekt!"});
  EXPECT_FALSE(v.cb_Rabat.visible());

  dialogs.answerText(kKey);
  v.sbMaxBZD.userClick();
  EXPECT_EQ(dialogs.shown().back().text, "Intern Rabatierung:");
  for (const ComboBox* list :
       {&v.cb_Rabat, &v.cb_RabatZSp, &v.cb_ZuzahlKunde, &v.cb_ZuzahlKundeZSp}) {
    EXPECT_TRUE(list->visible());
    EXPECT_TRUE(list->enabled());
  }
  EXPECT_TRUE(v.lb_RabatProzZSp.visible());
  EXPECT_TRUE(v.cbSaveRabat.visible());
  EXPECT_EQ(v.focused(), &v.cb_Rabat);
}

TEST_F(VermittlerTest, DateHintFlagFollowsTheLastLine) {
  std::vector<std::string> lines = agentFile();
  lines[23] = "K";
  writeLines("Vermitd.dat", lines);
  EXPECT_FALSE(createApp().frmVermittler->cbDatumshinweis.checked());
  EXPECT_FALSE(core::regionalSettingsHint());
  nextCase();
  lines[23] = "x";
  writeLines("Vermitd.dat", lines);
  EXPECT_TRUE(createApp().frmVermittler->cbDatumshinweis.checked());
  EXPECT_TRUE(core::regionalSettingsHint());
}

TEST_F(VermittlerTest, ApplicationFormComesFromSetupWhenTheFileHasNone) {
  writeLines("SETUP.INI", {"[Setup]", "AF=antrag_setup.pdf"});
  std::vector<std::string> lines = agentFile();
  lines.resize(13);
  writeLines("Vermitd.dat", lines);
  EXPECT_EQ(createApp().frmVermittler->ed_Antrag.text(), "antrag_setup.pdf");
}

TEST_F(VermittlerTest, WindowPlaceIsKeptPerUser) {
  App& a = createApp();
  a.frmVermittler->show();
  a.frmVermittler->geometry = {100, 200, 500, 600};
  a.frmVermittler->hide();  // deactivation stores the position
  ::setenv("USERNAME", "zweiter", 1);
  EXPECT_EQ(createApp().frmVermittler->geometry.top, core::kNotStored);
  ::setenv("USERNAME", "tester", 1);
  const Form::Geometry g = createApp().frmVermittler->geometry;
  EXPECT_EQ(g.top, 100);
  EXPECT_EQ(g.left, 200);
}

TEST_F(VermittlerTest, ClosingEndsTheProgram) {
  App& a = createApp();
  a.frmVermittler->show();
  a.frmVermittler->close();
  EXPECT_TRUE(a.quitRequested());
}

}  // namespace
}  // namespace fondaris::forms::testing
