// Drives the real views offscreen: a saved offer is loaded on the customer form, "&Weiter"
// shows it on the contract form, and saving it again gives the same file.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <filesystem>

#include "core/clock.h"
#include "core/cp1252.h"
#include "core/dialogs.h"
#include "core/files.h"
#include "core/shell.h"
#include "forms/angebotsdaten/tfrm_angebotsdaten.h"
#include "forms/angebotsdialog/tfrm_angebotsdialog.h"
#include "forms/qt/qt_presenter.h"
#include "forms/qt/views.h"
#include "forms/vertragsdaten/tfrm_vertragsdaten.h"
#include "program/app.h"
#include "tests/support/fixed_clock.h"
#include "tests/support/qt/qt_test_support.h"
#include "tests/support/recording_shell.h"
#include "tests/support/scripted_dialogs.h"

namespace fondaris::qt {
namespace {

namespace fs = std::filesystem;

// The program with its real views on the day the sample offer was made, the customer form
// shown, an offer file loaded through its button.
struct ProgramWithLoadedOffer {
  test_support::ScriptedDialogs dialogs;
  test_support::FixedClock clock{2026, 12, 5};
  test_support::RecordingShell shell;
  QtPresenter presenter;
  program::App app{program::Services{dialogs, clock, shell}, &presenter};

  void load(const std::string& file) {
    app.createForms();
    ASSERT_TRUE(addViews(app, presenter).isEmpty());
    app.frmAngebotsdaten->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(presenter.view(*app.frmAngebotsdaten)));
    dialogs.answerText(file);
    click(*app.frmAngebotsdaten, "cb_Angebot_laden");
  }
  void click(forms::Form& form, const char* button) {
    QTest::mouseClick(test::viewChild<QPushButton>(presenter, form, button), Qt::LeftButton);
  }
  ~ProgramWithLoadedOffer() { app.setPresenter(nullptr); }
};

TEST(OfferFileFlow, LoadedOfferShowsOnEveryFormAndSavesTheSameFile) {
  test::application();
  const test_support::ProcessSettingsGuard guard;
  const test_support::TempFolder work("fondaris_qt");
  test::useWorkFolder(work);
  const std::string dir = work.str();
  const std::string saved = std::string(FONDARIS_SOURCE_DIR) + "/tests/offers/angebot_vl.txt";
  fs::copy_file(saved, fs::path(dir) / "angebot.txt");

  ProgramWithLoadedOffer program;
  ASSERT_NO_FATAL_FAILURE(program.load(core::joinPath(dir, "angebot.txt")));
  auto& [dialogs, clock, shell, presenter, app] = program;
  forms::TfrmAngebotsdaten& customer = *app.frmAngebotsdaten;
  forms::TfrmVertagsdaten& contract = *app.frmVertagsdaten;
  EXPECT_EQ(test::viewChild<QLineEdit>(presenter, customer, "edVN_Nachname")->text(), "Müller");

  QTest::mouseClick(test::viewChild<QPushButton>(presenter, customer, "sb_Angebotsbrechnung"),
                    Qt::LeftButton);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(presenter.view(contract)));
  auto text = [&](const char* name) {
    return test::viewChild<QComboBox>(presenter, contract, name)->currentText().toStdString();
  };
  EXPECT_EQ(text("cb_Beitrag_1"), "40,00");
  EXPECT_EQ(text("cb_Zuschuss"), "26,59");
  EXPECT_EQ(text("cb_EinmalBeitrag1"), "2.550,00");

  dialogs.answerText(core::joinPath(dir, "wieder.txt"));
  QTest::mouseClick(test::viewChild<QPushButton>(presenter, contract, "sb_Speichern"),
                    Qt::LeftButton);
  EXPECT_TRUE(contract.saved);
  EXPECT_EQ(core::readFileBytes(core::joinPath(dir, "wieder.txt")), core::readFileBytes(saved));
  EXPECT_TRUE(dialogs.unexpected().empty()) << dialogs.unexpected().front();
  EXPECT_TRUE(dialogs.messages().empty()) << dialogs.messages().front();
}

