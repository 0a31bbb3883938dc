// The application form and the check result window on their Designer views, offscreen.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <filesystem>

#include "bank/bank_table.h"
#include "core/clock.h"
#include "core/dialogs.h"
#include "core/files.h"
#include "core/settings.h"
#include "core/shell.h"
#include "forms/angebotsdaten/tfrm_angebotsdaten.h"
#include "forms/angebotsdialog/tfrm_angebotsdialog.h"
#include "forms/pruefung/tfrm_pruefung.h"
#include "forms/qt/binder.h"
#include "forms/qt/qt_presenter.h"
#include "forms/qt/views.h"
#include "forms/startmaske/tfrm_startmaske.h"
#include "forms/vermittler/tfrm_vermittler.h"
#include "forms/vertragsdaten/tfrm_vertragsdaten.h"
#include "program/app.h"
#include "tests/support/bank_fixture.h"
#include "tests/support/fixed_clock.h"
#include "tests/support/qt/qt_test_support.h"
#include "tests/support/recording_shell.h"
#include "tests/support/scripted_dialogs.h"
#include "tests/support/test_output.h"

namespace fondaris::qt {
namespace {

class QtAntragBase : public ::testing::Test {
 protected:
  void SetUp() override {
    test::application();
    test::useWorkFolder(work_);
    // The bank table lies beside the product data, as in the program's folder.
    test_support::copyBankData(work_.str());
    app_ = std::make_unique<program::App>(program::Services{dialogs_, clock_, shell_}, &presenter_);
    app_->createForms();
    // The start screen waits without its greeting.
    app_->frmStartmaske->TimerWait.setEnabled(false);
  }
  void TearDown() override { app_->setPresenter(nullptr); }

  template <class W>
  W* widget(const forms::Form& form, const char* name) {
    return test::viewChild<W>(presenter_, form, name);
  }
  void typeInto(QWidget* field, const QString& text) { test::typeInto(field, text); }
  void click(const forms::Form& form, const char* name) {
    QTest::mouseClick(widget<QPushButton>(form, name), Qt::LeftButton);
  }

  // What the agent form holds from the agent's own file.
  void enterAgent() {
    forms::TfrmVermittler& agent = *app_->frmVermittler;
    agent.edV_Firma.setText("Muster GmbH");
    agent.edV_Telefon.setText("030 123");
    agent.edV_Vermittlernr2.setText("60002");
  }

  // Pages 1 to 4 by keyboard and mouse: what an adult's application needs beyond the customer
  // form. The clock stands at 15:00.
  void fillRequiredPages(const forms::TfrmAngebotsdialog& form) {
    auto* pages = widget<QTabWidget>(form, "pageDaten");
    typeInto(widget<QLineEdit>(form, "ed_WpHG_Beruf"), "Tischler");
    typeInto(widget<QLineEdit>(form, "ed_WpHG_Beruf2"), "Tischler");
    for (const char* choice : {"rbFGIK", "rbRR3", "rbGF7", "rbAAM7", "rb50"})
      test::clickIndicator(widget<QRadioButton>(form, choice), true);
    click(form, "sbNach");
    EXPECT_EQ(pages->currentIndex(), 1);
    test::clickIndicator(widget<QAbstractButton>(form, "cbVMA"), false);
    test::clickIndicator(widget<QRadioButton>(form, "rbRJa"), true);
    click(form, "sb_Heute");
    typeInto(widget<QLineEdit>(form, "medBP_Von"), "1400");
    click(form, "sb_Jetzt");
    EXPECT_EQ(widget<QLineEdit>(form, "medBP_Bis")->text(), "15:00");
    typeInto(widget<QLineEdit>(form, "edBP_Teil1"), "Jan Nowak");
    click(form, "sbNach");
    typeInto(widget<QLineEdit>(form, "edVN_AusNr"), "L01X00T47");
    typeInto(widget<QLineEdit>(form, "edVN_Behoerde"), "Stadt Dresden");

    // The bank code fills the bank, the account the IBAN.
    click(form, "sbNach");
    EXPECT_EQ(pages->currentIndex(), 3);
    typeInto(widget<QComboBox>(form, "cbZF_BLZ"), "10000000");
    EXPECT_EQ(widget<QLineEdit>(form, "edZF_KI")->text(), "Bundesbank, Berlin");
    // Enter in the account field finishes it as leaving does.
    auto* account = widget<QLineEdit>(form, "edZF_Konto");
    account->setFocus(Qt::MouseFocusReason);
    ASSERT_TRUE(test::waitFor([account] { return account->hasFocus(); }));
    QTest::keyClicks(account, "532013000");
    QTest::keyClick(account, Qt::Key_Return);
    EXPECT_EQ(widget<QLineEdit>(form, "edZF_IBAN")->text(), "DE98100000000532013000");
  }

