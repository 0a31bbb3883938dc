#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>

#include <sys/stat.h>
#include <sys/wait.h>

#include "core/cp1252.h"
#include "core/files.h"
#include "core/settings.h"
#include "documents/fdf/fdf_writer.h"
#include "documents/fdf/filled_form.h"
#include "documents/offer/temp_folder.h"
#include "forms/angebotsdialog/tfrm_angebotsdialog.h"
#include "offers/offer_file.h"
#include "offers/offer_table.h"
#include "tests/support/forms_fixture.h"
#include "tests/support/other_user.h"
#include "tests/support/pdf_tools.h"
#include "tests/support/template_fixture.h"
#include "tests/support/test_output.h"

namespace fondaris::offers {
namespace {

using forms::testing::FormsTest;

std::vector<std::string> crlfLines(const std::string& bytes) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = bytes.find("\r\n", start)) != std::string::npos; start = end + 2)
    lines.push_back(bytes.substr(start, end - start));
  EXPECT_EQ(start, bytes.size()) << "text after the last line end";
  return lines;
}

class OfferFileTest : public FormsTest {
 protected:
  void SetUp() override {
    FormsTest::SetUp();
    createApp();
  }

  forms::TfrmAngebotsdaten& customer() { return *app->frmAngebotsdaten; }
  forms::TfrmVertagsdaten& contract() { return *app->frmVertagsdaten; }
  forms::TfrmAngebotsdialog& application() { return *app->frmAngebotsdialog; }

  // A filled offer as an agent leaves it after "&Weiter".
  void fillOffer(bool second) {
    (second ? customer().rbProd1 : customer().rbProd).setChecked(true);
    customer().edVN_Vorname.setText("Jörg");
    customer().edVN_Nachname.setText("Müller");
    customer().edVN_Strasse.setText("Hauptstraße");
    customer().edVN_HausNr.setText("7a");
    customer().edVN_PLZ.setText("12345");
    customer().edVN_Ort.setText("Köln");
    customer().medVN_Geburtstag.setText("15.03.1980");
    customer().medVN_GeburtstagExit(nullptr);
    customer().cbSteuerAusland.setChecked(true);
    customer().sb_AngebotsbrechnungClick(nullptr);
    ASSERT_TRUE(dialogs.unexpected().empty()) << dialogs.unexpected().front();
    if (second) {
      contract().cb_Beitrag_2.setText("600,00");
      contract().medEinmalzahlungZB.setText("3.000,00");
    } else {
      contract().cb_Beitrag_1.setText("40,00");
      contract().cb_Zuschuss.setText("26,59");
    }
    contract().cb_EinmalBeitrag1.setText("2.550,00");
    contract().rb_Fonds3.setChecked(true);
    contract().cb_WE2.setItemIndex(3);
    forms::TfrmAngebotsdialog& a = application();
    a.rbAAM7.setChecked(true);
    a.rb50.setChecked(true);
    a.rbJaPost.setChecked(true);
    a.cbVMA.setChecked(true);
    a.cbZiel1.setItemIndex(a.cbZiel1.itemCount() - 1);
    a.edZF_IBAN.setText("DE89370400440532013000");
    a.medBP_Datum.setText("01.12.2026");
    a.edWD_GebName.setText("Schmidt) /T (Vorname");
  }

  std::string saveBytes(const std::string& name) {
    EXPECT_TRUE(saveOfferFile(app->offerSession(), path(name)));
    return core::readFileBytes(path(name)).value_or("");
  }

  // Every dialog shown so far as "kind caption"; looking at them counts as checking them.
  std::vector<std::string> shownDialogs() const {
    std::vector<std::string> out;
    for (const auto& d : dialogs.shown()) out.push_back(d.kind + " " + d.caption);
    return out;
  }

  // The sample offer templates beside the offer, where the working folder is looked at first.
  void copyOfferTemplates() {
    for (const auto& entry : std::filesystem::directory_iterator(FONDARIS_BUILD_DIR))
      if (entry.path().filename().string().rfind("Angebot_", 0) == 0)
        std::filesystem::copy_file(entry.path(), path(entry.path().filename().string()),
                                   std::filesystem::copy_options::overwrite_existing);
  }

