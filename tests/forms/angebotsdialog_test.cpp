#include <set>

#include "bank/bank_table.h"
#include "forms/angebotsdialog/tfrm_angebotsdialog.h"
#include "forms/pruefung/tfrm_pruefung.h"
#include "tests/support/forms_fixture.h"
#include "tests/support/scripted_dialogs.h"

namespace fondaris::forms::testing {
namespace {

// The bank table built from the sample bank codes, loaded once.
const bank::BankTable& builtBanks() {
  static const bank::BankTable table = [] {
    test_support::ScriptedDialogs quiet;
    return bank::loadBankTable(test_support::bankDataFolder(), "BLZ.DAT", quiet);
  }();
  return table;
}

class AngebotsdialogTest : public FormsTest {
 protected:
  void SetUp() override {
    FormsTest::SetUp();
    startProgram();
  }

  // A new run of the program on a fresh folder, for each row of a table.
  void fresh() {
    nextCase();
    startProgram();
  }

  void startProgram() {
    writeLines("Vermitd.dat", agentFile());
    createApp();
    form = app->frmAngebotsdialog.get();
    customer = app->frmAngebotsdaten.get();
  }

  // The customer born on `birth`, the contract starting on `start`, then "An&trag".
  void prepareFor(const char* birth, const char* start = "01.01.2027", bool secondVariant = false,
                  ApplicationStart with = {}) {
    customer->medVN_Geburtstag.setText(birth);
    app->frmVertagsdaten->med_Vbeginn.setText(start);
    customer->medVN_GeburtstagExit(nullptr);
    (secondVariant ? customer->rbProd1 : customer->rbProd).setChecked(true);
    if (!with.banks) with.banks = &builtBanks();
    form->prepare(with);
  }

  TfrmAngebotsdialog* form = nullptr;
  TfrmAngebotsdaten* customer = nullptr;
};

TEST_F(AngebotsdialogTest, ConstructionDefaults) {
  TfrmAngebotsdialog& f = *form;
  EXPECT_EQ(f.caption(), app->frmStartmaske->caption() + " - Antrag");
  EXPECT_EQ(f.tsAnleger1.caption(), "Anlegerfragebogen Teil 1");
  EXPECT_EQ(f.tsVertreter2.caption(), "2. Gesetzliche Vertretung");
  for (const Control* first : std::initializer_list<const Control*>{
           &f.cbZF_Kontoart, &f.cbZF_UebEinzug, &f.cbKontoEZ, &f.cbEigeneRechnung, &f.cb_Firma_Land,
           &f.cbWD_Land, &f.cbGV_Land, &f.cb_EEG, &f.cb_EEGTermin, &f.cbRefKonto})
    EXPECT_EQ(first->itemIndex(), 0) << first->name();
  EXPECT_EQ(f.cbZiel1.items().front(), "1");
  EXPECT_EQ(f.cbZiel3.items().back(), "99");
  EXPECT_TRUE(f.rbNeinPost.checked());
  EXPECT_EQ(f.medBP_Datum.text(), "  .  .    ");
  EXPECT_EQ(f.medBP_Von.text(), "  :  ");
  for (const Control* hidden : std::initializer_list<const Control*>{
           &f.boxKontoEZ, &f.boxKonto, &f.edEinkommen, &f.edZF_GebOrt, &f.cbKontoEZ, &f.medZE_Datum,
           &f.edZE_Konto, &f.medEEG_Datum, &f.edRechnungName, &f.edWD_SteuerID, &f.sb_WieKonto})
    EXPECT_FALSE(hidden->visible()) << hidden->name();
  EXPECT_TRUE(f.edZB_Konto.visible());  // "Per Zahlschein"
  // Typed text keeps to what the files hold.
  f.edWD_Nachname.userSetText("Łukasiewicz-Nowak");
  EXPECT_EQ(f.edWD_Nachname.text(), "ukasiewicz-Nowak");
  f.edGV_GebOrt.userSetText(std::string(2000, 'x'));
  EXPECT_EQ(f.edGV_GebOrt.text().size(), 100u);
  // The sample product data name the application forms.
  EXPECT_FALSE(f.applicationFormVl.empty());
  EXPECT_GT(f.singlePaymentLoad, 0.0);
  EXPECT_TRUE(dialogs.shown().empty());
}

TEST_F(AngebotsdialogTest, PreparationByAgeAndVariant) {
  struct Case {
    const char* birth;
    const char* start;
    bool secondVariant;
    bool minor;
    bool employerPage;
  } cases[] = {
      {"15.12.2009", "01.03.2027", false, true, true},   // 18 by calendar year, 17 completed
      {"01.03.2009", "01.03.2027", false, true, true},   // birthday on the start: not yet 18
      {"28.02.2009", "01.03.2027", true, false, false},  // 18 the day before the start
      {"01.01.1980", "01.01.2027", true, false, false},
      {"01.01.2015", "01.01.2027", true, true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.birth) + " / " + c.start);
    fresh();
    prepareFor(c.birth, c.start, c.secondVariant);
    TfrmAngebotsdialog& f = *form;
    EXPECT_EQ(f.policyholderIsMinor(), c.minor);
    EXPECT_TRUE(f.visible());
    EXPECT_EQ(f.pageDaten.activePage(), 0);
    EXPECT_TRUE(f.tsVertreter1.tabVisible());
    EXPECT_EQ(f.tsVertreter2.tabVisible(), c.minor);
    EXPECT_EQ(f.tsArbeitgeber.tabVisible(), c.employerPage);
    EXPECT_EQ(f.cbWD_Art.itemIndex(), c.minor ? 0 : -1);
    EXPECT_FALSE(f.edWD_SteuerID.visible());
    EXPECT_TRUE(dialogs.shown().empty());
  }
}

TEST_F(AngebotsdialogTest, PreparationFillsOnlyWhatIsEmpty) {
  TfrmAngebotsdialog& f = *form;
  customer->edVN_Strasse.setText("Lindenweg 3");
  customer->edVN_Ort.setText("Köln");
  customer->edVN_PLZ.setText("50667");
  f.edGV_Ort.setText("Bonn");
  f.cbZiel2.userSelect(40);  // kept, but beyond the limit
  f.cbZiel3.userSelect(3);   // kept
  prepareFor("01.01.2012", "01.01.2027", false,
             {.investmentPeriodIndex = 10, .paymentAtStart = true, .singleInvestment = false});
  EXPECT_EQ(f.edWD_Strasse.text(), "Lindenweg 3");
  EXPECT_EQ(f.edWD_Ort.text(), "Köln");
  EXPECT_EQ(f.edGV_PLZ.text(), "50667");
  EXPECT_EQ(f.edGV_Ort.text(), "Bonn");
  EXPECT_EQ(f.goalLimit(), 14);
  EXPECT_EQ(f.cbZiel1.text(), "15");
  EXPECT_EQ(f.cbZiel2.text(), "15");
  EXPECT_EQ(f.cbZiel3.text(), "4");
  EXPECT_TRUE(f.boxKontoZB.visible());
  EXPECT_EQ(f.boxKontoZB.caption(), "Bankverbindung Zuzahlung zu Beginn zum Einrichtungsentgelt");
  EXPECT_FALSE(f.boxKontoEZ.visible());
  ASSERT_EQ(f.cbZF_BLZ.itemCount(), static_cast<int>(builtBanks().count()));
  EXPECT_EQ(f.cbZB_BLZ.items().front(), builtBanks().records.front().code);

  // A second visit keeps the agent's choices and lists.
  f.cbZiel1.userSelect(2);
  f.hide();
  prepareFor("01.01.2012", "01.01.2027", false,
             {.investmentPeriodIndex = 10,
              .paymentAtStart = true,
              .paymentAtStartCaption = "Bankverbindung Vorabzahlung auf das Einrichtungsentgelt",
              .singleInvestment = true});
  EXPECT_EQ(f.cbZiel1.text(), "3");
  EXPECT_EQ(f.boxKontoZB.caption(), "Bankverbindung Vorabzahlung auf das Einrichtungsentgelt");
  EXPECT_TRUE(f.boxKontoEZ.visible());
}

TEST_F(AngebotsdialogTest, NavigationSkipsHiddenPages) {
  TfrmAngebotsdialog& f = *form;
  prepareFor("01.01.1980", "01.01.2027", true);  // adult, second variant: pages 5 and 7 hidden
  f.sbLetzterClick(nullptr);
  EXPECT_EQ(f.pageDaten.activePage(), 5);
  f.sbNachClick(nullptr);
  EXPECT_EQ(f.pageDaten.activePage(), 5);
  f.sbVorherClick(nullptr);
  EXPECT_EQ(f.pageDaten.activePage(), 3);
  std::vector<int> forward;
  f.sbErsteClick(nullptr);
  for (int i = 0; i < 7; ++i) {
    forward.push_back(f.pageDaten.activePage());
    f.sbNachClick(nullptr);
  }
  EXPECT_EQ(forward, (std::vector<int>{0, 1, 2, 3, 5, 5, 5}));
  f.sbErsteClick(nullptr);
  f.sbVorherClick(nullptr);
  EXPECT_EQ(f.pageDaten.activePage(), 0);
}

TEST_F(AngebotsdialogTest, BackToTheContractFormKeepsEverything) {
  TfrmAngebotsdialog& f = *form;
  prepareFor("01.01.1980");
  f.ed_WpHG_Beruf.userSetText("Tischler");
  f.cb_ZurueckClick(nullptr);
  EXPECT_FALSE(f.visible());
  EXPECT_TRUE(app->frmVertagsdaten->visible());
  prepareFor("01.01.1980");
  EXPECT_EQ(f.ed_WpHG_Beruf.text(), "Tischler");
}

// Today is 5 December 2026.
TEST_F(AngebotsdialogTest, DateFieldsCheckAndRewrite) {
  struct Case {
    const char* field;
    const char* typed;
    const char* shown;
    const char* message;  // caption "Datumsprüfung" unless it names its own
  } cases[] = {
      {"medWD_Geburtstag", "6.12.2026", "06.12.2026", "Das Geburtsdatum liegt in der Zukunft!"},
      {"medGV_Geburtstag", "05.12.2026", "05.12.2026", ""},
      {"medVN_Ausdat", "06.12.2026", "06.12.2026", "Der Ausweis wurde in der Zukunft ausgestellt!"},
      {"medWD_Ausdat", "01.01.2020", "01.01.2020", ""},
      {"medVN_Ausbis", "05.12.2026", "05.12.2026", "Der Ausweis ist nicht mehr gültig!"},
      {"medWD_Ausbis", "06.12.26", "06.12.2026", ""},
      {"medGV_Ausbis", "01.01.2026", "01.01.2026", "Der Ausweis ist nicht mehrgültig!"},
      {"medBP_Datum", "08.11.2026", "08.11.2026", ""},  // 27 days back
      {"medBP_Datum", "07.11.2026", "07.11.2026",
       "Die Beratung darf nicht mehr als 4 Wochen zurückliegen!"},
      {"medBP_Datum", "06.12.2026", "06.12.2026", "Die Beratung fand in der Zukunft statt?"},
      {"medZE_Datum", "01.12.2026", "05.12.2026", ""},
      {"medEEG_Datum", "24.12.2026", "24.12.2026", ""},
      {"medEEG_Datum", "24.  .    ", "24.12.2026", ""},  // completed with this month and year
      {"medWD_Geburtstag", "  .  .    ", "  .  .    ", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.field) + " " + c.typed);
    dialogs.clear();
    Control& field = *form->find(c.field);
    field.userSetText(c.typed);
    field.onExit(&field);
    EXPECT_EQ(field.text(), c.shown);
    const std::vector<std::string> expected =
        *c.message ? std::vector<std::string>{std::string("Datumsprüfung: ") + c.message}
                   : std::vector<std::string>{};
    EXPECT_EQ(dialogs.messages(), expected);
  }
  dialogs.clear();
  form->medWD_Geburtstag.userSetText("31.02.2000");
  form->medWD_GeburtstagExit(nullptr);
  ASSERT_EQ(dialogs.messages().size(), 1u);
  EXPECT_EQ(dialogs.shown()[0].caption, "Fehler");
  EXPECT_EQ(form->medWD_Geburtstag.text(), "31.02.2000");
}

