#include <algorithm>
#include <filesystem>
#include <map>
#include <set>
#include <sstream>

#include "documents/fdf/fdf_fields.h"
#include "forms/angebotsdialog/tfrm_angebotsdialog.h"
#include "offers/forms_data.h"
#include "tests/support/forms_fixture.h"
#include "tests/support/pdf_tools.h"
#include "tests/support/test_output.h"

namespace fondaris::forms::testing {
namespace {

namespace fs = std::filesystem;
namespace tt = documents::testing_tools;
using documents::FdfFile;
using offers::formsDataEntries;
using offers::formsDataFiles;
using offers::formsDataSourceFields;

constexpr FdfFile kAllFiles[] = {FdfFile::VVSpar, FdfFile::VVZUEB,   FdfFile::VVBuSpar,
                                 FdfFile::VVEZ,   FdfFile::VVZUEBEA, FdfFile::VVZUEBEEG};

std::map<std::string, std::string> byName(const std::vector<documents::FdfEntry>& entries) {
  std::map<std::string, std::string> values;
  for (const documents::FdfEntry& e : entries) values.emplace(e.field, e.value);
  return values;
}

// The fields of a PDF as pdftk (an outside reader) lists them: name -> value.
std::map<std::string, std::string> pdftkValues(const std::string& pdf) {
  std::map<std::string, std::string> values;
  std::istringstream in(tt::run("pdftk " + tt::quoted(pdf) + " dump_data_fields_utf8"));
  std::string line, name;
  while (std::getline(in, line)) {
    if (line.starts_with("FieldName: ")) name = line.substr(11);
    if (line.starts_with("FieldValue: ")) values[name] = line.substr(12);
  }
  return values;
}

class FormsDataTest : public FormsTest {
 protected:
  void SetUp() override {
    FormsTest::SetUp();
    start();
  }

  void start() {
    writeLines("Vermitd.dat", agentFile());
    createApp();
    form = app->frmAngebotsdialog.get();
    customer = app->frmAngebotsdaten.get();
    contract = app->frmVertagsdaten.get();
  }
  void fresh() {
    nextCase();
    start();
  }

  // A customer with awkward but typical data, the contract starting 01.01.2027.
  void fillCustomer(const char* birth, bool ziel) {
    (ziel ? customer->rbProd1 : customer->rbProd).setChecked(true);
    customer->edVN_Nachname.setText("Müller) /T (Vorname");
    customer->edVN_Vorname.setText("Jörg");
    customer->edVN_Strasse.setText("Hauptstr.");
    customer->edVN_HausNr.setText("12");
    customer->edVN_PLZ.setText("12345");
    customer->edVN_Ort.setText("Berlin");
    customer->edVN_GebOrt.setText("Köln");
    customer->edVN_Nation.setText("deutsch");
    contract->med_Vbeginn.setText("01.01.2027");
    customer->medVN_Geburtstag.setText(birth);
    customer->medVN_GeburtstagExit(nullptr);
    form->prepare({});
  }