// Late single payments and withdrawals of long periods come back through "&Weiter", "&Zurück"
// and "&Weiter" again, and the lists reach as far as the loaded period.
TEST(OfferFileFlow, LatePositionsOfLongPeriodsComeBack) {
  test::application();
  const test_support::ProcessSettingsGuard guard;
  const test_support::TempFolder work("fondaris_qt");
  test::useWorkFolder(work);
  const std::string dir = work.str();
  const auto fixture = core::textLines(
      *core::readFileBytes(std::string(FONDARIS_SOURCE_DIR) + "/tests/offers/angebot_vl.txt"));
  const struct {
    const char* name;
    std::vector<std::pair<int, std::string>> lines;
    std::vector<std::pair<const char*, std::string>> shown;
  } cases[] = {
      {"VL4, 29 Jahre, 3. Einmalanlage am Anfang des 26. Jahres",
       {{35, "VL4"}, {253, "29"}, {165, "5.000,00"}, {297, "16"}, {298, "26"}},
       {{"cb_Anlagedauer", "29"}, {"cb_Einzahlung3", "Anfang 26 Jahres"}}},
      {"Zweite Variante, 33 Jahre, Entnahmen am Ende der Jahre 31 und 32",
       {{174, "1"},
        {34, "33"},
        {252, "0,00"},
        {253, "30"},
        {184, "30"},
        {185, "31"},
        {187, "500,00"},
        {188, "600,00"}},
       {{"cb_BZD2", "33"},
        {"cb_Auszahlung1", "Ende 31 Jahres"},
        {"cb_Auszahlung2", "Ende 32 Jahres"}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<std::string> lines = fixture;
    for (const auto& [number, text] : c.lines) lines[static_cast<std::size_t>(number - 1)] = text;
    std::string bytes;
    for (const std::string& line : lines) bytes += core::utf8ToCp1252(line) + "\r\n";
    const std::string file = core::joinPath(dir, "spaet.txt");
    ASSERT_TRUE(core::writeFileAtomically(file, bytes));

    ProgramWithLoadedOffer program;
    ASSERT_NO_FATAL_FAILURE(program.load(file));
    auto& [dialogs, clock, shell, presenter, app] = program;
    forms::TfrmAngebotsdaten& customer = *app.frmAngebotsdaten;
    forms::TfrmVertagsdaten& contract = *app.frmVertagsdaten;
    auto click = [&](forms::Form& form, const char* button) { program.click(form, button); };
    auto box = [&](const char* name) {
      return test::viewChild<QComboBox>(presenter, contract, name);
    };
    for (int visit = 0; visit < 2; ++visit) {
      click(customer, "sb_Angebotsbrechnung");
      ASSERT_TRUE(QTest::qWaitForWindowExposed(presenter.view(contract)));
      for (const auto& [name, text] : c.shown)
        EXPECT_EQ(box(name)->currentText().toStdString(), text) << name << ", visit " << visit;
      if (visit == 0) click(contract, "cb_Angebotsdaten");
    }
    // The lists end with the loaded period's last year.
    const bool vl = c.lines[0].first == 35;
    QComboBox* times = box(vl ? "cb_Einzahlung3" : "cb_Auszahlung1");
    EXPECT_EQ(times->itemText(times->count() - 1).toStdString(),
              vl ? "Anfang 28 Jahres" : "Ende 32 Jahres");

    dialogs.answerText(core::joinPath(dir, "wieder.txt"));
    click(contract, "sb_Speichern");
    const auto again = core::textLines(*core::readFileBytes(core::joinPath(dir, "wieder.txt")));
    ASSERT_EQ(again.size(), lines.size());
    for (std::size_t i = 0; i < lines.size(); ++i)
      EXPECT_EQ(again[i], lines[i]) << "line " << i + 1;
    EXPECT_TRUE(dialogs.unexpected().empty()) << dialogs.unexpected().front();
    EXPECT_TRUE(dialogs.messages().empty()) << dialogs.messages().front();
  }
}

}  // namespace
}  // namespace fondaris::qt