TEST_F(AngebotsdialogTest, ConsultationTimes) {
  TfrmAngebotsdialog& f = *form;
  clock.set(*core::encodeDate(2026, 12, 5) + *core::encodeTime(14, 30, 0));
  f.sb_HeuteClick(nullptr);
  EXPECT_EQ(f.medBP_Datum.text(), "05.12.2026");

  f.sb_JetztClick(nullptr);  // empty start
  EXPECT_EQ(f.medBP_Bis.text(), "14:30");
  f.medBP_Von.userSetText("  :45");
  f.medBP_VonExit(nullptr);
  EXPECT_EQ(f.medBP_Von.text(), "00:45");
  f.medBP_Von.userSetText("15:  ");
  f.medBP_VonExit(nullptr);
  EXPECT_EQ(f.medBP_Von.text(), "15:00");
  EXPECT_EQ(dialogs.messages(),
            std::vector<std::string>{
                "Zeitraum Beratung: Der angegebene Zeitraum stimmt nicht! Bitte prüfen."});
  dialogs.clear();
  f.sb_JetztClick(nullptr);
  EXPECT_EQ(dialogs.messages(), std::vector<std::string>{"Zeitraum Beratung: Nicht möglich!"});
  EXPECT_EQ(f.medBP_Bis.text(), "14:30");

  dialogs.clear();
  f.medBP_Von.userSetText("14:30");
  f.medBP_VonExit(nullptr);  // equal times are fine
  f.medBP_Bis.userSetText("25:00");
  f.medBP_BisExit(nullptr);
  ASSERT_EQ(dialogs.shown().size(), 1u);
  EXPECT_EQ(dialogs.shown()[0].caption, "Fehler");
}

