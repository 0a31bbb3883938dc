// Drives the real contract view offscreen: customer data → "&Weiter" → contract wishes →
// "Angebot &berechnen", for both variants. The offers and a picture of each view stay in
// build/test-output/ for a look.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSet>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTabWidget>
#include <cstdio>
#include <filesystem>

#include "core/clock.h"
#include "core/dialogs.h"
#include "core/files.h"
#include "core/german.h"
#include "core/settings.h"
#include "core/shell.h"
#include "forms/angebotsdaten/tfrm_angebotsdaten.h"
#include "forms/qt/qt_presenter.h"
#include "forms/qt/views.h"
#include "forms/startmaske/tfrm_startmaske.h"
#include "forms/vermittler/tfrm_vermittler.h"
#include "forms/vertragsdaten/tfrm_vertragsdaten.h"
#include "program/app.h"
#include "tests/support/fixed_clock.h"
#include "tests/support/pdf_tools.h"
#include "tests/support/qt/qt_test_support.h"
#include "tests/support/recording_shell.h"
#include "tests/support/scripted_dialogs.h"
#include "tests/support/test_output.h"

namespace fondaris::qt {
namespace {

namespace fs = std::filesystem;

class ContractView : public ::testing::Test {
 protected:
  void SetUp() override {
    test::application();
    const fs::path build(FONDARIS_BUILD_DIR), work(work_.path());
    for (const char* name : {"Param.dat", "Angebot_VL_2.pdf", "Angebot_ZS_2.pdf"})
      fs::copy_file(build / name, work / name);
    core::setWorkingDirectory(work.string());
    core::notation() = core::Notation::german();
    output_ = work / "ausgabe";
    fs::create_directories(output_);
    ::setenv("TMP", output_.c_str(), 1);
    app_ = std::make_unique<program::App>(program::Services{dialogs_, clock_, shell_}, &presenter_);
    app_->createForms();
    ASSERT_TRUE(addViews(*app_, presenter_).isEmpty());
  }
  void TearDown() override { app_->setPresenter(nullptr); }

  virtual bool vl() const { return false; }
  template <class W>
  W* widget(const forms::Form& form, const char* name) {
    W* w = presenter_.view(form)->findChild<W*>(name);
    EXPECT_NE(w, nullptr) << name;
    return w;
  }
  void typeInto(QWidget* field, const QString& text) {
    field->setFocus(Qt::MouseFocusReason);
    ASSERT_TRUE(test::waitFor([field] { return field->hasFocus(); }));
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(field, text);
    QTest::keyClick(field->window()->windowHandle(), Qt::Key_Tab);
  }

  // Customer data for the chosen variant, then "&Weiter": the contract view, shown.
  QWidget* openContract() {
    auto& customer = *app_->frmAngebotsdaten;
    customer.rbProd.setChecked(vl());
    customer.rbProd1.setChecked(!vl());
    customer.show();
    QWidget* customerView = presenter_.view(customer);
    EXPECT_TRUE(QTest::qWaitForWindowExposed(customerView));
    typeInto(widget<QLineEdit>(customer, "edVN_Vorname"), "Max");
    typeInto(widget<QLineEdit>(customer, "edVN_Nachname"), "Muster");
    QTest::mouseClick(widget<QPushButton>(customer, "sb_Angebotsbrechnung"), Qt::LeftButton);
    QWidget* view = presenter_.view(*app_->frmVertagsdaten);
    EXPECT_TRUE(QTest::qWaitForWindowExposed(view));
    EXPECT_FALSE(customerView->isVisible());
    return view;
  }