  TfrmAngebotsdialog* form = nullptr;
  TfrmAngebotsdaten* customer = nullptr;
  TfrmVertagsdaten* contract = nullptr;
};

TEST_F(FormsDataTest, EveryFieldHasOneSourceAndChoicesKeepToTheirExports) {
  for (FdfFile file : kAllFiles) {
    std::set<std::string_view> fields, sources;
    for (const documents::FdfField& f : documents::fdfFields(file)) fields.insert(f.name);
    for (std::string_view s : formsDataSourceFields(file))
      EXPECT_TRUE(sources.insert(s).second) << "twice: " << s;
    EXPECT_EQ(fields, sources) << documents::fdfFileName(file);
  }
  // Whatever the state, a choice carries an export value of its box or "X".
  for (bool ziel : {false, true}) {
    fillCustomer(ziel ? "15.03.1980" : "01.06.2015", ziel);
    for (FdfFile file : kAllFiles)
      for (const documents::FdfEntry& e : formsDataEntries(*app, app->clock().today(), file)) {
        if (e.kind != documents::FdfFieldKind::Choice) continue;
        const auto variant = ziel ? documents::FdfVariant::Ziel : documents::FdfVariant::Vl;
        const auto exports =
            documents::fdfExportValues(*documents::findFdfField(file, e.field, variant));
        EXPECT_TRUE(e.value == "X" || std::count(exports.begin(), exports.end(), e.value))
            << e.field << " = " << e.value;
      }
    fresh();
  }
}

TEST_F(FormsDataTest, EntriesFromPreparedForms) {
  struct Case {
    const char* what;
    const char* birth;
    bool ziel;
    bool singleMode;  // "Einmalanlage"
    std::map<std::string, std::string> expected;
  };
  const Case cases[] = {
      {"adult, first variant",
       "15.03.1980",
       false,
       false,
       {{"DIH1Kreuz", "0"},
        {"DIH1Kreuz_2", "0"},
        {"DIH1Name", "Müller) /T (Vorname"},
        {"DIH1Strasse", "Hauptstr. 12"},
        {"DIH1StrasseOhneHausNr", "Hauptstr."},
        {"Text2", "Jörg Müller) /T (Vorname"},
        {"Text3", "Hauptstr. 12, 12345 Berlin"},
        {"DIH1GebDatum", "15.03.1980"},
        {"DIHXaGebOrtStaat", "Köln, deutsch"},
        {"DIH1LegitimationKreuz", "2"},
        {"DIH1gueltigbis", ""},  // unfilled date mask
        {"DIH1AusweisNr", "L01X00T47"},
        {"DIH1Behoerde", "Stadt Berlin, Berlin"},
        {"Kontrollkästchen7", "X"},
        {"Kontrollkästchen10", "1"},
        {"Strategie", "VL3"},
        {"VLStrategie", "3"},
        {"DIH1VertragsvarianteKreuz", "1"},
        {"DIH1VertragsvarianteKreuz_2", "1"},
        {"DIH1monatlichEUR", "40,00"},
        {"DIH1entsprJahressparbeitragEUR", "480,00"},
        {"DIH1-ZahlungsbeginnMonat", "01"},
        {"DIH1-ZahlungsbeginnJahr", "2027"},
        {"ZSPLaufzeit", ""},
        {"ZSPHöheSparrate", ""},
        {"EinmalBetrag", ""},
        {"Text1", "01.12.2026"},
        {"ALF_TM", "01.12."},
        {"ALF_J", "2026"},
        {"VonUhrzeit", "10:00"},
        {"BisUhrzeit", ""},
        {"DIH2GV1Kreuz", "1"},
        {"DIHXAusweisNr", "C22"},
        {"DIHGaAusweisNr", ""},
        {"Vermittler_16stellig", "60001"},
        {"NameBerater", "Erika Muster"},
        {"OrtDatum1", "Berlin, 05.12.2026"},
        {"KostenPost", "X"},
        {"DIH1_selbst", "Ja"}}},
      {"minor, first variant",
       "01.06.2015",
       false,
       false,
       {{"DIH1Kreuz", "K"},
        {"DIH1LegitimationKreuz", "K"},  // no document chosen: the birth certificate
        {"DIH2GV1Kreuz", "0"},
        {"DIHGaAusweisNr", "C22"},
        {"DIHXAusweisNr", ""},
        {"DIHGbLegitimationKreuz", "X"},
        {"DIH1GebDatum", "01.06.2015"}}},
      {"adult, second variant with a single investment at the start",
       "15.03.1980",
       true,
       false,
       {{"Strategie", "ZSP3"},
        {"ZSPStrategie", "3"},
        {"ZSPLaufzeit", "30"},
        {"ZSPHöheSparrate", "150,00"},
        {"ZSPbeginnMonat", "01"},
        {"ZSPbeginnJahr", "2027"},
        {"ZSPVertragsbeginnMonatKreuz", "X"},
        {"DIH1monatlichEUR", ""},
        {"Zielsparplan", "X"},
        {"EinmalBetrag", "5.000,00"},
        {"EinmalKosten", "287,50"},
        {"ZSP-Depotnr", "12345678"}}},
      {"adult, second variant, single investment only",
       "15.03.1980",
       true,
       true,
       {{"EinmalBetrag", "10.000,00"},
        {"EinmalKosten", "575,00"},
        {"Einmalanlage", "X"},
        {"Zielsparplan", ""},
        {"ZSPLaufzeit", ""},
        {"ZSPHöheSparrate", ""}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    fillCustomer(c.birth, c.ziel);
    contract->cb_Beitrag_1.setText("40,00");
    contract->rb_Fonds3.setChecked(true);
    contract->cb_BZD2.setItemIndex(contract->cb_BZD2.indexOf("30"));
    contract->medDepotNr.setText("12345678");
    if (c.ziel) {
      contract->medEinmalzahlungZB.setVisible(!c.singleMode);
      contract->medEinmalzahlungZB.setText("5.000,00");
      contract->cb_Vorgabe.setItemIndex(c.singleMode ? 1 : 0);
      contract->cb_Beitrag_2.setText(c.singleMode ? "10.000,00" : "150,00");
    }
    form->cbVN_Pass.setItemIndex(c.birth[9] == '0' ? 1 : -1);
    form->edVN_AusNr.setText("L01X00T47");
    form->edVN_Behoerde.setText("Stadt Berlin");
    form->edVN_BehoerdeOrt.setText("Berlin");
    form->rbAA7.setChecked(true);
    form->cbSelbst.setChecked(true);
    form->medBP_Datum.setText("01.12.2026");
    form->medBP_Von.setText("10:00");
    if (c.birth[9] == '0') form->cbWD_Art.setItemIndex(1);
    form->edWD_AusNr.setText("C22");
    const auto values = byName(formsDataEntries(*app, app->clock().today(), FdfFile::VVSpar));
    for (const auto& [field, value] : c.expected) {
      ASSERT_TRUE(values.count(field)) << field;
      EXPECT_EQ(values.at(field), value) << field;
    }
    fresh();
  }
}

TEST_F(FormsDataTest, FurtherFilesByTheirConditions) {
  struct Case {
    const char* what;
    bool ziel;
    const char* age;
    const char* payment;  // cb_Einmal, empty: hidden
    const char* single;   // medEinmalzahlungZB, empty: hidden
    bool singleMode;
    const char* formVvez;
    std::vector<std::pair<FdfFile, std::string>> expected;
  };
  const Case cases[] = {
      {"first variant alone",
       false,
       "30",
       "",
       "",
       false,
       "",
       {{FdfFile::VVSpar, "FQ-VL-Antrag.pdf"}}},
      {"payment at the start",
       false,
       "30",
       "120,00",
       "",
       false,
       "",
       {{FdfFile::VVSpar, "FQ-VL-Antrag.pdf"}, {FdfFile::VVZUEB, "FQ-VL-Uebertrag.pdf"}}},
      {"payment of 0 is none",
       false,
       "30",
       "0,00",
       "",
       false,
       "",
       {{FdfFile::VVSpar, "FQ-VL-Antrag.pdf"}}},
      {"second variant, protection age, single investment, mandate on the application",
       true,
       "30",
       "",
       "5.000,00",
       false,
       "",
       {{FdfFile::VVSpar, "FQ-Zielspar-Antrag.pdf"},
        {FdfFile::VVBuSpar, "FQ-Schutzerklaerung.pdf"},
        {FdfFile::VVEZ, "FQ-Zielspar-Antrag.pdf"},
        {FdfFile::VVZUEBEA, "FQ-Zielspar-Uebertrag-EA.pdf"}}},
      {"a mandate form of its own is not the application's",
       true,
       "46",
       "",
       "5.000,00",
       false,
       "FQ-Einzugsermaechtigung.pdf",
       {{FdfFile::VVSpar, "FQ-Zielspar-Antrag.pdf"},
        {FdfFile::VVZUEBEA, "FQ-Zielspar-Uebertrag-EA.pdf"}}},
      {"single investment only, age 17",
       true,
       "17",
       "",
       "",
       true,
       "",
       {{FdfFile::VVSpar, "FQ-Zielspar-Antrag.pdf"},
        {FdfFile::VVZUEBEA, "FQ-Zielspar-Uebertrag-EA.pdf"},
        {FdfFile::VVZUEBEEG, "FQ-Uebertrag-EEG.pdf"}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    (c.ziel ? customer->rbProd1 : customer->rbProd).setChecked(true);
    customer->cbVN_Alter.setText(c.age);
    contract->cb_Einmal.setVisible(*c.payment != 0);
    contract->cb_Einmal.setText(c.payment);
    contract->medEinmalzahlungZB.setVisible(*c.single != 0);
    contract->medEinmalzahlungZB.setText(c.single);
    contract->cb_Vorgabe.setItemIndex(c.singleMode ? 1 : 0);
    form->formVvez = c.formVvez;
    std::vector<std::pair<FdfFile, std::string>> files;
    for (const FormsDataFile& f : formsDataFiles(*app, app->clock().today()))
      files.emplace_back(f.file, f.formName);
    EXPECT_EQ(files, c.expected);
    fresh();
  }
  // A further file without a form name is not written.
  customer->rbProd.setChecked(true);
  contract->cb_Einmal.setVisible(true);
  contract->cb_Einmal.setText("120,00");
  form->formVvzuebVl.clear();
  EXPECT_EQ(formsDataFiles(*app, app->clock().today()).size(), 1u);
}

// "&Weiter" with the sample forms beside the program and a document folder of its own.
class WeiterTest : public FormsDataTest {
 protected:
  void SetUp() override {
    FormsDataTest::SetUp();
    for (const char* name : {"FQ-VL-Antrag.pdf", "FQ-Zielspar-Antrag.pdf", "FQ-VL-Uebertrag.pdf",
                             "FQ-Schutzerklaerung.pdf", "FQ-Zielspar-Uebertrag-EA.pdf"})
      fs::copy_file(std::string(FONDARIS_BUILD_DIR) + "/" + name, path(name));
    documentsDir = path("Dokumente");
    fs::create_directories(documentsDir);
    form->documentFolder = documentsDir;
  }
  std::string documentsDir;
};

TEST_F(WeiterTest, WritesEveryFileOpensTheFilledFormsAndAnOutsideReaderAgrees) {
  ASSERT_TRUE(tt::toolAvailable("pdftk"));
  fillCustomer("15.03.1980", true);
  customer->cbVN_Alter.setText("30");
  contract->medEinmalzahlungZB.setVisible(true);
  contract->medEinmalzahlungZB.setText("5.000,00");
  contract->cb_Einmal.setVisible(false);
  form->formVvez.clear();
  bool saveAsked = false;
  form->saveOffer = [&saveAsked] { return saveAsked = true; };
  dialogs.answerYes();
  form->sb_AngebotsformularClick(nullptr);
  ASSERT_EQ(dialogs.shown().size(), 1u);
  EXPECT_EQ(dialogs.shown()[0].caption, "Angebotsdaten");
  EXPECT_EQ(dialogs.shown()[0].text, "Daten speichern?");
  EXPECT_TRUE(saveAsked);

  const std::vector<std::string> names = {"VVSpar", "VVBuSpar", "VVEZ", "VVZUEBEA"};
  std::vector<std::string> pdfs;
  for (const std::string& n : names) {
    EXPECT_TRUE(core::fileExists(core::joinPath(documentsDir, n + ".fdf"))) << n;
    pdfs.push_back(core::joinPath(documentsDir, n + ".pdf"));
  }
  EXPECT_EQ(shell.opened, pdfs);
  EXPECT_FALSE(core::fileExists(core::joinPath(documentsDir, "VVZUEB.fdf")));

  // The forms-data file refers to the form beside the program, and pdftk fills it with the name
  // as one value.
  const std::string fdf = core::joinPath(documentsDir, "VVSpar.fdf");
  const std::string bytes = core::readFileBytes(fdf).value_or("");
  EXPECT_NE(bytes.find("/F (" + path("FQ-Zielspar-Antrag.pdf") + ")"), std::string::npos);
  const std::string filledByPdftk = path("pdftk.pdf");
  tt::run("pdftk " + tt::quoted(path("FQ-Zielspar-Antrag.pdf")) + " fill_form " + tt::quoted(fdf) +
          " output " + tt::quoted(filledByPdftk));
  for (const std::string& pdf : {filledByPdftk, pdfs[0]}) {
    const auto values = pdftkValues(pdf);
    EXPECT_EQ(values.at("DIH1Name"), "Müller) /T (Vorname") << pdf;
    EXPECT_EQ(values.at("DIH1Vorname"), "Jörg") << pdf;
    EXPECT_EQ(values.at("EinmalBetrag"), "5.000,00") << pdf;
  }

  // Left for a look.
  for (const auto& entry : fs::directory_iterator(documentsDir))
    test_support::keepForALook(entry.path().string(), "antrag/" + entry.path().filename().string());
}

TEST_F(WeiterTest, AnUnwritableDocumentFolderFallsBackToTheWorkingFolder) {
  fillCustomer("15.03.1980", false);
  // A file where the folder should be: nothing can be created in it.
  writeLines("kein-ordner", {"x"});
  form->documentFolder = path("kein-ordner");
  dialogs.answerNo();
  form->sb_AngebotsformularClick(nullptr);
  EXPECT_EQ(dialogs.messages(), std::vector<std::string>{});
  const std::string bytes = core::readFileBytes(path("VVSpar.fdf")).value_or("");
  // Written beside the form, it names the form alone.
  EXPECT_NE(bytes.find("/F (FQ-VL-Antrag.pdf)"), std::string::npos);
  EXPECT_EQ(shell.opened, std::vector<std::string>{path("VVSpar.pdf")});
}

TEST_F(WeiterTest, NoFolderWritableMeansAMessageAndNothingOpened) {
  fillCustomer("15.03.1980", false);
  writeLines("kein-ordner", {"x"});
  form->documentFolder = path("kein-ordner");
  const std::string working = path("kein-ordner/auch-nicht");
  core::setWorkingDirectory(working);
  dialogs.answerNo();
  form->sb_AngebotsformularClick(nullptr);
  EXPECT_EQ(dialogs.messages(),
            std::vector<std::string>{"Fehler: Die Datei '" + core::joinPath(working, "VVSpar.fdf") +
                                     "' konnte nicht erzeugt werden!"});
  EXPECT_TRUE(shell.opened.empty());
}

TEST_F(WeiterTest, AMissingFormOpensTheFormsDataFileItself) {
  fillCustomer("15.03.1980", false);
  fs::remove(path("FQ-VL-Antrag.pdf"));
  dialogs.answerNo();
  form->sb_AngebotsformularClick(nullptr);
  EXPECT_TRUE(dialogs.messages().empty());
  EXPECT_EQ(shell.opened, std::vector<std::string>{core::joinPath(documentsDir, "VVSpar.fdf")});
}

}  // namespace
}  // namespace fondaris::forms::testing

namespace fondaris::forms::testing {
namespace {

// From the customer form through "An&trag" to the files, as an agent clicks.
TEST_F(WeiterTest, FromTheCustomerFormToTheFiles) {
  customer->rbProd1.setChecked(true);
  customer->edVN_Nachname.setText("Nowak");
  customer->edVN_Vorname.setText("Łucja");
  customer->medVN_Geburtstag.setText("15.03.1980");
  customer->sb_AngebotsbrechnungClick(nullptr);
  ASSERT_TRUE(contract->visible());
  for (int n = 1; n <= 11; ++n)
    if (Control* fund = contract->find("rb_Fonds" + std::to_string(n)); fund->visible()) {
      fund->setChecked(true);
      contract->rb_FondsClick(fund);
      break;
    }
  dialogs.answerNo();  // "Daten speichern?" of the contract form
  contract->sb_AntragClick(nullptr);
  EXPECT_EQ(dialogs.messages(), std::vector<std::string>{});
  ASSERT_TRUE(form->visible());
  dialogs.answerNo();
  form->sb_AngebotsformularClick(nullptr);
  EXPECT_EQ(dialogs.messages(), std::vector<std::string>{});
  ASSERT_FALSE(shell.opened.empty());
  EXPECT_EQ(shell.opened.front(), core::joinPath(documentsDir, "VVSpar.pdf"));
  const auto values = pdftkValues(shell.opened.front());
  EXPECT_EQ(values.at("DIH1Vorname"), "Łucja");
  EXPECT_EQ(values.at("ZSPLaufzeit"), contract->cb_BZD2.text());
  EXPECT_EQ(values.at("ZSPHöheSparrate"), contract->cb_Beitrag_2.text());
}

}  // namespace
}  // namespace fondaris::forms::testing