  // A second program run loads the file.
  void restartAndLoad(const std::string& name) {
    createApp();
    EXPECT_EQ(loadOfferFile(app->offerSession(), path(name)), LoadResult::Loaded);
  }
};

TEST_F(OfferFileTest, TableHasEveryLineOnceInOrderAndEachControlExists) {
  const auto& table = offerTable();
  ASSERT_EQ(table.size(), 302u);
  OfferForms f(app->offerSession());
  for (std::size_t i = 0; i < table.size(); ++i) {
    EXPECT_EQ(table[i].number, static_cast<int>(i) + 1);
    for (std::size_t k = 0; k < table[i].controls.size(); ++k)
      EXPECT_NE(lineControl(f, table[i], k), nullptr)
          << "line " << table[i].number << ": " << table[i].controls[k];
  }
}

// The file as a saved VL offer must look, byte for byte (Windows-1252, CR LF).
TEST_F(OfferFileTest, SavedVlOfferMatchesFixture) {
  fillOffer(false);
  const std::string bytes = saveBytes("vl.txt");
  test_support::keepForALook(path("vl.txt"), "angebot_vl.txt");
  const auto expected =
      core::readFileBytes(std::string(FONDARIS_SOURCE_DIR) + "/tests/offers/angebot_vl.txt");
  ASSERT_TRUE(expected.has_value());
  EXPECT_EQ(bytes, *expected);

  const auto lines = crlfLines(bytes);
  ASSERT_EQ(lines.size(), 302u);
  EXPECT_EQ(lines[0], "Z 2.1 Z");
  EXPECT_EQ(lines[7], "M\xFCller");  // Windows-1252 ü
  EXPECT_EQ(lines[9], "D-12345");
  EXPECT_EQ(lines[35], "3");
  EXPECT_EQ(lines[115], "40,00");
  EXPECT_EQ(lines[173], "0");
  EXPECT_EQ(lines[200], "M");
  EXPECT_EQ(lines[201], "50");
  EXPECT_EQ(lines[209], "X");
  EXPECT_EQ(lines[251], "26,59");
  EXPECT_EQ(lines[162], "2.550,00");
  EXPECT_EQ(lines[277], "X");
  EXPECT_EQ(lines[291], "7a");
  for (int constant : {56, 59, 117, 118, 121, 139, 157, 289})
    EXPECT_FALSE(lines[static_cast<std::size_t>(constant - 1)].empty()) << constant;
}

TEST_F(OfferFileTest, SaveLoadSaveGivesTheSameBytesAndEveryField) {
  for (bool second : {false, true}) {
    SCOPED_TRACE(second ? "second variant" : "VL");
    createApp();
    fillOffer(second);
    const std::string first = saveBytes("a.txt");
    test_support::keepForALook(path("a.txt"),
                               second ? "angebot_zielsparplan.txt" : "angebot_vl_rundreise.txt");
    restartAndLoad("a.txt");
    EXPECT_EQ(saveBytes("b.txt"), first);
    // The loaded offer survives "&Weiter" and "An&trag".
    customer().sb_AngebotsbrechnungClick(nullptr);
    EXPECT_EQ(saveBytes("c.txt"), first);
    // "An&trag" sets the goal durations from the period; the loaded ones come back.
    contract().prepareApplicationForm = [this] { application().cbZiel1.setItemIndex(0); };
    dialogs.answerNo();  // "Daten speichern?"
    contract().sb_AntragClick(nullptr);
    EXPECT_EQ(application().cbZiel1.text(), "99");

    EXPECT_EQ(customer().edVN_Nachname.text(), "Müller");
    EXPECT_EQ(customer().edVN_PLZ.text(), "12345");
    EXPECT_EQ(customer().rbProd1.checked(), second);
    EXPECT_TRUE(customer().cbSteuerAusland.checked());
    EXPECT_TRUE(contract().rb_Fonds3.checked());
    EXPECT_EQ(contract().cb_EinmalBeitrag1.text(), "2.550,00");
    if (second) {
      EXPECT_EQ(contract().cb_Beitrag_2.text(), "600,00");
      EXPECT_EQ(contract().medEinmalzahlungZB.text(), "3.000,00");
    } else {
      EXPECT_EQ(contract().cb_Beitrag_1.text(), "40,00");
      EXPECT_EQ(contract().cb_Zuschuss.text(), "26,59");
    }
    EXPECT_TRUE(application().rbAAM7.checked());
    EXPECT_TRUE(application().rb50.checked());
    EXPECT_TRUE(application().rbJaPost.checked());
    EXPECT_EQ(application().edWD_GebName.text(), "Schmidt) /T (Vorname");
    EXPECT_EQ(application().medBP_Datum.text(), "01.12.2026");
    EXPECT_TRUE(dialogs.unexpected().empty()) << dialogs.unexpected().front();
    EXPECT_TRUE(dialogs.messages().empty()) << dialogs.messages().front();
  }
}