  test_support::ProcessSettingsGuard guard_;
  test_support::TempFolder work_{"fondaris_qt"};
  fs::path output_;
  test_support::ScriptedDialogs dialogs_;
  test_support::FixedClock clock_{2026, 12, 5};
  test_support::RecordingShell shell_;
  QtPresenter presenter_;
  std::unique_ptr<program::App> app_;
};

class ContractFlow : public ContractView, public ::testing::WithParamInterface<bool> {
 protected:
  bool vl() const override { return GetParam(); }
};

TEST_P(ContractFlow, CustomerToContractToOffer) {
  auto& contract = *app_->frmVertagsdaten;
  QWidget* view = openContract();
  ASSERT_FALSE(HasFailure());
  EXPECT_EQ(view->windowTitle(), vl() ? "Fondaris VL - Vertragsdaten" : "Fondaris - Vertragsdaten");
  auto* amount = widget<QComboBox>(contract, vl() ? "cb_Beitrag_1" : "cb_Beitrag_2");
  EXPECT_TRUE(amount->isVisible());
  EXPECT_FALSE(widget<QComboBox>(contract, vl() ? "cb_Beitrag_2" : "cb_Beitrag_1")->isVisible());

  // A typed contribution is checked when the field is left, and the figures follow.
  const QString before = widget<QLineEdit>(contract, "med_FW4")->text();
  typeInto(amount, vl() ? "50" : "150");
  EXPECT_EQ(amount->currentText(), vl() ? "50,00" : "150,00");
  const QString after = widget<QLineEdit>(contract, "med_FW4")->text();
  EXPECT_NE(after, before);
  EXPECT_EQ(after.toStdString(), contract.med_FW4.text());

  test::clickIndicator(widget<QRadioButton>(contract, "rb_Fonds2"), true);
  EXPECT_TRUE(contract.rb_Fonds2.checked());
  view->grab().save(QString::fromStdString((output_ / "contract_form.png").string()));

  QTest::mouseClick(widget<QPushButton>(contract, "sb_Angebotsbrechnung"), Qt::LeftButton);
  EXPECT_TRUE(dialogs_.shown().empty()) << dialogs_.shown().front().text;
  ASSERT_EQ(shell_.opened.size(), 1u);
  const std::string pdf = shell_.opened[0];
  EXPECT_EQ(fs::path(pdf).parent_path(), output_);
  ASSERT_TRUE(fs::exists(pdf));
  EXPECT_TRUE(documents::testing_tools::qpdfClean(pdf));

  // Page 1 shows the fund values and loyalty bonuses the form shows, rate by rate.
  const std::string page1 = documents::testing_tools::pdfText(pdf, 1);
  const forms::Edit* values[] = {&contract.med_FW1, &contract.med_FW2, &contract.med_FW3,
                                 &contract.med_FW4};
  const forms::Edit* bonuses[] = {&contract.med_PT1, &contract.med_PT2, &contract.med_PT3,
                                  &contract.med_PT4};
  for (int k = 0; k < 4; ++k) {
    EXPECT_NE(page1.find(values[k]->text() + " EUR"), std::string::npos)
        << values[k]->text() << "\n"
        << page1;
    EXPECT_NE(page1.find(bonuses[k]->text() + " EUR"), std::string::npos) << bonuses[k]->text();
  }
  EXPECT_NE(page1.find("Max Muster"), std::string::npos);
  const std::string look = vl() ? "contract_vl/" : "contract_second/";
  test_support::keepForALook((output_ / "contract_form.png").string(), look + "contract_form.png");
  test_support::keepForALook(pdf, look + fs::path(pdf).filename().string());
}

// The text room of a line edit as its style draws it: the contents rectangle less the text
// margins and the edit's own margin of 2 on each side.
int textRoom(QLineEdit& e) {
  QStyleOptionFrame option;
  option.initFrom(&e);
  option.rect = e.rect();
  option.lineWidth = e.hasFrame() ? e.style()->pixelMetric(QStyle::PM_DefaultFrameWidth) : 0;
  const QRect contents = e.style()->subElementRect(QStyle::SE_LineEditContents, &option, &e);
  return contents.marginsRemoved(e.textMargins()).width() - 2 * 2;
}

// The largest contract the rules allow, the payment at start and the single investment with
// its exchange plan shown: at the form's smallest size every figure shows whole, and the form
// fits a 1366 × 768 laptop with its task bar (720 high, less a title bar).
TEST_P(ContractFlow, EveryFigureShowsWholeAndTheFormFitsALaptop) {
  auto& contract = *app_->frmVertagsdaten;
  QWidget* view = openContract();
  ASSERT_FALSE(HasFailure());
  typeInto(widget<QComboBox>(contract, vl() ? "cb_Beitrag_1" : "cb_Beitrag_2"),
           vl() ? "74" : "5000");
  typeInto(widget<QComboBox>(contract, "cb_Einmal"), "500");
  if (!vl()) {
    for (const char* duration : {"cb_Anlagedauer", "cb_BZD1", "cb_BZD2", "cb_BZD3"})
      if (auto* years = widget<QComboBox>(contract, duration); years->isVisible())
        typeInto(years, "67");
    typeInto(widget<QComboBox>(contract, "cb_Dynamik"), "5,0");
    typeInto(widget<QComboBox>(contract, "medEinmalzahlungZB"), "250000");
    auto* plan = widget<QComboBox>(contract, "cbEinmalStrategie");
    plan->setCurrentIndex(2);
    emit plan->activated(2);
    EXPECT_TRUE(widget<QWidget>(contract, "boxTauschplan")->isVisible());
  }
  QApplication::processEvents();
  view->resize(view->minimumSizeHint());
  QApplication::processEvents();
  EXPECT_LE(view->width(), 1366);
  EXPECT_LE(view->height(), 720 - 30);
  int figures = 0;
  for (QLineEdit* field : view->findChildren<QLineEdit*>()) {
    if (!field->isReadOnly() || !field->isVisible() || field->text().isEmpty()) continue;
    SCOPED_TRACE(field->objectName().toStdString() + " " + field->text().toStdString());
    EXPECT_LE(field->fontMetrics().horizontalAdvance(field->text()), textRoom(*field));
    ++figures;
  }
  EXPECT_GE(figures, vl() ? 9 : 21);
  view->grab().save(QString::fromStdString((output_ / "smallest.png").string()));
  test_support::keepForALook(
      (output_ / "smallest.png").string(),
      std::string(vl() ? "contract_vl/" : "contract_second/") + "smallest_contract_form.png");
}

// Keyboard only: Tab walks through what can be changed and the "<Info>" links (Enter opens one),
// never through the read-only figures; Ctrl+Tab and Ctrl+PageDown turn the pages wherever the
// focus stands, a growth-rate list included, and leave its rate alone.
TEST_F(ContractView, KeyboardReachesWhatCanChangeAndTurnsPages) {
  auto& contract = *app_->frmVertagsdaten;
  QWidget* view = openContract();
  ASSERT_FALSE(HasFailure());
  ASSERT_TRUE(QTest::qWaitForWindowActive(view));
  auto* pages = widget<QTabWidget>(contract, "pcWeitereDaten");
  auto* rate = widget<QComboBox>(contract, "cb_WE1");
  ASSERT_EQ(pages->currentWidget()->objectName().toStdString(), "tsWE");

  int figures = 0;
  for (auto* field : view->findChildren<QLineEdit*>()) {
    if (!field->isReadOnly() || qobject_cast<QComboBox*>(field->parentWidget())) continue;
    SCOPED_TRACE(field->objectName().toStdString());
    EXPECT_FALSE(field->focusPolicy() & Qt::TabFocus);
    EXPECT_TRUE(field->focusPolicy() & Qt::ClickFocus);
    ++figures;
  }
  EXPECT_GE(figures, 21);  // the 20 results and "Anlagebetrag"

  QLabel* link = nullptr;
  QSet<QWidget*> reached;
  rate->setFocus(Qt::TabFocusReason);
  for (int k = 0; k < 300; ++k) {
    QWidget* focus = QApplication::focusWidget();
    reached << focus;
    if (auto* edit = qobject_cast<QLineEdit*>(focus)) {
      EXPECT_FALSE(edit->isReadOnly()) << edit->objectName().toStdString();
    }
    if (auto* label = qobject_cast<QLabel*>(focus)) link = label;
    QTest::keyClick(focus, Qt::Key_Tab);
  }
  ASSERT_NE(link, nullptr) << "no <Info> link on the Tab path";
  EXPECT_TRUE(link->text().contains("Info"));
  link->setFocus(Qt::TabFocusReason);
  const std::size_t before = shell_.opened.size() + dialogs_.shown().size();
  QTest::keyClick(link, Qt::Key_Return);
  EXPECT_EQ(shell_.opened.size() + dialogs_.shown().size(), before + 1);

  const struct {
    QKeyCombination key;
    const char* page;
  } turns[] = {
      {Qt::CTRL | Qt::Key_PageDown, "tsEinzahlungen"},
      {Qt::CTRL | Qt::Key_PageUp, "tsWE"},
      {Qt::CTRL | Qt::Key_Tab, "tsEinzahlungen"},
      {Qt::CTRL | Qt::SHIFT | Qt::Key_Tab, "tsWE"},
  };
  for (const auto& turn : turns) {
    SCOPED_TRACE(QKeySequence(turn.key).toString().toStdString());
    if (pages->currentWidget() == rate->parentWidget() ||
        pages->currentWidget()->isAncestorOf(rate))
      rate->setFocus(Qt::TabFocusReason);
    const std::string rateBefore = rate->currentText().toStdString();
    QTest::keyClick(QApplication::focusWidget(), turn.key.key(), turn.key.keyboardModifiers());
    EXPECT_EQ(pages->currentWidget()->objectName().toStdString(), turn.page);
    EXPECT_EQ(rate->currentText().toStdString(), rateBefore);
  }
}

// "Angebot &berechnen" by its accelerator leaves the focus in the field just typed: the field
// is checked first, as leaving it would, and the offer shows what the form shows afterwards.
TEST_F(ContractView, OfferByAcceleratorIsMadeFromTheCheckedFields) {
  auto& contract = *app_->frmVertagsdaten;
  QWidget* view = openContract();
  ASSERT_FALSE(HasFailure());
  ASSERT_TRUE(QTest::qWaitForWindowActive(view));
  test::clickIndicator(widget<QRadioButton>(contract, "rb_Fonds2"), true);

  struct Case {
    const char* before;  // typed and left with Tab first, or nullptr
    const char* beforeText;
    const char* field;  // typed, then Alt+B at once
    const char* typed;
    bool question;  // answered Yes
    const char* shown;
  };
  const Case cases[] = {
      // Above the limit of a monthly contribution.
      {nullptr, nullptr, "cb_Beitrag_2", "6000", false, "5.000,00"},
      // Below the minimum single investment: asked before the offer, taken as answered.
      {nullptr, nullptr, "medEinmalzahlungZB", "1000", true, "2.500,00"},
      // A new contribution changes the percentage of a payment at the start given as amount.
      {"cb_Einmal", "500", "cb_Beitrag_2", "200", false, "200,00"},
  };
  std::size_t offers = 0, dialogs = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.field) + " " + c.typed);
    if (c.before) typeInto(widget<QComboBox>(contract, c.before), c.beforeText);
    auto* field = widget<QComboBox>(contract, c.field);
    field->setFocus(Qt::MouseFocusReason);
    ASSERT_TRUE(test::waitFor([field] { return field->hasFocus(); }));
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(field, c.typed);
    if (c.question) dialogs_.answerYes();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_B, Qt::AltModifier);
    ASSERT_TRUE(test::waitFor([&] { return shell_.opened.size() == offers + 1; }));
    ++offers;

    const auto& shown = dialogs_.shown();
    ASSERT_EQ(shown.size(), dialogs + (c.question ? 1 : 0));
    if (c.question) {
      EXPECT_EQ(shown.back().caption, "Einmalanlage zu Beginn");
    }
    dialogs = shown.size();
    EXPECT_EQ(field->currentText(), c.shown);
    EXPECT_TRUE(field->hasFocus());

    const std::string page1 = documents::testing_tools::pdfText(shell_.opened.back(), 1);
    auto inOffer = [&page1](const QString& amount) {
      return page1.find(amount.toStdString() + " EUR") != std::string::npos;
    };
    const QString contribution = widget<QComboBox>(contract, "cb_Beitrag_2")->currentText();
    EXPECT_TRUE(inOffer(contribution)) << contribution.toStdString() << "\n" << page1;
    if (contract.cb_Einmal.visible() && core::parseAmount(contract.cb_Einmal.text()) > 0) {
      EXPECT_TRUE(inOffer(widget<QComboBox>(contract, "cb_Einmal")->currentText()));
    }
    // The offer's fund values are those with the payments at the start, when the form shows
    // them apart.
    const bool apart = widget<QLineEdit>(contract, "med_FWM1")->isVisible();
    for (int k = 1; k <= 4; ++k) {
      const QString name = QString(apart ? "med_FWM%1" : "med_FW%1").arg(k);
      const QString value = widget<QLineEdit>(contract, name.toLatin1().constData())->text();
      EXPECT_TRUE(inOffer(value)) << name.toStdString() << " " << value.toStdString() << "\n"
                                  << page1;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(BothVariants, ContractFlow, ::testing::Bool(),
                         [](const auto& testInfo) { return testInfo.param ? "VL" : "Second"; });

}  // namespace
}  // namespace fondaris::qt