TEST_F(AngebotsdialogTest, VisibilityRules) {
  TfrmAngebotsdialog& f = *form;
  f.cbEigeneRechnung.userSelect(1);
  EXPECT_TRUE(f.edRechnungName.visible());
  f.cbEigeneRechnung.userSelect(0);
  EXPECT_FALSE(f.edRechnungName.visible());

  f.cbRefKonto.userSelect(1);
  EXPECT_TRUE(f.boxKonto.visible());
  EXPECT_TRUE(f.sb_WieKonto.visible());

  // Debit from a further account at a later date: every dependent field follows.
  f.cbZE_UebEinzug.userSelect(1);
  EXPECT_TRUE(f.cbKontoEZ.visible());
  EXPECT_TRUE(f.cbZE_UebDatum.visible());
  f.cbKontoEZ.userSelect(1);
  f.cbZE_UebDatum.userSelect(1);
  EXPECT_TRUE(f.edZE_Konto.visible());
  EXPECT_TRUE(f.medZE_Datum.visible());
  f.cbZE_UebEinzug.userSelect(0);
  for (const Control* gone : std::initializer_list<const Control*>{
           &f.cbKontoEZ, &f.cbZE_UebDatum, &f.edZE_Konto, &f.edZE_Kontoinhaber, &f.medZE_Datum})
    EXPECT_FALSE(gone->visible()) << gone->name();

  f.cb_EEG.userSelect(1);
  EXPECT_FALSE(f.edZB_Konto.visible());
  EXPECT_FALSE(f.sb_WieRefKonto.visible());
  f.cb_EEG.userSelect(0);
  EXPECT_TRUE(f.cbZB_BLZ.visible());
  f.cb_EEGTermin.userSelect(1);
  EXPECT_TRUE(f.medEEG_Datum.visible());

  f.cbWD_Art.userSelect(1);
  EXPECT_TRUE(f.edWD_SteuerID.visible());

  f.edEinkommen.userSetText("2.000,00");
  f.edAusgaben.userSetText("2.000,01");
  f.edAusgabenExit(nullptr);
  f.edEinkommen.userSetText("");
  f.edAusgabenExit(nullptr);
  EXPECT_EQ(dialogs.messages(),
            std::vector<std::string>{"Prüfung: Die Ausgaben sind höher als die Einmahmen!"});
}

TEST_F(AngebotsdialogTest, GoalDurationsStayWithinTheLimit) {
  TfrmAngebotsdialog& f = *form;
  prepareFor("01.01.1980", "01.01.2027", false, {.investmentPeriodIndex = 2});
  EXPECT_EQ(f.goalLimit(), 6);
  f.cbZiel1.userSelect(20);
  EXPECT_EQ(f.cbZiel1.text(), "7");
  f.cbZiel2.userSetText("50");
  EXPECT_EQ(f.cbZiel2.text(), "7");
  f.cbZiel3.userSetText("5");
  EXPECT_EQ(f.cbZiel3.itemIndex(), 4);
}

TEST_F(AngebotsdialogTest, CopyButtons) {
  TfrmAngebotsdialog& f = *form;
  customer->edVN_Vorname.setText("Jan");
  customer->edVN_Nachname.setText("Nowak");
  customer->edVN_Strasse.setText("Am Markt 1");
  customer->edVN_Ort.setText("Görlitz");
  customer->edVN_PLZ.setText("02826");
  prepareFor("01.01.1980");
  f.sb_GVAdrClick(nullptr);
  EXPECT_EQ(f.edGV_Strasse.text(), "Am Markt 1");
  EXPECT_EQ(f.edGV_Ort.text(), "Görlitz");
  EXPECT_EQ(f.cbGV_Land.text(), "D");

  // 10000000: the Bundesbank in Berlin, first record of the bank file.
  f.cbZF_BLZ.userSetText("10000000");
  f.cbZF_BLZExit(nullptr);
  f.edZF_Konto.userSetText("532013000");
  f.edZF_KontoExit(nullptr);
  f.sb_WieRefKontoClick(nullptr);
  EXPECT_EQ(f.edZB_Konto.text(), "532013000");
  EXPECT_EQ(f.cbZB_BLZ.text(), "10000000");
  EXPECT_EQ(f.edZB_BIC.text(), f.edZF_BIC.text());
  EXPECT_EQ(f.edZB_IBAN.text(), f.edZF_IBAN.text());
  EXPECT_EQ(f.edZB_KI.text(), "Bundesbank");
  EXPECT_EQ(f.edZB_KIOrt.text(), "10591 Berlin");
  EXPECT_EQ(f.edZB_Kontoinhaber.text(), "Jan Nowak");
  f.edWD_Vorname.setText("Anna");
  f.edWD_Nachname.setText("Nowak");
  f.cbZF_Kontoart.userSelect(1);
  f.sb_WieRefKontoClick(nullptr);
  EXPECT_EQ(f.edZB_Kontoinhaber.text(), "Anna Nowak");

  // An account whose bank code is not in the table keeps the typed bank name.
  f.cbRefKonto.userSelect(1);
  f.cbZP_BLZ.setText("99999999");
  f.edZP_KI.setText("Hausbank");
  f.edZP_Kontoinhaber.setText("Firma Nowak");
  f.sb_WieKontoClick(nullptr);
  EXPECT_EQ(f.cbZB_BLZ.text(), "99999999");
  EXPECT_EQ(f.edZB_KI.text(), "Hausbank");
  EXPECT_EQ(f.edZB_Kontoinhaber.text(), "Firma Nowak");
  EXPECT_TRUE(dialogs.shown().empty());
}

// Real bank codes of the bank file built from the Bundesbank file.
TEST_F(AngebotsdialogTest, BankCodeExits) {
  TfrmAngebotsdialog& f = *form;
  prepareFor("01.01.1980", "01.01.2027", false, {.paymentAtStart = true});
  struct Case {
    Control& code;
    Control& account;
    const char* typed;
    const char* accountNumber;
    const char* bic;
    const char* bankName;
    const char* place;  // ZB only
    const char* iban;
  } cases[] = {
      {f.cbZF_BLZ, f.edZF_Konto, "10000000", "", "MARKDEF1100", "Bundesbank, Berlin", nullptr, ""},
      {f.cbZP_BLZ, f.edZP_Konto, "20210200", "0240334000", "MELIDEHHXXX",
       "Bank Melli Iran, Hamburg", nullptr, "DE77202102000240334000"},
      {f.cbZB_BLZ, f.edZB_Konto, "10000000", "532013000", "MARKDEF1100", "Bundesbank",
       "10591 Berlin", "DE98100000000532013000"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code.name());
    c.account.userSetText(c.accountNumber);
    c.code.userSetText(c.typed);
    c.code.onExit(&c.code);
    const std::string prefix = c.code.name().substr(2, 2);
    EXPECT_EQ(f.find("ed" + prefix + "_BIC")->text(), c.bic);
    EXPECT_EQ(f.find("ed" + prefix + "_KI")->text(), c.bankName);
    if (c.place) {
      EXPECT_EQ(f.edZB_KIOrt.text(), c.place);
    }
    EXPECT_EQ(f.find("ed" + prefix + "_IBAN")->text(), c.iban);
  }
  EXPECT_TRUE(dialogs.shown().empty());

  // Unknown code: message, the bank's fields cleared, the account and IBAN kept.
  f.cbZB_BLZ.userSetText("12345678");
  f.cbZB_BLZExit(nullptr);
  EXPECT_EQ(dialogs.messages(),
            std::vector<std::string>{
                "Bankleitzahl: Unbekannt Bankleitzahl (BLZ) '12345678' eingegeben! Bitte prüfen."});
  EXPECT_EQ(f.edZB_BIC.text(), "");
  EXPECT_EQ(f.edZB_KI.text(), "");
  EXPECT_EQ(f.edZB_KIOrt.text(), "");
  EXPECT_EQ(f.edZB_Konto.text(), "532013000");

  // An emptied code clears silently; an emptied account leaves the IBAN alone.
  dialogs.clear();
  f.cbZF_BLZ.userSetText("");
  f.cbZF_BLZExit(nullptr);
  EXPECT_EQ(f.edZF_KI.text(), "");
  EXPECT_TRUE(dialogs.shown().empty());
  f.edZP_Konto.userSetText("");
  f.edZP_KontoExit(nullptr);
  EXPECT_EQ(f.edZP_IBAN.text(), "DE77202102000240334000");

  // Picking from the list is the same as typing.
  f.cbZF_BLZ.userSelect(0);
  EXPECT_EQ(f.edZF_KI.text(), builtBanks().records[0].name + ", " + builtBanks().records[0].place);
}