TEST_F(OfferFileTest, RefusedFileLeavesTheOfferUnchanged) {
  fillOffer(true);
  const std::string before = offerBytes(app->offerSession());
  for (const std::string content : {"", "\r\n", "A 2.1 Z\r\nHerr\r\n", "\xFF\xFE"}) {
    dialogs.clear();
    writeLines("x.txt", {});
    ASSERT_TRUE(core::writeFileAtomically(path("x.txt"), content));
    EXPECT_EQ(loadOfferFile(app->offerSession(), path("x.txt")), LoadResult::UnknownFormat);
    EXPECT_EQ(dialogs.messages(),
              std::vector<std::string>{"Fehler: Die Datei '" + path("x.txt") +
                                       "' konnte nicht gelesen werden! Unbekanntes Format!"});
    EXPECT_EQ(offerBytes(app->offerSession()), before);
  }
  dialogs.clear();
  EXPECT_EQ(loadOfferFile(app->offerSession(), path("fehlt.txt")), LoadResult::Unreadable);
  EXPECT_EQ(dialogs.messages(), std::vector<std::string>{"Fehler: Die Datei '" + path("fehlt.txt") +
                                                         "' konnte nicht gelesen werden!"});
}

// Another version after "Z" reads by the same table; a file ending after line 40 fills lines 2
// to 40, keeps the rest and says so.
TEST_F(OfferFileTest, ShortFileFillsWhatItHoldsAndNamesTheLastLine) {
  fillOffer(false);
  std::string bytes = saveBytes("a.txt");
  auto lines = crlfLines(bytes);
  createApp();
  application().edZF_IBAN.setText("AT611904300234573201");
  std::string shortFile = "Z 3.0 Z\r\n";
  for (int i = 1; i < 40; ++i) shortFile += lines[static_cast<std::size_t>(i)] + "\r\n";
  ASSERT_TRUE(core::writeFileAtomically(path("kurz.txt"), shortFile));
  EXPECT_EQ(loadOfferFile(app->offerSession(), path("kurz.txt")), LoadResult::Short);
  EXPECT_EQ(customer().edVN_Nachname.text(), "Müller");
  EXPECT_TRUE(contract().rb_Fonds3.checked());
  EXPECT_EQ(application().edZF_IBAN.text(), "AT611904300234573201");
  ASSERT_EQ(dialogs.messages().size(), 1u);
  EXPECT_NE(dialogs.messages()[0].find("endet nach Zeile 40"), std::string::npos);
}