  test_support::ProcessSettingsGuard guard_;
  test_support::TempFolder work_{"fondaris_qt"};
  test_support::ScriptedDialogs dialogs_;
  test_support::FixedClock clock_{2026, 12, 5, 15, 0};
  test_support::RecordingShell shell_;
  QtPresenter presenter_;
  std::unique_ptr<program::App> app_;
};

class QtAntrag : public QtAntragBase {
 protected:
  void SetUp() override {
    QtAntragBase::SetUp();
    // Only the application form and its check window are on screen here.
    presenter_.add(*app_->frmAngebotsdialog, makeAngebotsdialogView());
    presenter_.add(*app_->frmPruefung, makePruefungView());
    banks_ = bank::loadBankTable(test_support::bankDataFolder(), "BLZ.DAT", dialogs_);
  }

  bank::BankTable banks_;
};

TEST_F(QtAntrag, FillTheApplicationUntilNothingIsMissing) {
  forms::TfrmAngebotsdaten& customer = *app_->frmAngebotsdaten;
  enterAgent();
  for (auto [field, text] : {std::pair{&customer.edVN_Nachname, "Nowak"},
                             {&customer.edVN_Vorname, "Jan"},
                             {&customer.edVN_Strasse, "Am Markt 1"},
                             {&customer.edVN_PLZ, "02826"},
                             {&customer.edVN_Ort, "Görlitz"},
                             {&customer.edVN_GebOrt, "Görlitz"},
                             {&customer.edVN_GebLand, "Deutschland"},
                             {&customer.edVN_GebName, "Nowak"},
                             {&customer.edVN_Nation, "deutsch"}})
    field->setText(text);

  forms::TfrmAngebotsdialog& form = *app_->frmAngebotsdialog;
  form.prepare({.investmentPeriodIndex = 20, .paymentAtStart = true, .banks = &banks_});
  QWidget* view = presenter_.view(form);
  ASSERT_TRUE(test::waitFor([view] { return view->isVisible(); }));
  EXPECT_EQ(view->windowTitle().toStdString(), form.caption());
  auto* pages = widget<QTabWidget>(form, "pageDaten");
  EXPECT_FALSE(pages->isTabVisible(6));  // an adult has no second representative
  EXPECT_EQ(pages->currentIndex(), 0);

  // All seven pages, for a look at build/test-output; then the pages of this customer again.
  const auto keepShot = [this](QWidget* shown, const std::string& name) {
    const std::string file = work_.file(name);
    shown->grab().save(QString::fromStdString(file));
    test_support::keepForALook(file, name);
  };
  for (int page = 0; page < 7; ++page) {
    for (forms::Control* c : form.controls())
      if (c->kind() == forms::ControlKind::TabSheet) c->setTabVisible(true);
    form.pageDaten.setActivePage(page);
    presenter_.refresh(form);
    keepShot(view, "antrag_seite" + std::to_string(page + 1) + ".png");
  }
  form.prepare({.investmentPeriodIndex = 20, .paymentAtStart = true, .banks = &banks_});
  presenter_.refresh(form);
  EXPECT_FALSE(pages->isTabVisible(6));

  fillRequiredPages(form);
  click(form, "sb_Vollstaendig");
  EXPECT_EQ(dialogs_.messages(), std::vector<std::string>{"Prüfung: Keine Fehler gefunden!"});
  EXPECT_TRUE(view->isVisible());

  // One gap: the findings window instead, and "&OK" leads back.
  typeInto(widget<QLineEdit>(form, "edZF_KI"), "");
  click(form, "sb_Vollstaendig");
  QWidget* result = presenter_.view(*app_->frmPruefung);
  ASSERT_TRUE(test::waitFor([result] { return result->isVisible(); }));
  EXPECT_EQ(widget<QPlainTextEdit>(*app_->frmPruefung, "txtHinweise")->toPlainText(),
            " Name der Referenzbank fehlt");
  keepShot(result, "pruefung.png");
  click(*app_->frmPruefung, "sb_Abbruch");
  ASSERT_TRUE(test::waitFor([view] { return view->isVisible(); }));
  EXPECT_FALSE(result->isVisible());
  EXPECT_EQ(dialogs_.messages().size(), 1u);
}

// Escape closes the findings window as its "&OK" does, wherever the keyboard is in it.
TEST_F(QtAntrag, EscapeClosesTheFindingsWindow) {
  forms::TfrmAngebotsdialog& form = *app_->frmAngebotsdialog;
  form.prepare({.investmentPeriodIndex = 20, .banks = &banks_});
  QWidget* view = presenter_.view(form);
  QWidget* result = presenter_.view(*app_->frmPruefung);
  for (const char* focused : {"txtHinweise", "sb_Abbruch"}) {
    SCOPED_TRACE(focused);
    click(form, "sb_Vollstaendig");
    ASSERT_TRUE(test::waitFor([result] { return result->isVisible(); }));
    ASSERT_TRUE(QTest::qWaitForWindowActive(result));
    auto* field = test::viewChild<QWidget>(presenter_, *app_->frmPruefung, focused);
    field->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(test::waitFor([field] { return field->hasFocus(); }));
    QTest::keyClick(result->windowHandle(), Qt::Key_Escape);
    EXPECT_TRUE(test::waitFor([view] { return view->isVisible(); }));
    EXPECT_FALSE(result->isVisible());
  }
}

// A double-click on a finding, or Enter on it, closes the findings window and shows the field
// the finding is about, with the keyboard in it.
TEST_F(QtAntrag, ChoosingAFindingLeadsToItsField) {
  forms::TfrmAngebotsdialog& form = *app_->frmAngebotsdialog;
  form.prepare({.investmentPeriodIndex = 20, .banks = &banks_});
  QWidget* view = presenter_.view(form);
  QWidget* result = presenter_.view(*app_->frmPruefung);
  auto* pages = widget<QTabWidget>(form, "pageDaten");
  const struct {
    bool doubleClick;
    const char* finding;
    int page;
    const char* field;
  } cases[] = {
      {true, " Name der Referenzbank fehlt", 3, "edZF_KI"},
      {false, " Anlegerfragebogen: Keine Gesprächsteilnehmer", 1, "edBP_Teil1"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.finding);
    click(form, "sb_Vollstaendig");
    ASSERT_TRUE(test::waitFor([result] { return result->isVisible(); }));
    ASSERT_TRUE(QTest::qWaitForWindowActive(result));
    auto* memo = widget<QPlainTextEdit>(*app_->frmPruefung, "txtHinweise");
    const QTextBlock line = memo->document()->find(QString::fromStdString(c.finding)).block();
    ASSERT_TRUE(line.isValid());
    memo->setTextCursor(QTextCursor(line));
    memo->ensureCursorVisible();
    if (c.doubleClick) {
      QTest::mouseDClick(memo->viewport(), Qt::LeftButton, {},
                         memo->cursorRect(QTextCursor(line)).center());
    } else {
      memo->setFocus(Qt::TabFocusReason);
      ASSERT_TRUE(test::waitFor([memo] { return memo->hasFocus(); }));
      QTest::keyClick(memo, Qt::Key_Return);
    }
    ASSERT_TRUE(test::waitFor([view] { return view->isVisible(); }));
    EXPECT_FALSE(result->isVisible());
    EXPECT_EQ(pages->currentIndex(), c.page);
    auto* field = widget<QWidget>(form, c.field);
    EXPECT_TRUE(test::waitFor([field] { return field->hasFocus(); }));
  }
  EXPECT_TRUE(dialogs_.shown().empty());
}

// The agent's whole way on the real views: customer → "&Weiter" → contract → "An&trag" →
// the required fields → "&Prüfe Vollständigkeit", for both variants.
class QtAntragFlow : public QtAntragBase, public ::testing::WithParamInterface<bool> {
 protected:
  void SetUp() override {
    QtAntragBase::SetUp();
    ASSERT_TRUE(addViews(*app_, presenter_).isEmpty());
  }
};

TEST_P(QtAntragFlow, ContractToApplicationUntilNothingIsMissing) {
  const bool vl = GetParam();
  enterAgent();
  forms::TfrmAngebotsdaten& customer = *app_->frmAngebotsdaten;
  customer.rbProd.setChecked(vl);
  customer.rbProd1.setChecked(!vl);
  customer.show();
  QWidget* customerView = presenter_.view(customer);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(customerView));
  for (auto [field, text] : {std::pair{"edVN_Nachname", "Nowak"},
                             {"edVN_Vorname", "Jan"},
                             {"edVN_Strasse", "Am Markt 1"},
                             {"edVN_PLZ", "01067"},
                             {"edVN_Ort", "Dresden"},
                             {"edVN_GebOrt", "Dresden"},
                             {"edVN_GebLand", "Deutschland"},
                             {"edVN_GebName", "Nowak"},
                             {"edVN_Nation", "deutsch"}})
    typeInto(widget<QLineEdit>(customer, field), QString(text));
  click(customer, "sb_Angebotsbrechnung");