// 20210200 / 0240334000: an example pair of the check-digit library's README.
TEST_F(AngebotsdialogTest, CheckDigitWarning) {
  TfrmAngebotsdialog& f = *form;
  prepareFor("01.01.1980");
  f.cbZF_BLZ.userSetText("20210200");
  f.edZF_Konto.userSetText("0240334001");  // one digit mistyped
  f.cbZF_BLZExit(nullptr);
  EXPECT_EQ(dialogs.messages(),
            std::vector<std::string>{
                "Kontonummer: Die Kontonummer '0240334001' passt nach dem Prüfziffernverfahren "
                "der Bank nicht zur Bankleitzahl '20210200'. Bitte prüfen."});
  EXPECT_EQ(f.edZF_IBAN.text(), "DE50202102000240334001");  // a warning, no block
  const auto findings = f.completenessFindings();
  EXPECT_NE(std::find(findings.begin(), findings.end(),
                      " Kontonummer bei der Referenzbank passt nicht zur Prüfziffer der BLZ"),
            findings.end());

  dialogs.clear();
  f.edZF_Konto.userSetText("0240334000");
  f.edZF_KontoExit(nullptr);
  EXPECT_TRUE(dialogs.shown().empty());
  const auto after = f.completenessFindings();
  EXPECT_EQ(std::count_if(after.begin(), after.end(),
                          [](const std::string& s) { return s.find("Prüfziffer") != s.npos; }),
            0);
}

// Bank codes hold eight digits, account numbers ten, and nothing else can be typed into them.
TEST_F(AngebotsdialogTest, BankCodesAndAccountsTakeDigitsOnly) {
  TfrmAngebotsdialog& f = *form;
  const struct {
    Control& field;
    const char* kept;
  } cases[] = {
      {f.cbZF_BLZ, "12345678"},     {f.cbZP_BLZ, "12345678"},     {f.cbZB_BLZ, "12345678"},
      {f.edZE_BLZ, "12345678"},     {f.edZF_Konto, "1234567890"}, {f.edZP_Konto, "1234567890"},
      {f.edZB_Konto, "1234567890"}, {f.edZE_Konto, "1234567890"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.field.name());
    c.field.userSetText("12ab34 5678-90123");
    EXPECT_EQ(c.field.text(), c.kept);
    c.field.setText("123456789012");
    EXPECT_EQ(c.field.text(), std::string("123456789012").substr(0, c.field.maxLength()));
  }
}

// The warnings of a bank exit come after the fields: behind the box, the form already shows the
// new bank and IBAN.
TEST_F(AngebotsdialogTest, BankExitFillsTheFieldsBeforeItWarns) {
  TfrmAngebotsdialog& f = *form;
  prepareFor("01.01.1980");
  std::vector<std::string> behind;
  dialogs.onShow = [&] { behind.push_back(f.edZF_KI.text() + " | " + f.edZF_IBAN.text()); };
  const struct {
    const char* code;
    const char* account;
    const char* seen;
  } cases[] = {
      {"99999999", "532013000", " | DE44999999990532013000"},
      {"20210200", "0240334001", "Bank Melli Iran, Hamburg | DE50202102000240334001"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.code);
    f.edZF_KI.setText("Bundesbank, Berlin");
    f.edZF_IBAN.setText("DE98100000000532013000");
    f.edZF_Konto.setText(c.account);
    f.cbZF_BLZ.userSetText(c.code);
    behind.clear();
    dialogs.clear();
    f.cbZF_BLZExit(nullptr);
    EXPECT_EQ(dialogs.messages().size(), 1u);
    EXPECT_EQ(behind, std::vector<std::string>{c.seen});
  }
}

// An account number from a file that is no number is named when the field is left.
TEST_F(AngebotsdialogTest, AccountThatIsNoNumberIsNamed) {
  TfrmAngebotsdialog& f = *form;
  prepareFor("01.01.1980");
  f.cbZF_BLZ.setText("10000000");
  f.edZF_Konto.setText("12ab34");
  f.edZF_KontoExit(nullptr);
  EXPECT_EQ(dialogs.messages(),
            std::vector<std::string>{"Kontonummer: Die Kontonummer '12ab34' enthält andere "
                                     "Zeichen als Ziffern. Bitte prüfen."});
}

TEST_F(AngebotsdialogTest, WithoutBankFileEveryCodeIsUnknown) {
  TfrmAngebotsdialog& f = *form;
  const bank::BankTable none;
  prepareFor("01.01.1980", "01.01.2027", false, {.banks = &none});
  EXPECT_EQ(f.cbZF_BLZ.itemCount(), 0);
  f.cbZF_BLZ.userSetText("10000000");
  f.cbZF_BLZExit(nullptr);
  EXPECT_EQ(dialogs.messages().size(), 1u);
}

// A form in which nothing is missing; each case then takes one thing away.
class CompletenessTest : public AngebotsdialogTest {
 protected:
  void fillComplete(bool minor) {
    TfrmVermittler& agent = *app->frmVermittler;
    agent.edV_Firma.setText("Muster GmbH");
    agent.edV_Telefon.setText("030 123");
    agent.edV_Vermittlernr2.setText("60002");
    TfrmAngebotsdaten& c = *customer;
    for (auto [field, text] : {std::pair{&c.edVN_Nachname, "Nowak"},
                               {&c.edVN_Vorname, "Jan"},
                               {&c.edVN_Strasse, "Am Markt 1"},
                               {&c.edVN_PLZ, "02826"},
                               {&c.edVN_Ort, "Görlitz"},
                               {&c.edVN_GebOrt, "Zgorzelec"},
                               {&c.edVN_GebLand, "Polen"},
                               {&c.edVN_GebName, "Nowak"},
                               {&c.edVN_Nation, "deutsch"}})
      field->setText(text);
    prepareFor(minor ? "01.06.2012" : "01.06.1980");
    TfrmAngebotsdialog& f = *form;
    f.medBP_Datum.setText("01.12.2026");
    f.medBP_Von.setText("10:00");
    f.medBP_Bis.setText("11:00");
    f.edBP_Teil1.setText("Jan Nowak");
    f.edVN_AusNr.setText("L01X00T47");
    f.edVN_Behoerde.setText("Stadt Görlitz");
    f.cbZF_BLZ.setText("10000000");
    f.edZF_KI.setText("Bundesbank, Berlin");
    f.edZF_Konto.setText("532013000");
    f.ed_WpHG_Beruf.setText("Tischler");
    f.ed_WpHG_Beruf2.setText("Tischler");
    for (RadioButton* r : {&f.rbFGIK, &f.rbRR3, &f.rbGF7, &f.rbAAM7, &f.rb25, &f.rbRNein})
      r->setChecked(true);
    f.cbVMA.setChecked(true);
    for (const char* prefix : {"WD", "GV"}) {
      const std::string p(prefix);
      for (const char* field : {"Nachname", "Vorname", "Strasse", "PLZ", "Ort", "GebOrt", "GebLand",
                                "GebName", "Nation", "AusNr", "Behoerde"})
        f.find("ed" + p + "_" + field)->setText("x");
      f.find("med" + p + "_Geburtstag")->setText("01.01.1980");
      f.find("cb" + p + "_Stand")->setItemIndex(0);
    }
    if (!minor) f.cbWD_Art.setItemIndex(1);
  }
};

