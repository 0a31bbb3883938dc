// Drives the real contract view offscreen: customer data → "&Weiter" → contract wishes →
// "Angebot &berechnen", for both variants. The offers and a picture of each view stay in
// build/test-output/ for a look.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <cstdio>
#include <filesystem>

#include "core/clock.h"
#include "core/dialogs.h"
#include "core/files.h"
#include "core/settings.h"
#include "core/shell.h"
#include "forms/angebotsdaten/tfrm_angebotsdaten.h"
#include "forms/app.h"
#include "forms/qt/qt_presenter.h"
#include "forms/qt/views.h"
#include "forms/startmaske/tfrm_startmaske.h"
#include "forms/vermittler/tfrm_vermittler.h"
#include "forms/vertragsdaten/tfrm_vertragsdaten.h"
#include "tests/support/fixed_clock.h"
#include "tests/support/pdf_tools.h"
#include "tests/support/qt/qt_test_support.h"
#include "tests/support/recording_shell.h"
#include "tests/support/scripted_dialogs.h"
#include "tests/support/test_output.h"

namespace fondaris::qt {
namespace {

namespace fs = std::filesystem;

class ContractFlow : public ::testing::TestWithParam<bool> {
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
    app_ = std::make_unique<forms::App>(forms::Services{dialogs_, clock_, shell_}, &presenter_);
    app_->createForms();
    ASSERT_TRUE(addViews(*app_, presenter_).isEmpty());
  }
  void TearDown() override { app_->setPresenter(nullptr); }

  bool vl() const { return GetParam(); }
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

  test_support::ProcessSettingsGuard guard_;
  test_support::TempFolder work_{"fondaris_qt"};
  fs::path output_;
  test_support::ScriptedDialogs dialogs_;
  test_support::FixedClock clock_{2026, 12, 5};
  test_support::RecordingShell shell_;
  QtPresenter presenter_;
  std::unique_ptr<forms::App> app_;
};

TEST_P(ContractFlow, CustomerToContractToOffer) {
  auto& customer = *app_->frmAngebotsdaten;
  auto& contract = *app_->frmVertagsdaten;
  customer.rbProd.setChecked(vl());
  customer.rbProd1.setChecked(!vl());
  customer.show();
  QWidget* customerView = presenter_.view(customer);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(customerView));
  typeInto(widget<QLineEdit>(customer, "edVN_Vorname"), "Max");
  typeInto(widget<QLineEdit>(customer, "edVN_Nachname"), "Muster");
  QTest::mouseClick(widget<QPushButton>(customer, "sb_Angebotsbrechnung"), Qt::LeftButton);

  QWidget* view = presenter_.view(contract);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(view));
  EXPECT_FALSE(customerView->isVisible());
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

INSTANTIATE_TEST_SUITE_P(BothVariants, ContractFlow, ::testing::Bool(),
                         [](const auto& testInfo) { return testInfo.param ? "VL" : "Second"; });

}  // namespace
}  // namespace fondaris::qt
