// Drives the real views offscreen: a saved offer is loaded on the customer form, "&Weiter"
// shows it on the contract form, and saving it again gives the same file.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <filesystem>

#include "core/clock.h"
#include "core/dialogs.h"
#include "core/files.h"
#include "core/shell.h"
#include "forms/angebotsdaten/tfrm_angebotsdaten.h"
#include "forms/angebotsdialog/tfrm_angebotsdialog.h"
#include "forms/app.h"
#include "forms/qt/qt_presenter.h"
#include "forms/qt/views.h"
#include "forms/vertragsdaten/tfrm_vertragsdaten.h"
#include "tests/support/fixed_clock.h"
#include "tests/support/qt/qt_test_support.h"
#include "tests/support/recording_shell.h"
#include "tests/support/scripted_dialogs.h"

namespace fondaris::qt {
namespace {

namespace fs = std::filesystem;

TEST(OfferFileFlow, LoadedOfferShowsOnEveryFormAndSavesTheSameFile) {
  test::application();
  const test_support::ProcessSettingsGuard guard;
  const test_support::TempFolder work("fondaris_qt");
  test::useWorkFolder(work);
  const std::string dir = work.str();
  const std::string saved = std::string(FONDARIS_SOURCE_DIR) + "/tests/offers/angebot_vl.txt";
  fs::copy_file(saved, fs::path(dir) / "angebot.txt");

  test_support::ScriptedDialogs dialogs;
  test_support::FixedClock clock{2026, 12, 5};  // the day the saved offer was made
  test_support::RecordingShell shell;
  QtPresenter presenter;
  forms::App app(forms::Services{dialogs, clock, shell}, &presenter);
  app.createForms();
  ASSERT_TRUE(addViews(app, presenter).isEmpty());
  forms::TfrmAngebotsdaten& customer = *app.frmAngebotsdaten;
  forms::TfrmVertagsdaten& contract = *app.frmVertagsdaten;

  customer.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(presenter.view(customer)));
  dialogs.answerText(core::joinPath(dir, "angebot.txt"));
  QTest::mouseClick(test::viewChild<QPushButton>(presenter, customer, "cb_Angebot_laden"),
                    Qt::LeftButton);
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
  app.setPresenter(nullptr);
}

}  // namespace
}  // namespace fondaris::qt