TEST_F(CompletenessTest, NothingMissing) {
  for (bool minor : {false, true}) {
    SCOPED_TRACE(minor ? "minor" : "adult");
    fresh();
    fillComplete(minor);
    EXPECT_EQ(form->completenessFindings(), std::vector<std::string>{});
    form->sb_VollstaendigClick(nullptr);
    EXPECT_EQ(dialogs.messages(), std::vector<std::string>{"Prüfung: Keine Fehler gefunden!"});
    EXPECT_TRUE(form->visible());
    EXPECT_FALSE(app->frmPruefung->visible());
  }
}

TEST_F(CompletenessTest, EachFindingFromOneGap) {
  using Gap = std::function<void(TfrmAngebotsdialog&, TfrmAngebotsdaten&, TfrmVermittler&)>;
  struct Case {
    bool minor;
    Gap gap;
    std::vector<std::string> findings;
  } cases[] = {
      {false,
       [](auto& f, auto&, auto&) {
         f.edEinkommen.setText("1.000"), f.edAusgaben.setText("1.000,01");
       },
       {" Die Ausgaben sind höher als die Einmahmen"}},
      {false, [](auto& f, auto&, auto&) { f.edAusgaben.setText("1.000,01"); }, {}},
      {false,
       [](auto& f, auto&, auto&) { f.medBP_Datum.setText("  .  .    "); },
       {" Anlegerfragebogen: Das Datum fehlt"}},
      {false, [](auto& f, auto&, auto&) { f.medBP_Datum.setText("31.02.2026"); }, {}},
      {false,
       [](auto& f, auto&, auto&) { f.medBP_Von.setText("  :  "); },
       {" Anlegerfragebogen: Das Uhrzeit des Beginns der Beratung fehlt"}},
      {false,
       [](auto& f, auto&, auto&) { f.medBP_Bis.setText("  :  "); },
       {" Anlegerfragebogen: Das Uhrzeit des Ende der Beratung fehlt"}},
      {false,
       [](auto& f, auto&, auto&) { f.medBP_Von.setText("11:01"); },
       {" Anlegerfragebogen: Die Uhrzeiten der Beratung passen nicht zu einander"}},
      {false, [](auto& f, auto&, auto&) { f.medBP_Von.setText("11:00"); }, {}},
      {false,
       [](auto& f, auto&, auto&) { f.edBP_Teil1.setText(""); },
       {" Anlegerfragebogen: Keine Gesprächsteilnehmer"}},
      {false, [](auto&, auto&, auto& a) { a.edV_Firma.setText(""); }, {" Vermittlername fehlt"}},
      {false,
       [](auto&, auto&, auto& a) { a.edV_Telefon.setText(""); },
       {" Telefonnummer des Vermittlers fehlt"}},
      {false,
       [](auto&, auto&, auto& a) { a.edV_Vermittlernr2.setText(""); },
       {" Vermittlernummer (UnterVKZ) fehlt"}},
      {false,
       [](auto&, auto& c, auto&) { c.edVN_Nachname.setText(""); },
       {" Name des Depotinhabers fehlt"}},
      {false,
       [](auto&, auto& c, auto&) { c.edVN_Vorname.setText(""); },
       {" Vorname des Depotinhabers fehlt"}},
      {false,
       [](auto&, auto& c, auto&) { c.edVN_PLZ.setText(""); },
       {" Adresse (Strasse, PLZ, Ort) des Depotinhabers ist unvollständig"}},
      {false,
       [](auto&, auto& c, auto&) { c.medVN_Geburtstag.setText("  .  .    "); },
       {" Geburtsdatum des Depotinhabers fehlt"}},
      {false,
       [](auto&, auto& c, auto&) { c.edVN_GebOrt.setText(""); },
       {" Geburtsort des Depotinhabers fehlt"}},
      {false,
       [](auto&, auto& c, auto&) { c.edVN_GebLand.setText(""); },
       {" Geburtsland des Depotinhabers fehlt"}},
      {false,
       [](auto&, auto& c, auto&) { c.edVN_GebName.setText(""); },
       {" Falls zutreffend, bitte Geburtsnamen des Depotinhabers angeben"}},
      {false,
       [](auto&, auto& c, auto&) { c.cbVN_Stand.setText(""); },
       {" Familienstand des Depotinhabers fehlt"}},
      {false,
       [](auto&, auto& c, auto&) { c.edVN_Nation.setText(""); },
       {" Staatsangehörigkeit des Depotinhabers fehlt"}},
      {false,
       [](auto& f, auto&, auto&) { f.edVN_AusNr.setText(""); },
       {" Ausweisnummer des Depotinhabers fehlt"}},
      {false,
       [](auto& f, auto&, auto&) { f.edVN_Behoerde.setText(""); },
       {" Ausstellende Behörde des Ausweises des Depotinhabers fehlt"}},
      {false,
       [](auto& f, auto&, auto&) { f.edWD_GebLand.setText(""), f.edWD_Ort.setText(""); },
       {" Adresse (Strasse, PLZ, Ort) des weiteren Depotinhabers ist unvollständig",
        " Geburtsland des weiteren Depotinhabers fehlt"}},
      // Without a further account holder his page is not asked for.
      {false,
       [](auto& f, auto&, auto&) { f.cbWD_Art.setItemIndex(0), f.edWD_Nachname.setText(""); },
       {}},
      {false,
       [](auto& f, auto&, auto&) { f.edZF_KI.setText(""); },
       {" Name der Referenzbank fehlt"}},
      {false,
       [](auto& f, auto&, auto&) { f.cbZF_BLZ.setText(""); },
       {" BLZ der Referenzbank fehlt"}},
      {false,
       [](auto& f, auto&, auto&) { f.edZF_Konto.setText(""); },
       {" Kontonummer bei der Referenzbank fehlt"}},
      // An account number that is no number (from an offer file) is named, not passed over.
      {false,
       [](auto& f, auto&, auto&) { f.edZF_Konto.setText("53201 3000"); },
       {" Kontonummer bei der Referenzbank enthält andere Zeichen als Ziffern"}},
      {false,
       [](auto& f, auto&, auto&) {
         f.cbRefKonto.setVisible(true), f.cbRefKonto.setItemIndex(1);
         f.edZP_KI.setText("Bundesbank"), f.cbZP_BLZ.setText("10000000");
         f.edZP_Konto.setText("12ab34"), f.edZP_Kontoinhaber.setText("Jan Nowak");
       },
       {" Kontonummer enthält andere Zeichen als Ziffern (abw. Bankverbindung Einzug)"}},
      {false,
       [](auto& f, auto&, auto&) { f.boxKontoZB.setVisible(true), f.edZB_Konto.setText("12ab34"); },
       {" Kontonummer enthält andere Zeichen als Ziffern (Bankverbindung Zuzahlung zu Beginn)"}},
      {false,
       [](auto& f, auto&, auto&) {
         f.boxKontoEZ.setVisible(true), f.cbKontoEZ.setVisible(true);
         f.cbKontoEZ.setItemIndex(1), f.cbKontoEZClick(nullptr);
         f.edZE_Konto.setText("12ab34");
       },
       {" Kontonummer enthält andere Zeichen als Ziffern (Bankverbindung Einmalzahlung)"}},
      {false, [](auto& f, auto&, auto&) { f.edZE_Konto.setText("12ab34"); }, {}},  // hidden
      {false,
       [](auto& f, auto&, auto&) { f.cbRefKonto.setVisible(true), f.cbRefKonto.setItemIndex(1); },
       {" Name der Bank fehlt (abw. Bankverbindung Einzug)",
        " BLZ der Bank fehlt (abw. Bankverbindung Einzug)",
        " Kontonummer fehlt (abw. Bankverbindung Einzug)",
        " Name des Kontoinhabers fehlt (abw. Bankverbindung Einzug)"}},
      {false, [](auto& f, auto&, auto&) { f.cbRefKonto.setItemIndex(1); }, {}},  // hidden list
      {false,
       [](auto& f, auto&, auto&) { f.ed_WpHG_Beruf.setText(""); },
       {" Anlegerfragebogen: die Angabe des Berufs fehlt"}},
      {false,
       [](auto& f, auto&, auto&) { f.ed_WpHG_Beruf2.setText(""); },
       {" Anlegerfragebogen: die Angabe der Tätigkeiten der letzten 10 Jahre fehlt"}},
      {false,
       [](auto& f, auto&, auto&) { f.rbFGIK.setChecked(false); },
       {" Anlegerfragebogen: Erfahrungen mit Festgeld/Geldmarkt-/Immobilienfonds?"}},
      {false,
       [](auto& f, auto&, auto&) { f.rbRR3.setChecked(false); },
       {" Anlegerfragebogen: Erfahrungen mit Renten/Rentenfonds?"}},
      {false,
       [](auto& f, auto&, auto&) { f.rbGF7.setChecked(false); },
       {" Anlegerfragebogen: Gemischte Fonds?"}},
      {false,
       [](auto& f, auto&, auto&) { f.rbAAM7.setChecked(false); },
       {" Anlegerfragebogen: Erfahrungen mit Aktien/Aktienfonds?"}},
      {false,
       [](auto& f, auto&, auto&) { f.rb25.setChecked(false); },
       {" Anlegerfragebogen: Wie hoch ist das Verhältnis der geplanten Anlage zum "
        "Gesamtvermögen?"}},
      {false,
       [](auto& f, auto&, auto&) { f.cbVMA.setChecked(false); },
       {" Anlegerfragebogen: Welche Anlageziele werden mit der Anlage verfolgt?"}},
      {false,
       [](auto& f, auto&, auto&) { f.cbZiel1.setItemIndex(-1); },
       {" Anlegerfragebogen: Dauer zum Vermögensaufbau fehlt"}},
      {false,
       [](auto& f, auto&, auto&) { f.cbVS.setChecked(true), f.cbZiel2.setItemIndex(-1); },
       {" Anlegerfragebogen: Dauer zur Vorsorge fehlt"}},
      {false,
       [](auto& f, auto&, auto&) { f.cbAS.setChecked(true); },
       {" Anlegerfragebogen: Angaben zum sonstigen Anlageziel unvollständig"}},
      {false,
       [](auto& f, auto&, auto&) { f.rbRNein.setChecked(false); },
       {" Anlegerfragebogen: Verfügen Sie über Reserven, die geeignet sind, Ihren "
        "Lebensunterhalt abzusichern, ohne auf die hier geplanten Anlagen zurück zu greifen?"}},
      // Minors: no own identity papers asked for, two legal representatives instead.
      {true, [](auto& f, auto&, auto&) { f.edVN_AusNr.setText(""); }, {}},
      {true,
       [](auto& f, auto&, auto&) { f.cbWD_Art.setItemIndex(1), f.edGV_AusNr.setText(""); },
       {" 1. gesetzlicher Vertreter fehlt", " Ausweisnummer des 2. gesetzlichen Vertreters fehlt"}},
      {true,
       [](auto& f, auto&, auto&) {
         for (Control* c : f.controls())
           if (c->kind() == ControlKind::Edit && c->name().rfind("edWD_", 0) == 0) c->setText("");
         f.medWD_Geburtstag.setText("  .  .    ");
         f.cbWD_Stand.setItemIndex(-1);
         f.cbWD_Stand.setText("");
       },
       {" Name des 1. gesetzlichen Vertreters fehlt",
        " Vorname des 1. gesetzlichen Vertreters fehlt",
        " Adresse (Strasse, PLZ, Ort) des 1. gesetzlichen Vertreters ist unvollständig",
        " Geburtsdatum des 1. gesetzlichen Vertreters fehlt",
        " Geburtsort des 1. gesetzlichen Vertreters fehlt",
        " Geburtsland des 1. gesetzlichen Vertreters fehlt",
        " Falls zutreffend, bitte Geburtsname des 1. gesetzlichen Vertreters angeben",
        " Familienstand des 1. gesetzlichen Vertreters fehlt",
        " Staatsangehörigkeit des 1. gesetzlichen Vertreters fehlt",
        " Ausweisnummer des 1. gesetzlichen Vertreters fehlt",
        " Ausstellende Behörde des Ausweises des 1. gesetzlichen Vertreters fehlt"}},
      {true,
       [](auto& f, auto&, auto&) { f.edGV_Vorname.setText(""), f.edGV_Behoerde.setText(""); },
       {" Vorname des 2. gesetzlichen Vertreters fehlt",
        " Ausstellende Behörde des Ausweises des 2. gesetzlichen Vertreters fehlt"}},
  };
  int n = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE("case " + std::to_string(n++));
    fresh();
    fillComplete(c.minor);
    c.gap(*form, *customer, *app->frmVermittler);
    EXPECT_EQ(form->completenessFindings(), c.findings);
    EXPECT_TRUE(dialogs.shown().empty());  // the check itself never pops up a box
  }
}