// The employer's subsidy belongs to the first variant: a second-variant offer neither keeps nor
// writes what a first-variant one held there, however it came to be open, and saving it again
// after loading gives the same file.
TEST_F(OfferFileTest, SecondVariantOffersHoldNoSubsidyOfAnEarlierOffer) {
  fillOffer(true);
  const auto secondLines = crlfLines(saveBytes("ziel.txt"));
  std::string cutShort;
  for (std::size_t i = 0; i < 200; ++i) cutShort += secondLines[i] + "\r\n";
  ASSERT_TRUE(core::writeFileAtomically(path("kurz.txt"), cutShort));

  const struct {
    const char* what;
    std::function<void()> openSecondVariant;
  } cases[] = {
      {"short second-variant file loaded over it",
       [&] {
         EXPECT_EQ(loadOfferFile(app->offerSession(), path("kurz.txt")), LoadResult::Short);
         ASSERT_EQ(dialogs.messages().size(), 1u);
         EXPECT_NE(dialogs.messages()[0].find("endet nach Zeile 200"), std::string::npos);
         // Also when the agent goes back to the first variant: that offer is gone.
         EXPECT_EQ(contract().cb_Zuschuss.text(), "0,00");
       }},
      {"variant switched on the customer form",
       [&] {
         customer().rbProd1.setChecked(true);
         customer().sb_AngebotsbrechnungClick(nullptr);
       }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    createApp();
    fillOffer(false);
    ASSERT_EQ(contract().cb_Zuschuss.text(), "26,59");
    c.openSecondVariant();
    ASSERT_TRUE(customer().rbProd1.checked());
    const std::string first = saveBytes("a.txt");
    EXPECT_EQ(crlfLines(first)[251], "0,00");
    restartAndLoad("a.txt");
    EXPECT_EQ(saveBytes("b.txt"), first);
    EXPECT_TRUE(dialogs.unexpected().empty()) << dialogs.unexpected().front();
  }
}

// Lines that do not fit their field leave it as it was; nothing throws.
TEST_F(OfferFileTest, DamagedLinesLeaveTheirFields) {
  fillOffer(false);
  auto lines = crlfLines(saveBytes("a.txt"));
  createApp();
  contract().cb_Auszahlung1.setItemIndex(0);
  const std::string birth = customer().medVN_Geburtstag.text();
  lines[3] = "15.0";              // date too short
  lines[183] = "x7";              // position not a number
  lines[184] = "99999999999999";  // position out of range
  lines[35] = "12";               // no such strategy
  lines[177] = "5";               // a hidden list's leftover in older files: not named
  lines[6] = std::string(2000, 'a') + "\xB3";
  lines[31] = "0,00";  // a contribution of 0 would make the layout ask
  std::string bytes;
  for (const auto& l : lines) bytes += l + "\r\n";
  EXPECT_EQ(loadOfferBytes(app->offerSession(), bytes, "kaputt.txt"), LoadResult::Damaged);
  // A choice that does not exist is named, never dropped in silence.
  EXPECT_EQ(dialogs.messages(),
            std::vector<std::string>{
                "Hinweis: Die Datei 'kaputt.txt' enthält eine Auswahl, die es nicht gibt; sie "
                "wurde nicht übernommen: Zeile 184 ('x7'), Zeile 185 ('99999999999999')."});
  EXPECT_EQ(customer().medVN_Geburtstag.text(), birth);
  EXPECT_EQ(contract().cb_Auszahlung1.itemIndex(), 0);
  for (int n = 1; n <= 11; ++n)
    EXPECT_FALSE(contract().find("rb_Fonds" + std::to_string(n))->checked()) << n;
  EXPECT_EQ(core::utf8Length(customer().edVN_Vorname.text()), core::kMaxLineLength);
  EXPECT_EQ(contract().cb_Beitrag_2.text(), "0,00");
  EXPECT_TRUE(dialogs.unexpected().empty()) << dialogs.unexpected().front();
}

// A goal duration above what the loaded period allows is held to it after "An&trag", as a
// typed one is.
TEST_F(OfferFileTest, LoadedGoalDurationsAreClampedLikeTypedOnes) {
  fillOffer(false);
  application().cbZiel2.setItemIndex(application().cbZiel2.itemCount() - 1);
  const std::string bytes = saveBytes("a.txt");
  restartAndLoad("a.txt");
  customer().sb_AngebotsbrechnungClick(nullptr);
  dialogs.answerNo();  // "Daten speichern?"
  contract().sb_AntragClick(nullptr);
  forms::TfrmAngebotsdialog& a = application();
  const std::string loaded = a.cbZiel2.text();
  a.cbZiel3.setItemIndex(a.cbZiel3.itemCount() - 1);
  a.cbZielChange(&a.cbZiel3);
  EXPECT_EQ(loaded, a.cbZiel3.text());
  EXPECT_NE(loaded, "99");
  (void)dialogs.shown();
}

// A loaded start shows in the visible start lists; a past one, or a year the list lacks, gives
// way to the earliest possible start.
TEST_F(OfferFileTest, LoadedStartDateShowsInTheStartLists) {
  fillOffer(false);
  auto lines = crlfLines(saveBytes("a.txt"));
  const struct {
    const char* line;
    const char* start;
    const char* day;
    const char* month;
  } cases[] = {
      {"15.02.2027", "15.02.2027", "15", "02"},
      // Earliest start: today 05.12.2026 + 14 days is after the 15th, so January; the day list
      // keeps the day it shows.
      {"15.02.2020", "15.01.2027", "15", "01"},
      {"15.02.2031", "15.01.2027", "15", "01"},
  };
  for (const auto& c : cases) {
    lines[30] = c.line;
    std::string bytes;
    for (const auto& l : lines) bytes += l + "\r\n";
    ASSERT_EQ(loadOfferBytes(app->offerSession(), bytes, "a.txt"), LoadResult::Loaded);
    EXPECT_EQ(contract().med_Vbeginn.text(), c.start) << c.line;
    EXPECT_EQ(contract().cbBeginnTag.text(), c.day) << c.line;
    EXPECT_EQ(contract().cbBeginnMonat.text(), c.month) << c.line;
    EXPECT_EQ(contract().cbBeginnJahr.text(), std::string(c.start).substr(6)) << c.line;
  }
}

// Letters outside Windows-1252 are saved as '?', and the agent is told which texts changed.
TEST_F(OfferFileTest, LettersTheFileCannotHoldAreNamed) {
  customer().edVN_Vorname.setText("Łukasz");
  ASSERT_TRUE(saveOfferFile(app->offerSession(), path("pl.txt")));
  EXPECT_EQ(crlfLines(core::readFileBytes(path("pl.txt")).value_or(""))[6], "?ukasz");
  ASSERT_EQ(dialogs.messages().size(), 1u);
  EXPECT_NE(dialogs.messages()[0].find("'?': Łukasz"), std::string::npos) << dialogs.messages()[0];
}

TEST_F(OfferFileTest, FailedSaveKeepsTheOldFileAndReportsNoSuccess) {
  fillOffer(false);
  const std::string old = saveBytes("alt.txt");
  customer().edVN_Nachname.setText("Neumann");
  ::chmod(path("alt.txt").c_str(), 0444);
  dialogs.answerText(path("alt.txt"));
  contract().sb_SpeichernClick(nullptr);
  EXPECT_FALSE(contract().saved);
  EXPECT_EQ(dialogs.messages(), std::vector<std::string>{"Fehler: Die Datei '" + path("alt.txt") +
                                                         "' konnte nicht erzeugt werden!"});
  EXPECT_EQ(core::readFileBytes(path("alt.txt")), old);
}

TEST_F(OfferFileTest, SaveButtonAsksForANameRemembersTheFolderAndMarksTheOfferSaved) {
  ::setenv("USERPROFILE", dir.c_str(), 1);
  EXPECT_EQ(offerFolder(), dir);
  std::filesystem::create_directories(path("kunden"));
  dialogs.answerText(path("kunden/meier"));
  contract().sb_SpeichernClick(nullptr);
  EXPECT_TRUE(contract().saved);
  EXPECT_TRUE(core::fileExists(path("kunden/meier.txt")));
  EXPECT_EQ(offerFolder(), path("kunden"));
  // A completed name that exists is asked about; "Nein" keeps the file.
  dialogs.answerText(path("kunden/meier"));
  dialogs.answerNo();
  EXPECT_FALSE(saveOfferWithDialog(app->offerSession()));
  // Cancel saves nothing and keeps the mark as it was.
  dialogs.answerText(std::nullopt);
  contract().sb_SpeichernClick(nullptr);
  EXPECT_TRUE(contract().saved);
  // Loading through the customer form's button.
  createApp();
  dialogs.answerText(path("kunden/meier.txt"));
  customer().cb_Angebot_ladenClick(nullptr);
  EXPECT_EQ(app->offerFile, path("kunden/meier.txt"));
  EXPECT_EQ(shownDialogs(),
            (std::vector<std::string>{
                "save Daten speichern unter ....", "save Daten speichern unter ....",
                "question Daten speichern unter ....", "save Daten speichern unter ....",
                "open Gespeichertes Angebot öffnen"}));
  ::unsetenv("USERPROFILE");
}

// "Angebot &speichern" pressed by its accelerator, the focus still in the contribution just
// typed: the offer is saved with the contribution as its check corrects it.
TEST_F(OfferFileTest, SaveByAcceleratorSavesTheCheckedField) {
  fillOffer(true);
  forms::TfrmVertagsdaten& c = contract();
  c.focus(&c.cb_Beitrag_2);
  c.cb_Beitrag_2.userSetText("6000");
  dialogs.answerText(path("beitrag"));
  c.sb_Speichern.userClick();
  EXPECT_EQ(shownDialogs(), std::vector<std::string>{"save Daten speichern unter ...."});
  EXPECT_EQ(c.cb_Beitrag_2.text(), "5.000,00");
  EXPECT_EQ(crlfLines(core::readFileBytes(path("beitrag.txt")).value_or("")).at(31), "5.000,00");
}

// "Daten speichern?" answered with yes saves; on ending, a second save goes to its file.
TEST_F(OfferFileTest, QuestionsSaveOnYes) {
  fillOffer(false);
  dialogs.answerYes();
  dialogs.answerText(path("antrag.txt"));
  contract().sb_AntragClick(nullptr);
  EXPECT_TRUE(contract().saved);
  EXPECT_TRUE(core::fileExists(path("antrag.txt")));
  EXPECT_TRUE(saveOfferToItsFile(app->offerSession()));
  EXPECT_EQ(shownDialogs(), (std::vector<std::string>{"question Vertragsdaten",
                                                      "save Daten speichern unter ...."}));
}

// Runs the headless command in the test's folder; returns its exit code, standard error in `err`.
// `environment` ("NAME=value ") goes before the command.
int runCommand(const std::string& dir, const std::string& args, std::string& err,
               const std::string& environment = "") {
  const std::string errFile = core::joinPath(dir, "stderr.txt");
  const std::string command = "cd '" + dir + "' && " + environment + "'" + FONDARIS_BUILD_DIR +
                              "/fondaris-offer' " + args + " >/dev/null 2>'" + errFile + "'";
  const int status = std::system(command.c_str());
  err = core::readFileBytes(errFile).value_or("");
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string pdfText(const std::string& pdf) {
  const std::string txt = pdf + ".txt";
  EXPECT_EQ(std::system(("pdftotext -layout '" + pdf + "' '" + txt + "'").c_str()), 0);
  return core::readFileBytes(txt).value_or("");
}

// Every file with the customer's or the agent's data is created readable by its user alone,
// whatever the umask lets through (022: everyone could read it otherwise).
TEST_F(OfferFileTest, EveryFileWithPersonalDataIsCreatedForItsUserAlone) {
  copyOfferTemplates();
  ::setenv("TMP", dir.c_str(), 1);
  fillOffer(false);
  const std::string form = std::string(FONDARIS_BUILD_DIR) + "/FQ-VL-Antrag.pdf";
  const std::vector<documents::FdfEntry> entries = {{"VN_Name", "Müller"}};
  struct Writer {
    const char* what;
    std::string file;
    std::function<bool()> write;
  };
  const Writer writers[] = {
      {"offer file", "angebot.txt",
       [&] { return saveOfferFile(app->offerSession(), path("angebot.txt")); }},
      {"forms data", "VVSpar.fdf",
       [&] {
         return documents::writeFdfFile(path("VVSpar.fdf"), {entries, "FQ-VL-Antrag.pdf"}) ==
                documents::FdfWriteResult::Written;
       }},
      {"filled application", "VVSpar.pdf",
       [&] {
         return documents::writeFilledForm(form, entries, path("VVSpar.pdf")).result ==
                documents::FilledFormResult::Written;
       }},
      {"offer PDF", documents::kOfferFileName,
       [&] {
         contract().sb_AngebotsbrechnungClick(nullptr);
         return contract().lastOfferPath == path(documents::kOfferFileName);
       }},
      {"error log", documents::kErrorLogName,
       [&] {
         documents::appendErrorLog(dir, "Fatal error: Angebot für Jörg Müller");
         return true;
       }},
      {"agent file", "Vermitd.dat", [&] { return app->frmVermittler->writeAgentFile(); }},
      {"settings", core::kWindowSettingsFile,
       [&] { return core::savePosition("Vertragsdaten", 10, 20).has_value(); }},
  };
  const mode_t previous = ::umask(022);
  for (const Writer& writer : writers) {
    SCOPED_TRACE(writer.what);
    ASSERT_FALSE(std::filesystem::exists(path(writer.file)));
    EXPECT_TRUE(writer.write());
    EXPECT_EQ(
        std::filesystem::status(path(writer.file)).permissions() & std::filesystem::perms::mask,
        std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
  }
  ::umask(previous);
  EXPECT_EQ(shell.opened, std::vector<std::string>{path(documents::kOfferFileName)});
}

// The command loads the saved offer into the same forms and makes the same document.
TEST_F(OfferFileTest, CommandMakesTheOfferTheInteractiveProgramMakes) {
  core::SystemClock today;  // the command runs on today's date, so the program here does too
  copyOfferTemplates();
  // Beside the offer, so the command does not fall back to the machine's bank data beside it.
  test_support::copyBankData(dir);
  for (bool second : {false, true}) {
    SCOPED_TRACE(second ? "second variant" : "VL");
    app = std::make_unique<program::App>(program::Services{dialogs, today, shell});
    app->createForms();
    fillOffer(second);
    saveBytes("angebot.txt");
    contract().sb_AngebotsbrechnungClick(nullptr);
    ASSERT_FALSE(contract().lastOfferPath.empty()) << ::testing::PrintToString(dialogs.messages());
    const std::string interactive = pdfText(contract().lastOfferPath);

    std::string err;
    ASSERT_EQ(runCommand(dir, "angebot.txt -o:befehl.pdf", err), 0) << err;
    EXPECT_EQ(err, "");
    EXPECT_EQ(pdfText(path("befehl.pdf")), interactive);
    // The last page is the chart: the same four lines through the same figures.
    const int pages = documents::testing_tools::pdfPages(contract().lastOfferPath);
    const auto drawn = documents::testing_tools::strokedPaths(contract().lastOfferPath, pages);
    EXPECT_EQ(std::count_if(drawn.begin(), drawn.end(),
                            [](const auto& p) { return p.points.size() > 2; }),
              4);
    EXPECT_EQ(documents::testing_tools::strokedPaths(path("befehl.pdf"), pages), drawn);
    test_support::keepForALook(
        path("befehl.pdf"), second ? "angebot_befehl_zielsparplan.pdf" : "angebot_befehl_vl.pdf");
  }
}

// The sample templates use standard fonts only: the offer needs no font configuration (one
// that cannot be read would say so on standard error) and no bank file.
TEST_F(OfferFileTest, CommandReadsNeitherFontConfigurationNorBankFile) {
  copyOfferTemplates();
  writeLines("BLZ.DAT", {"kaputt"});
  fillOffer(false);
  saveBytes("angebot.txt");
  std::string err;
  EXPECT_EQ(runCommand(dir, "angebot.txt -o:befehl.pdf", err, "FONTCONFIG_FILE=fehlt.conf "), 0);
  EXPECT_EQ(err, "");
  EXPECT_TRUE(std::filesystem::exists(path("befehl.pdf")));
}

// Another user's link at "KDX2009.pdf" in a shared temporary folder: the command writes its offer
// where it is asked to, the link's target untouched and no copy in the offer folder.
TEST_F(OfferFileTest, CommandMakesItsOfferBesideALinkAnotherUserPlanted) {
  const auto other = test_support::otherUser();
  if (!other) GTEST_SKIP() << "giving a file to another user needs root";
  copyOfferTemplates();
  test_support::copyBankData(dir);
  writeLines("geheim.txt", {"bleibt"});
  const std::filesystem::path shared = path("geteilt");
  test_support::makeSharedFolder(shared);
  std::filesystem::create_symlink(path("geheim.txt"), shared / "KDX2009.pdf");
  ASSERT_TRUE(test_support::giveTo(shared / "KDX2009.pdf", *other));
  fillOffer(false);
  saveBytes("angebot.txt");

  std::string err;
  EXPECT_EQ(runCommand(dir, "angebot.txt -o:befehl.pdf", err, "TMP='" + shared.string() + "' "), 0)
      << err;
  EXPECT_EQ(core::readFileBytes(path("befehl.pdf")).value_or("").substr(0, 5), "%PDF-");
  EXPECT_FALSE(std::filesystem::exists(path("KDX2009.pdf")));
  EXPECT_EQ(readLines("geheim.txt"), std::vector<std::string>{"bleibt"});
  EXPECT_TRUE(std::filesystem::is_symlink(shared / "KDX2009.pdf"));
}

// An output file that cannot be written is named in one line; nothing is written elsewhere.
TEST_F(OfferFileTest, CommandReportsAnOutputItCannotWrite) {
  copyOfferTemplates();
  test_support::copyBankData(dir);
  fillOffer(false);
  saveBytes("angebot.txt");
  std::string err;
  EXPECT_EQ(runCommand(dir, "angebot.txt -o:fehlt/angebot.pdf", err), 1);
  EXPECT_EQ(err,
            "Fehler: Die Datei '" + path("fehlt/angebot.pdf") + "' konnte nicht erzeugt werden!\n");
  EXPECT_FALSE(std::filesystem::exists(path("KDX2009.pdf")));
}

// The offer fills no application form: the command does not load qpdf and the gnutls it pulls
// in, whose loading alone costs about half the time of copying the template.
TEST_F(OfferFileTest, CommandLoadsNoLibraryOfTheApplicationForm) {
  const std::string command =
      std::string("LD_TRACE_LOADED_OBJECTS=1 '") + FONDARIS_BUILD_DIR + "/fondaris-offer'";
  FILE* pipe = ::popen(command.c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  std::string loaded;
  char buffer[4096];
  for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) loaded.append(buffer, n);
  EXPECT_EQ(::pclose(pipe), 0);
  EXPECT_NE(loaded.find("libpodofo"), std::string::npos) << loaded;
  for (const char* library : {"libqpdf", "libgnutls"})
    EXPECT_EQ(loaded.find(library), std::string::npos) << library << " in\n" << loaded;
}

// A template without a placeholder: the command names both in one line and writes nothing.
TEST_F(OfferFileTest, CommandFailsOnATemplateWithoutPlaceholder) {
  ASSERT_TRUE(test_support::writeTemplateWithout({"#VNAnredeName#"}, path("Angebot_VL_3.pdf")));
  test_support::copyBankData(dir);
  fillOffer(false);
  saveBytes("angebot.txt");
  std::string err;
  EXPECT_EQ(runCommand(dir, "angebot.txt -o:befehl.pdf", err), 1);
  EXPECT_EQ(err,
            "Fehler bei Erstellung PDF: Fatal error: Das Angebot wurde nicht erstellt, der "
            "Platzhalter '#VNAnredeName#' der Vorlage 'Angebot_VL_3.pdf' konnte nicht ersetzt "
            "werden.\n");
  EXPECT_FALSE(std::filesystem::exists(path("befehl.pdf")));
}

TEST_F(OfferFileTest, CommandRefusesWhatItCannotUse) {
  ASSERT_TRUE(core::writeFileAtomically(path("fremd.txt"), "Hallo\r\n"));
  const struct {
    std::string args, message;
  } cases[] = {
      {"", "Angebotsprogramm: Aufruf: fondaris-offer ANGEBOTSDATEI [-o:PDF-DATEI]\n"},
      {"fehlt.txt", "Fehler: Die Datei '" + path("fehlt.txt") + "' konnte nicht gelesen werden!\n"},
      {"fremd.txt", "Fehler: Die Datei '" + path("fremd.txt") +
                        "' konnte nicht gelesen werden! Unbekanntes Format!\n"},
      {"fremd.txt -o:Param.dat",
       "Fehler: Die Datei '" + path("Param.dat") + "' konnte nicht erzeugt werden!\n"},
      {"fremd.txt -o:" + std::string(FONDARIS_BUILD_DIR) + "/Angebot_VL_1.pdf",
       "Fehler: Die Datei '" + std::string(FONDARIS_BUILD_DIR) +
           "/Angebot_VL_1.pdf' konnte nicht erzeugt werden!\n"},
  };
  for (const auto& c : cases) {
    std::string err;
    EXPECT_EQ(runCommand(dir, c.args, err), 1) << c.args;
    EXPECT_EQ(err, c.message) << c.args;
  }
}

}  // namespace
}  // namespace fondaris::offers
