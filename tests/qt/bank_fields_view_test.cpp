// The bank connections of the application form on its Designer view, offscreen, with the real
// message boxes: keys as the keyboard sends them, boxes answered by key.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <optional>
#include <utility>

#include "bank/bank_table.h"
#include "forms/angebotsdialog/tfrm_angebotsdialog.h"
#include "forms/pruefung/tfrm_pruefung.h"
#include "forms/qt/qt_dialogs.h"
#include "forms/qt/qt_presenter.h"
#include "forms/qt/views.h"
#include "forms/startmaske/tfrm_startmaske.h"
#include "program/app.h"
#include "tests/support/bank_fixture.h"
#include "tests/support/fixed_clock.h"
#include "tests/support/qt/box_answerer.h"
#include "tests/support/qt/qt_test_support.h"
#include "tests/support/recording_shell.h"
#include "tests/support/scripted_dialogs.h"

namespace fondaris::qt {
namespace {

class BankFieldsView : public ::testing::Test {
 protected:
  void SetUp() override {
    test::application();
    test::useWorkFolder(work_);
    test_support::copyBankData(work_.str());
    app_ = std::make_unique<program::App>(program::Services{dialogs_, clock_, shell_}, &presenter_);
    app_->createForms();
    app_->frmStartmaske->TimerWait.setEnabled(false);
    presenter_.add(*app_->frmAngebotsdialog, makeAngebotsdialogView());
    presenter_.add(*app_->frmPruefung, makePruefungView());
    test_support::ScriptedDialogs quiet;
    banks_ = bank::loadBankTable(test_support::bankDataFolder(), "BLZ.DAT", quiet);

    form().prepare({.investmentPeriodIndex = 20, .banks = &banks_});
    form().pageDaten.setActivePage(3);
    presenter_.refresh(form());
    ASSERT_TRUE(QTest::qWaitForWindowActive(view()));
  }
  void TearDown() override { app_->setPresenter(nullptr); }

  forms::TfrmAngebotsdialog& form() { return *app_->frmAngebotsdialog; }
  QWidget* view() { return presenter_.view(form()); }
  template <class W>
  W* widget(const char* name) {
    return test::viewChild<W>(presenter_, form(), name);
  }
  void focusOn(QWidget* field) {
    field->setFocus(Qt::MouseFocusReason);
    ASSERT_TRUE(test::waitFor([field] { return field->hasFocus(); }));
  }
  // Enter in a field, pressed and released where the keyboard is.
  void pressEnter(test::BoxAnswerer& answerer) {
    answerer.held = Qt::Key_Return;
    QTest::keyPress(view()->windowHandle(), Qt::Key_Return);
    if (std::exchange(answerer.held, std::nullopt))
      QTest::keyRelease(view()->windowHandle(), Qt::Key_Return);
  }

  test_support::ProcessSettingsGuard guard_;
  test_support::TempFolder work_{"fondaris_bank_view"};
  test_support::FixedClock clock_{2026, 12, 5, 15, 0};
  test_support::RecordingShell shell_;
  QtPresenter presenter_;
  QtDialogs dialogs_{[this] { presenter_.refreshAll(); }};
  bank::BankTable banks_;
  std::unique_ptr<program::App> app_;
};

// A warning that Enter closes comes once: the released Enter belongs to the box, not to the
// field below it. Behind the box the form already shows what the exit set.
TEST_F(BankFieldsView, EnterClosesABankWarningForGood) {
  struct Case {
    const char* name;
    const char* code;     // held before
    const char* account;  // held before
    const char* typeIn;   // then typed here, and Enter pressed there
    const char* typed;
    const char* warning;
    const char* bankShown;
    const char* ibanShown;
  } cases[] = {
      {"unknown bank code", "", "532013000", "cbZF_BLZ", "99999999",
       "Unbekannt Bankleitzahl (BLZ) '99999999' eingegeben! Bitte prüfen.", "",
       "DE44999999990532013000"},
      // 20210200 / 0240334000 passes the bank's check-digit method; one digit off does not.
      {"check digit after the bank code", "", "0240334001", "cbZF_BLZ", "20210200",
       "Die Kontonummer '0240334001' passt nach dem Prüfziffernverfahren der Bank nicht zur "
       "Bankleitzahl '20210200'. Bitte prüfen.",
       "Bank Melli Iran, Hamburg", "DE50202102000240334001"},
      // Enter in the account field moves on to the bank code box, under the box.
      {"check digit after the account", "20210200", "", "edZF_Konto", "0240334001",
       "Die Kontonummer '0240334001' passt nach dem Prüfziffernverfahren der Bank nicht zur "
       "Bankleitzahl '20210200'. Bitte prüfen.",
       "Bundesbank, Berlin", "DE50202102000240334001"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    // The old bank is what a warning must not leave on view.
    form().cbZF_BLZ.setText(c.code);
    form().edZF_Konto.setText(c.account);
    form().edZF_KI.setText("Bundesbank, Berlin");
    form().edZF_IBAN.setText("DE98100000000532013000");
    presenter_.refreshAll();

    QWidget* field = widget<QWidget>(c.typeIn);
    focusOn(field);
    QTest::keyClicks(field, c.typed);
    test::BoxAnswerer answerer(*view(), Qt::Key_Return, [this] {
      return widget<QLineEdit>("edZF_KI")->text() + " | " + widget<QLineEdit>("edZF_IBAN")->text();
    });
    pressEnter(answerer);
    QTest::qWait(150);
    EXPECT_EQ(answerer.texts.join("\n").toStdString(), c.warning);
    EXPECT_EQ(answerer.behind.join("\n").toStdString(),
              std::string(c.bankShown) + " | " + c.ibanShown);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    // Out of the field without a new exit.
    widget<QWidget>("edZF_BIC")->setFocus(Qt::MouseFocusReason);
    QTest::qWait(50);
  }
}

// Bank codes hold eight digits and account numbers ten, typed key by key in the window; Ctrl+A
// and typing replaces the whole code.
TEST_F(BankFieldsView, BankCodeAndAccountTakeOnlyTheirDigits) {
  auto* code = widget<QComboBox>("cbZF_BLZ");
  auto* account = widget<QLineEdit>("edZF_Konto");
  // The widgets themselves hold the limits, for pasted text as well.
  EXPECT_EQ(code->lineEdit()->maxLength(), 8);
  EXPECT_EQ(account->maxLength(), 10);
  for (QLineEdit* edit : {code->lineEdit(), account}) {
    ASSERT_NE(edit->validator(), nullptr) << edit->objectName().toStdString();
    QString pasted = "12ab";
    int at = 0;
    EXPECT_EQ(edit->validator()->validate(pasted, at), QValidator::Invalid);
  }

  focusOn(code);
  QTest::keyClicks(code, "999999999999");
  EXPECT_EQ(code->currentText().toStdString(), "99999999");
  EXPECT_EQ(form().cbZF_BLZ.text(), "99999999");
  QTest::keyClick(code, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClicks(code, "37040044");
  EXPECT_EQ(code->currentText().toStdString(), "37040044");
  EXPECT_EQ(form().cbZF_BLZ.text(), "37040044");

  focusOn(account);
  QTest::keyClicks(account, "12ab34 567");
  EXPECT_EQ(account->text().toStdString(), "1234567");
  EXPECT_EQ(form().edZF_Konto.text(), "1234567");
  QTest::keyClicks(account, "8901234");
  EXPECT_EQ(account->text().toStdString(), "1234567890");
  EXPECT_EQ(form().edZF_Konto.text(), "1234567890");
}

}  // namespace
}  // namespace fondaris::qt