// Where each finding leads: the page (of tsAnleger1 … tsVertreter2) and the focused control; no
// page for the agent's and the customer's data, which the check window keeps; no control where
// the field is hidden.
struct FindingTarget {
  std::string text;
  const char* page;
  const char* control;
};

std::vector<FindingTarget> findingTargets() {
  std::vector<FindingTarget> rows = {
      {" Die Ausgaben sind höher als die Einmahmen", "tsAnleger1", nullptr},
      {" Anlegerfragebogen: Das Datum fehlt", "tsAnleger2", "medBP_Datum"},
      {" Anlegerfragebogen: Das Uhrzeit des Beginns der Beratung fehlt", "tsAnleger2", "medBP_Von"},
      {" Anlegerfragebogen: Das Uhrzeit des Ende der Beratung fehlt", "tsAnleger2", "medBP_Bis"},
      {" Anlegerfragebogen: Die Uhrzeiten der Beratung passen nicht zu einander", "tsAnleger2",
       "medBP_Von"},
      {" Anlegerfragebogen: Keine Gesprächsteilnehmer", "tsAnleger2", "edBP_Teil1"},
      {" Ausweisnummer des Depotinhabers fehlt", "tsAusweis", "edVN_AusNr"},
      {" Ausstellende Behörde des Ausweises des Depotinhabers fehlt", "tsAusweis", "edVN_Behoerde"},
      {" 1. gesetzlicher Vertreter fehlt", "tsVertreter1", "cbWD_Art"},
      {" Name der Referenzbank fehlt", "tsKonto", "edZF_KI"},
      {" BLZ der Referenzbank fehlt", "tsKonto", "cbZF_BLZ"},
      {" Kontonummer bei der Referenzbank fehlt", "tsKonto", "edZF_Konto"},
      {" Kontonummer bei der Referenzbank enthält andere Zeichen als Ziffern", "tsKonto",
       "edZF_Konto"},
      {" Kontonummer bei der Referenzbank passt nicht zur Prüfziffer der BLZ", "tsKonto",
       "edZF_Konto"},
      {" Name der Bank fehlt (abw. Bankverbindung Einzug)", "tsKonto", "edZP_KI"},
      {" BLZ der Bank fehlt (abw. Bankverbindung Einzug)", "tsKonto", "cbZP_BLZ"},
      {" Kontonummer fehlt (abw. Bankverbindung Einzug)", "tsKonto", "edZP_Konto"},
      {" Kontonummer enthält andere Zeichen als Ziffern (abw. Bankverbindung Einzug)", "tsKonto",
       "edZP_Konto"},
      {" Name des Kontoinhabers fehlt (abw. Bankverbindung Einzug)", "tsKonto",
       "edZP_Kontoinhaber"},
      {" Kontonummer passt nicht zur Prüfziffer der BLZ (abw. Bankverbindung Einzug)", "tsKonto",
       "edZP_Konto"},
      {" Kontonummer enthält andere Zeichen als Ziffern (Bankverbindung Zuzahlung zu Beginn)",
       "tsKonto", "edZB_Konto"},
      {" Kontonummer passt nicht zur Prüfziffer der BLZ (Bankverbindung Zuzahlung zu Beginn)",
       "tsKonto", "edZB_Konto"},
      {" Kontonummer enthält andere Zeichen als Ziffern (Bankverbindung Einmalzahlung)", "tsKonto",
       "edZE_Konto"},
      {" Anlegerfragebogen: die Angabe des Berufs fehlt", "tsAnleger1", "ed_WpHG_Beruf"},
      {" Anlegerfragebogen: die Angabe der Tätigkeiten der letzten 10 Jahre fehlt", "tsAnleger1",
       "ed_WpHG_Beruf2"},
      {" Anlegerfragebogen: Erfahrungen mit Festgeld/Geldmarkt-/Immobilienfonds?", "tsAnleger1",
       "rbFGIK"},
      {" Anlegerfragebogen: Erfahrungen mit Renten/Rentenfonds?", "tsAnleger1", "rbRRK"},
      {" Anlegerfragebogen: Gemischte Fonds?", "tsAnleger1", "rbGFK"},
      {" Anlegerfragebogen: Erfahrungen mit Aktien/Aktienfonds?", "tsAnleger1", "rbAAK"},
      {" Anlegerfragebogen: Wie hoch ist das Verhältnis der geplanten Anlage zum "
       "Gesamtvermögen?",
       "tsAnleger1", "rb25"},
      {" Anlegerfragebogen: Welche Anlageziele werden mit der Anlage verfolgt?", "tsAnleger2",
       "cbVMA"},
      {" Anlegerfragebogen: Dauer zum Vermögensaufbau fehlt", "tsAnleger2", "cbZiel1"},
      {" Anlegerfragebogen: Dauer zur Vorsorge fehlt", "tsAnleger2", "cbZiel2"},
      {" Anlegerfragebogen: Angaben zum sonstigen Anlageziel unvollständig", "tsAnleger2", "edAS"},
      {" Anlegerfragebogen: Verfügen Sie über Reserven, die geeignet sind, Ihren "
       "Lebensunterhalt abzusichern, ohne auf die hier geplanten Anlagen zurück zu greifen?",
       "tsAnleger2", "rbRJa"},
  };
  for (const char* text :
       {" Vermittlername fehlt", " Telefonnummer des Vermittlers fehlt",
        " Vermittlernummer (UnterVKZ) fehlt", " Name des Depotinhabers fehlt",
        " Vorname des Depotinhabers fehlt",
        " Adresse (Strasse, PLZ, Ort) des Depotinhabers ist unvollständig",
        " Geburtsdatum des Depotinhabers fehlt", " Geburtsort des Depotinhabers fehlt",
        " Geburtsland des Depotinhabers fehlt",
        " Falls zutreffend, bitte Geburtsnamen des Depotinhabers angeben",
        " Familienstand des Depotinhabers fehlt", " Staatsangehörigkeit des Depotinhabers fehlt"})
    rows.push_back({text, nullptr, nullptr});
  // The eleven person findings, for each way the pages 6 and 7 are asked for.
  const std::pair<const char*, const char*> personTexts[] = {
      {" Name des %s fehlt", "ed%s_Nachname"},
      {" Vorname des %s fehlt", "ed%s_Vorname"},
      {" Adresse (Strasse, PLZ, Ort) des %s ist unvollständig", "ed%s_Strasse"},
      {" Geburtsdatum des %s fehlt", "med%s_Geburtstag"},
      {" Geburtsort des %s fehlt", "ed%s_GebOrt"},
      {" Geburtsland des %s fehlt", "ed%s_GebLand"},
      {" Falls zutreffend, bitte Geburtsname des %s angeben", "ed%s_GebName"},
      {" Familienstand des %s fehlt", "cb%s_Stand"},
      {" Staatsangehörigkeit des %s fehlt", "ed%s_Nation"},
      {" Ausweisnummer des %s fehlt", "ed%s_AusNr"},
      {" Ausstellende Behörde des Ausweises des %s fehlt", "ed%s_Behoerde"},
  };
  const std::tuple<const char*, const char*, const char*> persons[] = {
      {"weiteren Depotinhabers", "WD", "tsVertreter1"},
      {"1. gesetzlichen Vertreters", "WD", "tsVertreter1"},
      {"2. gesetzlichen Vertreters", "GV", "tsVertreter2"},
  };
  static std::vector<std::string> controls;  // the rows point into it
  controls.reserve(std::size(persons) * std::size(personTexts));
  auto fill = [](const char* pattern, const char* part) {
    std::string out = pattern;
    return out.replace(out.find("%s"), 2, part);
  };
  for (auto [who, prefix, page] : persons)
    for (auto [text, control] : personTexts) {
      controls.push_back(fill(control, prefix));
      rows.push_back({fill(text, who), page, controls.back().c_str()});
    }
  return rows;
}