  forms::TfrmVertagsdaten& contract = *app_->frmVertagsdaten;
  QWidget* contractView = presenter_.view(contract);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(contractView));
  test::clickIndicator(widget<QRadioButton>(contract, "rb_Fonds2"), true);
  ASSERT_TRUE(contract.rb_Fonds2.checked());
  dialogs_.answerNo();
  click(contract, "sb_Antrag");

  forms::TfrmAngebotsdialog& form = *app_->frmAngebotsdialog;
  QWidget* view = presenter_.view(form);
  ASSERT_TRUE(test::waitFor([view] { return view->isVisible(); }));
  EXPECT_FALSE(contractView->isVisible());
  EXPECT_EQ(view->windowTitle().toStdString(), app_->frmStartmaske->caption() + " - Antrag");
  auto* pages = widget<QTabWidget>(form, "pageDaten");
  EXPECT_EQ(pages->currentIndex(), 0);
  EXPECT_EQ(pages->isTabVisible(4), vl);  // the employer page
  EXPECT_FALSE(pages->isTabVisible(6));   // an adult has no second representative
  EXPECT_GT(contract.bankTable().count(), 0u);
  EXPECT_EQ(widget<QComboBox>(form, "cbZF_BLZ")->count(),
            static_cast<int>(contract.bankTable().count()));

  fillRequiredPages(form);
  click(form, "sb_Vollstaendig");
  EXPECT_EQ(dialogs_.messages(), std::vector<std::string>{"Prüfung: Keine Fehler gefunden!"});
  EXPECT_TRUE(view->isVisible());

  click(form, "cb_Zurueck");
  ASSERT_TRUE(test::waitFor([contractView] { return contractView->isVisible(); }));
  EXPECT_FALSE(view->isVisible());
  EXPECT_TRUE(contract.rb_Fonds2.checked());
}

INSTANTIATE_TEST_SUITE_P(BothVariants, QtAntragFlow, ::testing::Bool(),
                         [](const auto& testInfo) { return testInfo.param ? "VL" : "Second"; });

}  // namespace
}  // namespace fondaris::qt