// Each finding of the check window leads to its field: the window closes, the application form
// shows the field's page with the focus in it. The gaps below make every finding appear.
TEST_F(CompletenessTest, EachFindingLeadsToItsField) {
  using Gaps = std::function<void(TfrmAngebotsdialog&, TfrmAngebotsdaten&, TfrmVermittler&)>;
  auto emptyPerson = [](TfrmAngebotsdialog& f, const std::string& prefix) {
    for (Control* c : f.controls())
      if (c->kind() == ControlKind::Edit && c->name().rfind("ed" + prefix + "_", 0) == 0)
        c->setText("");
    f.find("med" + prefix + "_Geburtstag")->setText("  .  .    ");
    f.find("cb" + prefix + "_Stand")->setItemIndex(-1);
    f.find("cb" + prefix + "_Stand")->setText("");
  };
  auto showPaymentAccounts = [](TfrmAngebotsdialog& f) {
    f.cbRefKonto.setVisible(true), f.cbRefKonto.setItemIndex(1), f.cbRefKontoClick(nullptr);
    f.boxKontoZB.setVisible(true);
    f.boxKontoEZ.setVisible(true), f.cbKontoEZ.setVisible(true);
    f.cbKontoEZ.setItemIndex(1), f.cbKontoEZClick(nullptr);
  };
  const std::pair<bool, Gaps> scenarios[] = {
      // An adult with a further account holder, and nothing typed.
      {false,
       [&](auto& f, auto& c, auto& a) {
         for (Control* field : {&a.edV_Firma, &a.edV_Telefon, &a.edV_Vermittlernr2})
           field->setText("");
         for (Control* field : {&c.edVN_Nachname, &c.edVN_Vorname, &c.edVN_PLZ, &c.edVN_GebOrt,
                                &c.edVN_GebLand, &c.edVN_GebName, &c.edVN_Nation})
           field->setText("");
         c.cbVN_Stand.setText("");
         f.edEinkommen.setText("1.000"), f.edAusgaben.setText("2.000");
         f.medBP_Datum.setText("  .  .    ");
         f.medBP_Von.setText("  :  "), f.medBP_Bis.setText("  :  ");
         for (Control* field : std::initializer_list<Control*>{
                  &f.edBP_Teil1, &f.edVN_AusNr, &f.edVN_Behoerde, &f.edZF_KI, &f.cbZF_BLZ,
                  &f.edZF_Konto, &f.ed_WpHG_Beruf, &f.ed_WpHG_Beruf2})
           field->setText("");
         for (Control* choice : f.controls())
           if (choice->kind() == ControlKind::RadioButton) choice->setChecked(false);
         f.cbVMA.setChecked(false);
         f.cbWD_Art.setItemIndex(1);
         emptyPerson(f, "WD");
         showPaymentAccounts(f);
         f.edZB_Konto.setText("12ab34"), f.edZE_Konto.setText("12ab34");
       }},
      // What a typed but wrong entry leaves.
      {false,
       [&](auto& f, auto& c, auto&) {
         c.medVN_Geburtstag.setText("  .  .    ");
         f.medBP_Von.setText("11:01");
         f.cbVS.setChecked(true), f.cbAS.setChecked(true);
         for (Control* goal : {&f.cbZiel1, &f.cbZiel2, &f.cbZiel3}) goal->setItemIndex(-1);
         // 20210200 / 0240334000 with one digit mistyped (see CheckDigitWarning).
         showPaymentAccounts(f);
         for (auto [code, account] : {std::pair{&f.cbZF_BLZ, &f.edZF_Konto},
                                      {&f.cbZP_BLZ, &f.edZP_Konto},
                                      {&f.cbZB_BLZ, &f.edZB_Konto}})
           code->setText("20210200"), account->setText("0240334001");
         f.edZP_KI.setText("Bank"), f.edZP_Kontoinhaber.setText("Jan Nowak");
       }},
      {true,
       [&](auto& f, auto&, auto&) {
         f.cbWD_Art.setItemIndex(1);
         f.edZF_Konto.setText("53201 3000");
         showPaymentAccounts(f);
         f.edZP_Konto.setText("12ab34");
       }},
      {true,
       [&](auto& f, auto&, auto&) {
         emptyPerson(f, "WD");
         emptyPerson(f, "GV");
       }},
  };
  const char* pageNames[] = {"tsAnleger1",    "tsAnleger2",   "tsAusweis",   "tsKonto",
                             "tsArbeitgeber", "tsVertreter1", "tsVertreter2"};
  auto pageIndex = [&pageNames](const std::string& name) {
    return static_cast<int>(std::find(std::begin(pageNames), std::end(pageNames), name) -
                            std::begin(pageNames));
  };
  const std::vector<FindingTarget> rows = findingTargets();
  std::set<std::string> seen;
  for (const auto& [minor, gaps] : scenarios) {
    fresh();
    fillComplete(minor);
    gaps(*form, *customer, *app->frmVermittler);
    const std::vector<std::string> findings = form->completenessFindings();
    for (int line = 0; line < static_cast<int>(findings.size()); ++line) {
      const std::string& text = findings[static_cast<std::size_t>(line)];
      SCOPED_TRACE(text);
      auto row = std::find_if(rows.begin(), rows.end(),
                              [&text](const FindingTarget& r) { return r.text == text; });
      if (row == rows.end()) {
        ADD_FAILURE() << "no row for this finding";
        continue;
      }
      seen.insert(text);
      TfrmPruefung& result = *app->frmPruefung;
      form->sb_VollstaendigClick(nullptr);
      ASSERT_TRUE(result.visible());
      const int page = row->page ? pageIndex(row->page) : 0;
      form->pageDaten.setActivePage((page + 1) % 7);
      result.txtHinweise.userChooseLine(line);
      if (!row->page) {
        EXPECT_TRUE(result.visible());
        EXPECT_FALSE(form->visible());
        continue;
      }
      EXPECT_FALSE(result.visible());
      EXPECT_TRUE(form->visible());
      EXPECT_EQ(form->pageDaten.activePage(), page);
      const Control* focused = form->focused();
      EXPECT_EQ(focused ? focused->name() : "none", row->control ? row->control : "none");
    }
    // Leaving a field it was led to runs the field's own check, as leaving it always does.
    for (const std::string& message : dialogs.messages())
      EXPECT_TRUE(message.starts_with("Kontonummer:") || message.starts_with("Zeitraum Beratung:"))
          << message;
  }
  for (const FindingTarget& row : rows) EXPECT_TRUE(seen.count(row.text)) << row.text;
  EXPECT_FALSE(app->frmPruefung->visible());
}

// Born in December 2009, contract from March 2027: 18 by the calendar year, 17 in fact.
TEST_F(CompletenessTest, MinorByCompletedYearsAtTheStart) {
  fillComplete(false);
  customer->medVN_Geburtstag.setText("15.12.2009");
  app->frmVertagsdaten->med_Vbeginn.setText("01.03.2027");
  customer->medVN_GeburtstagExit(nullptr);
  form->cbWD_Art.setItemIndex(0);
  form->edGV_Nachname.setText("");
  EXPECT_EQ(form->completenessFindings(),
            std::vector<std::string>{" Name des 2. gesetzlichen Vertreters fehlt"});
}

TEST_F(CompletenessTest, FindingsWindowAndBack) {
  fillComplete(false);
  form->rbRNein.setChecked(false);
  form->edBP_Teil1.setText("");
  form->sb_VollstaendigClick(nullptr);
  TfrmPruefung& result = *app->frmPruefung;
  EXPECT_FALSE(form->visible());
  EXPECT_TRUE(result.visible());
  EXPECT_EQ(result.caption(), "Prüfung");
  EXPECT_EQ(result.txtHinweise.text(),
            " Anlegerfragebogen: Keine Gesprächsteilnehmer\n Anlegerfragebogen: Verfügen Sie über "
            "Reserven, die geeignet sind, Ihren Lebensunterhalt abzusichern, ohne auf die hier "
            "geplanten Anlagen zurück zu greifen?");
  result.sb_Abbruch.userClick();
  EXPECT_FALSE(result.visible());
  EXPECT_TRUE(form->visible());
  EXPECT_FALSE(result.txtHinweise.text().empty());  // kept until the next check
  EXPECT_TRUE(dialogs.shown().empty());
}

}  // namespace
}  // namespace fondaris::forms::testing
